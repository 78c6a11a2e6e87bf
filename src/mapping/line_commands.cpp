#include "line_commands.h"

#include "base/ask_within.h"
#include "base/host_name.h"
#include "mapping/group_line.h"
#include "mapping/line_states.h"
#include "platform/secret.h"

#include <algorithm>
#include <future>

namespace {

void Wipe(std::string& secret)
{
    WipeMemory(secret.data(), secret.size());
    secret.clear();
}

// What the command printed, unless it holds the password it was given. No
// blotting out is safe: a blot in ordinary text shows which letters the
// password has, so such output is left out whole.
std::string Redacted(std::string output, const std::string& password)
{
    if (password.empty() || output.find(password) == std::string::npos)
        return output;
    return "(What the command printed held the password and is not shown.)";
}

} // namespace

CommandResult AttachGroupLine(std::string_view line, std::optional<Credentials> credentials, bool persistent,
                              const RunNetCommand& run)
{
    // A bare "net use" would only list the connections, and succeed.
    if (!HasLetterAndPath(line))
        return {-1, "The line names no drive letter and path; nothing was run."};
    auto arguments = AttachArguments(line, credentials, persistent);
    auto result = run(arguments);
    if (credentials) {
        result.Output = Redacted(std::move(result.Output), credentials->Password.Text());
        result.Note = Redacted(std::move(result.Note), credentials->Password.Text());
        for (auto& argument : arguments)
            Wipe(argument);
    }
    return result;
}

bool NamesHost(std::string_view path)
{
    if (!path.starts_with("\\\\"))
        return false;
    path.remove_prefix(2);
    const auto server = path.substr(0, path.find('\\'));
    // A share must follow it.
    return server.size() + 1 < path.size() && NamesHostText(server);
}

bool HostNotReachedYet(std::string_view path, int status)
{
    if (!NamesHost(path))
        return false;
    switch (status) {
    case 53:    // the network path was not found: no host answered
    case 170:   // the resource is busy: the system asks to try again
    case 1222:  // no network
    case 1231:  // the network location cannot be reached
    case 1232:  // the host cannot be reached
        return true;
    default:
        return false;
    }
}

bool AttachedAlready(std::string_view path, const std::optional<DriveConnection>& connection)
{
    if (!connection)
        return false;
    return StateOfLine(path, connection) == LineState::Attached;
}

std::vector<std::optional<DriveConnection>> ConnectionsWithin(const std::shared_ptr<DriveInventory>& drives,
                                                              const std::vector<char>& letters,
                                                              std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::vector<std::future<DriveConnection>> answers;
    for (const char letter : letters) {
        if (letter == '\0') {
            answers.emplace_back();
            continue;
        }
        answers.push_back(AskOffThread([drives, letter] { return drives->ConnectionAt(letter); }));
    }
    std::vector<std::optional<DriveConnection>> connections;
    for (auto& answer : answers) {
        if (answer.valid() && answer.wait_until(deadline) == std::future_status::ready)
            connections.emplace_back(answer.get());
        else
            connections.emplace_back();
    }
    return connections;
}
