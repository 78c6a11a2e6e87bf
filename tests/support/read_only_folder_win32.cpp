#include "support/read_only_folder.h"

// Windows mounts no folder over itself, and an access list that denies
// writing binds nobody under Wine: the tests that need one say so and skip.
ReadOnlyFolder::ReadOnlyFolder(const std::filesystem::path& folder) : Folder(folder)
{
    Why = "Windows has no read-only mount of a folder over itself";
}

ReadOnlyFolder::~ReadOnlyFolder() = default;
