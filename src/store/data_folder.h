#pragma once

#include <filesystem>

// Whether a file can be made in folder (tried, not guessed from modes: the
// superuser and read-only mounts see them differently).
bool CanWriteIn(const std::filesystem::path& folder);

// Where the program's files live: beside the executable whenever that folder
// can be written (the portable case), else in userFolder, which is made and
// seeded once with the files found beside the executable. The executable's
// folder all the same when userFolder is empty or cannot be made.
std::filesystem::path ChooseDataDirectory(const std::filesystem::path& exeDirectory,
                                          const std::filesystem::path& userFolder);

// The folder ChooseDataDirectory would choose, found without making or
// seeding anything: the user's folder only when it exists already (before the
// program's first start there, the files beside the executable are the ones
// it would copy).
std::filesystem::path FindDataDirectory(const std::filesystem::path& exeDirectory,
                                        const std::filesystem::path& userFolder);
