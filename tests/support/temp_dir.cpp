#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

TempDir::TempDir()
{
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        Root = base / ("corvane-test-" + std::to_string(seed()));
        if (std::filesystem::create_directory(Root))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::permissions(Root, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(Root, error);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(stream.good()) << "could not write " << path;
}

std::string ReadBytes(const std::filesystem::path& path)
{
    // In one piece: a character at a time takes minutes for the large files
    // of some tests in a build without optimisation.
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    return std::move(bytes).str();
}
