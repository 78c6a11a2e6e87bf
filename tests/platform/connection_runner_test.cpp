// The argument lists of "net use" carried out as the system's own calls,
// through a fake of those calls.
#include "mapping/net_use.h"
#include "platform/network_connections.h"

#include <gtest/gtest.h>

namespace {

struct Call {
    std::string Function, Local, Remote;
    std::optional<std::string> User, Password;
    std::uint32_t Flags = 0;
    bool Force = false;
    friend bool operator==(const Call&, const Call&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Call& call)
    {
        return out << call.Function << "(" << call.Local << ", " << call.Remote << ", " << call.User.value_or("<none>")
                   << ", " << call.Password.value_or("<none>") << ", " << call.Flags << ", " << call.Force << ")";
    }
};

class FakeConnections final : public NetworkConnections {
public:
    explicit FakeConnections(std::vector<Call>& calls, std::uint32_t answer) : Calls(calls), Answer(answer) {}

    std::uint32_t Add(const std::string& local, const std::string& remote, const std::optional<std::string>& user,
                      const std::optional<std::string>& password, std::uint32_t flags) override
    {
        Calls.push_back({"Add", local, remote, user, password, flags, false});
        return Answer;
    }
    std::uint32_t Cancel(const std::string& local, std::uint32_t flags, bool force) override
    {
        Calls.push_back({"Cancel", local, {}, {}, {}, flags, force});
        return Answer;
    }
    std::string ErrorText(std::uint32_t code) override { return "text of " + std::to_string(code); }

private:
    std::vector<Call>& Calls;
    std::uint32_t Answer;
};

CommandResult RunWith(std::vector<Call>& calls, const std::vector<std::string>& arguments, std::uint32_t answer = 0)
{
    return MakeConnectionRunner(std::make_unique<FakeConnections>(calls, answer))->Run(arguments);
}

} // namespace

TEST(ConnectionRunner, AttachAndDetachAreTheSystemsCallsWithTheirExactParameters)
{
    std::vector<Call> calls;
    EXPECT_EQ(RunWith(calls, AttachArguments("E: \\\\srv\\my share", std::nullopt, false)).ExitStatus, 0);
    EXPECT_EQ(RunWith(calls, AttachArguments("F: \\\\srv\\s", Credentials{"CORP\\anna", "p a\"ss & %x%"}, true)).ExitStatus, 0);
    EXPECT_EQ(RunWith(calls, AttachArguments("G: \\\\srv\\s", Credentials{"anna", ""}, false)).ExitStatus, 0);
    EXPECT_EQ(RunWith(calls, AttachArguments("H: \\\\srv\\s", Credentials{"", "pw"}, false)).ExitStatus, 0);
    EXPECT_EQ(RunWith(calls, DetachArguments('E')).ExitStatus, 0);
    const std::vector<Call> expected{
        {"Add", "E:", "\\\\srv\\my share", std::nullopt, std::nullopt, 0, false},
        {"Add", "F:", "\\\\srv\\s", "CORP\\anna", "p a\"ss & %x%", NetworkConnections::UpdateProfile, false},
        // An empty password is one; no user name is the user's own.
        {"Add", "G:", "\\\\srv\\s", "anna", "", 0, false},
        {"Add", "H:", "\\\\srv\\s", std::nullopt, "pw", 0, false},
        {"Cancel", "E:", {}, {}, {}, NetworkConnections::UpdateProfile, false},
    };
    EXPECT_EQ(calls, expected);
}

TEST(ConnectionRunner, AFailureIsTheCallsCodeWithTheSystemsText)
{
    std::vector<Call> calls;
    for (const std::uint32_t code : {53u, 67u, 85u, 86u, 1219u, 2250u}) {
        SCOPED_TRACE(code);
        const auto attached = RunWith(calls, AttachArguments("E: \\\\srv\\s", Credentials{"u", "pw"}, false), code);
        EXPECT_EQ(attached.ExitStatus, static_cast<int>(code));
        EXPECT_EQ(attached.Output, "text of " + std::to_string(code));
        EXPECT_EQ(attached.Output.find("pw"), std::string::npos);
        const auto detached = RunWith(calls, DetachArguments('E'), code);
        EXPECT_EQ(detached.ExitStatus, static_cast<int>(code));
        EXPECT_EQ(detached.Output, "text of " + std::to_string(code));
    }
    EXPECT_EQ(RunWith(calls, AttachArguments("E: \\\\srv\\s", std::nullopt, false)).Output, "") << "success says nothing";
}

TEST(ConnectionRunner, AnythingElseIsAnInvalidParameterAndCallsNothing)
{
    std::vector<Call> calls;
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"net"},
             {"net", "use"},
             {"net", "view", "E:", "/DELETE"},
             {"net", "use", "E:", "\\\\srv\\s", "/PERSISTENT:MAYBE"},
             {"net", "use", "E:", "\\\\srv\\s", "pw", "USER:x", "/PERSISTENT:NO"},
             {"net", "use", "E:", "\\\\srv\\s", "pw", "/PERSISTENT:NO"}}) {
        const auto result = RunWith(calls, arguments);
        EXPECT_EQ(result.ExitStatus, 87);
        EXPECT_EQ(result.Output, "text of 87");
    }
    EXPECT_TRUE(calls.empty());
}
