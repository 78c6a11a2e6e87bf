// The argument lists of "net use" carried out as the system's own calls,
// through a fake of those calls.
#include "mapping/net_use.h"
#include "platform/network_connections.h"

#include "support/fake_connections.h"

#include <gtest/gtest.h>

namespace {

using Call = ConnectionCall;

// What the store was asked to keep and forget.
class FakeStore final : public CredentialStore {
public:
    explicit FakeStore(std::vector<std::string>& said) : Said(said) {}
    bool Keep(const std::string& server, const std::string& user, const std::string& password) override
    {
        Said.push_back("Keep " + server + " " + user + " " + password);
        return true;
    }
    void Forget(const std::string& server) override { Said.push_back("Forget " + server); }

private:
    std::vector<std::string>& Said;
};

CommandResult RunWith(std::vector<Call>& calls, const std::vector<std::string>& arguments, std::uint32_t answer = 0)
{
    std::vector<std::string> ignored;
    return MakeConnectionRunner(std::make_unique<FakeConnections>(calls, answer), std::make_unique<FakeStore>(ignored))
        ->Run(arguments);
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

TEST(ConnectionRunner, ARememberedConnectionKeepsItsCredentialsUntilTheLastOneToItsServerGoes)
{
    std::vector<Call> calls;
    std::vector<std::string> store;
    auto runner = MakeConnectionRunner(std::make_unique<FakeConnections>(calls, 0), std::make_unique<FakeStore>(store));
    runner->Run(AttachArguments("E: \\\\srv\\a", Credentials{"CORP\\anna", "pw 1"}, true));
    runner->Run(AttachArguments("F: \\\\SRV\\b\\deep", Credentials{"CORP\\anna", "pw 1"}, true));
    // Not remembered, no credentials, or no user: nothing is kept.
    runner->Run(AttachArguments("G: \\\\other\\c", Credentials{"bob", "pw 2"}, false));
    runner->Run(AttachArguments("H: \\\\third\\d", std::nullopt, true));
    runner->Run(AttachArguments("I: \\\\fourth\\e", Credentials{"", "pw 3"}, true));
    EXPECT_EQ(store, (std::vector<std::string>{"Keep srv CORP\\anna pw 1", "Keep SRV CORP\\anna pw 1"}));

    store.clear();
    runner->Run(DetachArguments('E'));
    EXPECT_TRUE(store.empty()) << "F: is still remembered on the server";
    runner->Run(DetachArguments('G'));
    EXPECT_TRUE(store.empty()) << "G: was not remembered: what the user keeps for its server is not ours";
    runner->Run(DetachArguments('F'));
    EXPECT_EQ(store, std::vector<std::string>{"Forget SRV"}) << "no remembered connection is left on it";

    // A failed attach keeps nothing, a failed detach forgets nothing.
    store.clear();
    std::vector<Call> failing;
    auto refused = MakeConnectionRunner(std::make_unique<FakeConnections>(failing, 86), std::make_unique<FakeStore>(store));
    refused->Run(AttachArguments("E: \\\\srv\\a", Credentials{"anna", "wrong"}, true));
    refused->Run(DetachArguments('E'));
    EXPECT_TRUE(store.empty());
}
