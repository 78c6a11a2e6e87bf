#pragma once

#include "platform/platform.h"
#include "platform/secret.h"
#include "platform/share_lister.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the console program needs of the system; main() wires the real ones.
struct ConsoleServices {
    std::shared_ptr<DriveInventory> Drives;
    CommandRunner& Runner;
    // Where the stored files are read from; nothing is ever written there.
    std::filesystem::path DataDirectory;
    // Whether somebody can be asked at a terminal.
    std::function<bool()> CanAsk;
    std::function<std::optional<std::string>(std::string_view prompt)> AskUser;
    std::function<std::optional<Secret>(std::string_view prompt, std::string& problem)> ReadPassword;
    std::function<void(std::chrono::milliseconds)> Pause;
    std::FILE* Out = stdout;
    std::FILE* Err = stderr;
    // Asks a server for its shares.
    std::shared_ptr<ShareLister> Shares;
};

// Exit statuses: every letter asked for ended as asked, one did not, or the
// command line was wrong (and nothing was run).
inline constexpr int ExitDone = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// Runs the command line after the program's name.
int RunConsole(const std::vector<std::string>& arguments, ConsoleServices& services);
