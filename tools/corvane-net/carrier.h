#pragma once

#include "share_mount.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Gives the password when the argument list holds "*" in its place.
using PasswordReader = std::function<std::string()>;

// Carries out one argument list (without the program's name):
//   use X: <path> [<password>|* /USER:<user>] /PERSISTENT:YES|NO
//   use X: /DELETE
//   use
//   restore
CarrierOutcome RunCarrier(const std::vector<std::string>& arguments, const std::filesystem::path& drives,
                          const PasswordReader& readPassword);
