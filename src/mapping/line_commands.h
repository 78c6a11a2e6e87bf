#pragma once

#include "mapping/net_use.h"
#include "platform/platform.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Runs one "net use" argument list: the window runs it beside its event
// loop, the console program straight through the runner.
using RunNetCommand = std::function<CommandResult(const std::vector<std::string>&)>;

// Attaches a group line's path to its letter, with the user's credentials when
// given and "Restore at next login..." as persistent. A line without a letter
// and a path is not run and fails. The password is wiped from the arguments
// afterwards, as the credentials wipe their own when they go, and never
// stands in the outcome's output.
CommandResult AttachGroupLine(std::string_view line, std::optional<Credentials> credentials, bool persistent,
                              const RunNetCommand& run);

// Whether a line's path stands at its letter already, so that attaching it
// again has nothing to do: only a letter that answered, from a folder that
// answers, with this path. One whose share has gone (a new login, a server
// restart) is attached again; one that gave no answer in time may hold
// anything, or nothing.
bool AttachedAlready(std::string_view path, const std::optional<DriveConnection>& connection);

// Whether an attach of path that ended with status may work later, its host
// not reachable yet: a network or VPN still coming up. Only a network path
// whose server part can name a host can come back by waiting.
bool HostNotReachedYet(std::string_view path, int status);

// Whether the server part of a \\server\share path can name a host: a host
// name or address, or a name in another script; never blanks, slashes, a
// user part or a NUL.
bool NamesHost(std::string_view path);

// What stands at each letter, all asked at once on threads of their own; a
// letter that gives no answer within limit (a stalled server) is left behind
// and gets nothing, as does a 0 among the letters.
std::vector<std::optional<DriveConnection>> ConnectionsWithin(const std::shared_ptr<DriveInventory>& drives,
                                                              const std::vector<char>& letters,
                                                              std::chrono::milliseconds limit);
