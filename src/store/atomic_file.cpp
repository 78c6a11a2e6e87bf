#include "atomic_file.h"

#include <system_error>

bool SaveSteps::Create(const std::filesystem::path& temporary)
{
    Stream.open(temporary, std::ios::binary | std::ios::trunc);
    return Stream.is_open();
}

bool SaveSteps::Write(std::string_view bytes)
{
    Stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Stream.good();
}

bool SaveSteps::Flush()
{
    Stream.flush();
    const bool flushed = Stream.good();
    Stream.close();
    return flushed && !Stream.fail();
}

bool SaveSteps::Rename(const std::filesystem::path& temporary, const std::filesystem::path& target)
{
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    return !error;
}

void SaveSteps::Discard(const std::filesystem::path& temporary)
{
    if (Stream.is_open())
        Stream.close();
    std::error_code error;
    std::filesystem::remove(temporary, error);
}

std::filesystem::path TemporaryFileFor(const std::filesystem::path& target)
{
    auto temporary = target;
    temporary += ".tmp";
    return temporary;
}

bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes)
{
    SaveSteps steps;
    return SaveFileAtomically(target, bytes, steps);
}

bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes, SaveSteps& steps)
{
    // A directory in target's place would take the rename as a move into it.
    std::error_code error;
    if (std::filesystem::is_directory(target, error))
        return false;

    const auto temporary = TemporaryFileFor(target);
    if (steps.Create(temporary) && steps.Write(bytes) && steps.Flush()
        && steps.Rename(temporary, target)) {
        return true;
    }
    steps.Discard(temporary);
    return false;
}
