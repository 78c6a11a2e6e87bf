#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>

// The steps of a safe save, apart so that a test can make any of them fail.
class SaveSteps {
public:
    virtual ~SaveSteps() = default;

    virtual bool Create(const std::filesystem::path& temporary);
    virtual bool Write(std::string_view bytes);
    // Pushes the bytes out and closes the temporary file.
    virtual bool Flush();
    virtual bool Rename(const std::filesystem::path& temporary, const std::filesystem::path& target);
    virtual void Discard(const std::filesystem::path& temporary);

private:
    std::ofstream Stream;
};

// The temporary file a save of target goes through, in target's directory.
std::filesystem::path TemporaryFileFor(const std::filesystem::path& target);

// Writes bytes to target through a temporary file renamed over it, so that
// target holds either its old bytes or all the new ones. On failure target is
// as it was, the temporary file is gone, and the result is false.
bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes);
bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes, SaveSteps& steps);
