#include "data_folder.h"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// What a first start in the user's folder takes from beside the executable.
void Seed(const fs::path& from, const fs::path& to)
{
    std::error_code ignored;
    for (const auto* name : {"Corvane2.net", "Corvane2.cfg", "Corvane2.pro", "Corvane2.hlp"}) {
        if (fs::is_regular_file(from / name, ignored))
            fs::copy_file(from / name, to / name, fs::copy_options::skip_existing, ignored);
    }
    if (fs::is_directory(from / "Profile", ignored))
        fs::copy(from / "Profile", to / "Profile", fs::copy_options::recursive | fs::copy_options::skip_existing,
                 ignored);
}

} // namespace

bool CanWriteIn(const fs::path& folder)
{
    const auto probe = folder / (".Corvane2-write-test-" + std::to_string(std::random_device()()));
    bool written = false;
    {
        std::ofstream file(probe, std::ios::binary);
        written = file.good();
    }
    std::error_code ignored;
    fs::remove(probe, ignored);
    return written;
}

fs::path ChooseDataDirectory(const fs::path& exeDirectory, const fs::path& userFolder)
{
    if (CanWriteIn(exeDirectory) || userFolder.empty())
        return exeDirectory;
    std::error_code error;
    if (fs::is_directory(userFolder, error))
        return userFolder;
    if (!fs::create_directories(userFolder, error) || error)
        return exeDirectory;
    Seed(exeDirectory, userFolder);
    return userFolder;
}

fs::path FindDataDirectory(const fs::path& exeDirectory, const fs::path& userFolder)
{
    std::error_code error;
    if (userFolder.empty() || CanWriteIn(exeDirectory) || !fs::is_directory(userFolder, error))
        return exeDirectory;
    return userFolder;
}
