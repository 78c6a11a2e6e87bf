#pragma once

#include "platform/secret.h"
#include "share_mount.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Gives the password when the argument list holds "*" in its place; nothing,
// with the reason in problem, when what it was given is no password.
using PasswordReader = std::function<std::optional<Secret>(std::string& problem)>;

// Carries out one argument list (without the program's name):
//   use X: <path> [<password>|* /USER:<user>] /PERSISTENT:YES|NO
//   use X: /DELETE
//   use
//   restore [--drives <folder>]
// Changes to the drives folder are made one carrier at a time.
CarrierOutcome RunCarrier(const std::vector<std::string>& arguments, const std::filesystem::path& drives,
                          const PasswordReader& readPassword);
