#pragma once

#include "platform/network_connections.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

// One call of the system's connection functions, as a fake saw it.
struct ConnectionCall {
    std::string Function, Local, Remote;
    std::optional<std::string> User, Password;
    std::uint32_t Flags = 0;
    bool Force = false;
    friend bool operator==(const ConnectionCall&, const ConnectionCall&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ConnectionCall& call)
    {
        return out << call.Function << "(" << call.Local << ", " << call.Remote << ", " << call.User.value_or("<none>")
                   << ", " << call.Password.value_or("<none>") << ", " << call.Flags << ", " << call.Force << ")";
    }
};

// Answers every call with Answer, and keeps the connections the calls made
// (those with UpdateProfile as remembered) as the system would. A letter
// remembered but not attached is one whose server did not answer at login.
class FakeConnections final : public NetworkConnections {
public:
    FakeConnections(std::vector<ConnectionCall>& calls, std::uint32_t answer) : Calls(calls), Answer(answer) {}

    std::uint32_t Add(const std::string& local, const std::string& remote, const std::optional<std::string>& user,
                      const std::optional<std::string>& password, std::uint32_t flags) override
    {
        Calls.push_back({"Add", local, remote, user, password, flags, false});
        if (Remembered.contains(local) && !Attached.contains(local))
            return 1202;  // ERROR_DEVICE_ALREADY_REMEMBERED, whatever the path
        if (Answer == 0) {
            Attached[local] = remote;
            if (flags & UpdateProfile)
                Remembered[local] = remote;
        }
        return Answer;
    }
    std::uint32_t Cancel(const std::string& local, std::uint32_t flags, bool force) override
    {
        Calls.push_back({"Cancel", local, {}, {}, {}, flags, force});
        if (Answer == 0) {
            Attached.erase(local);
            if (flags & UpdateProfile)
                Remembered.erase(local);
        }
        return Answer;
    }
    std::string ErrorText(std::uint32_t code) override { return "text of " + std::to_string(code); }
    std::optional<std::string> RemoteOf(const std::string& local) override
    {
        for (const auto* connections : {&Attached, &Remembered}) {
            if (const auto found = connections->find(local); found != connections->end())
                return found->second;
        }
        return std::nullopt;
    }
    std::vector<std::pair<std::string, std::string>> RememberedConnections() override
    {
        return {Remembered.begin(), Remembered.end()};
    }

    std::map<std::string, std::string> Attached, Remembered;

private:
    std::vector<ConnectionCall>& Calls;
    std::uint32_t Answer;
};
