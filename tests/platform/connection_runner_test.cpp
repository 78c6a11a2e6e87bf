// The argument lists of "net use" carried out as the system's own calls,
// through a fake of those calls.
#include "mapping/net_use.h"
#include "platform/network_connections.h"

#include "support/fake_connections.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Call = ConnectionCall;

// What the store was asked to keep and forget; it keeps for the servers in
// Keepers, and refuses with Refusal.
class FakeStore final : public CredentialStore {
public:
    explicit FakeStore(std::vector<std::string>& said, std::map<std::string, Keeper> keepers = {}, std::uint32_t refusal = 0)
        : Said(said), Keepers(std::move(keepers)), Refusal(refusal)
    {
    }
    Keeper KeeperOf(const std::string& server) override
    {
        const auto found = Keepers.find(server);
        return found == Keepers.end() ? Keeper::Nobody : found->second;
    }
    std::uint32_t Keep(const std::string& server, const std::string& user, const std::string& password) override
    {
        Said.push_back("Keep " + server + " " + user + " " + password);
        return Refusal;
    }
    void Forget(const std::string& server) override { Said.push_back("Forget " + server); }

private:
    std::vector<std::string>& Said;
    std::map<std::string, Keeper> Keepers;
    std::uint32_t Refusal;
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
    runner->Run(AttachArguments("F: \\\\SRV\\b\\deep", Credentials{"anna@corp.example", "pw 1"}, true));
    // Not remembered, no credentials, or no user: nothing is kept.
    runner->Run(AttachArguments("G: \\\\other\\c", Credentials{"bob", "pw 2"}, false));
    runner->Run(AttachArguments("H: \\\\third\\d", std::nullopt, true));
    runner->Run(AttachArguments("I: \\\\fourth\\e", Credentials{"", "pw 3"}, true));
    EXPECT_EQ(store, (std::vector<std::string>{"Keep srv CORP\\anna pw 1", "Keep SRV anna@corp.example pw 1"}));

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

TEST(ConnectionRunner, APasswordThatCannotBeKeptLeavesTheLetterAttachedAndSaysWhy)
{
    using Keeper = CredentialStore::Keeper;
    const std::string notKept = "The password was not kept for the next login: ";
    struct Case {
        std::map<std::string, Keeper> Keepers;
        std::uint32_t Refusal;
        std::string User, Kept, Note;
    };
    for (const auto& [keepers, refusal, user, kept, note] : std::vector<Case>{
             // A bare name is the account on that server.
             {{}, 0, "anna", "Keep srv srv\\anna pw", ""},
             {{{"srv", Keeper::Us}}, 0, "anna", "Keep srv srv\\anna pw", ""},
             {{{"srv", Keeper::Someone}}, 0, "CORP\\anna", "",
              notKept + "a password for srv is kept already, and it stays as it is."},
             {{}, 1312, "CORP\\anna", "Keep srv CORP\\anna pw", notKept + "text of 1312"},
         }) {
        SCOPED_TRACE(user + " " + note);
        std::vector<Call> calls;
        std::vector<std::string> said;
        const auto result = MakeConnectionRunner(std::make_unique<FakeConnections>(calls, 0),
                                                 std::make_unique<FakeStore>(said, keepers, refusal))
                                ->Run(AttachArguments("E: \\\\srv\\a", Credentials{user, "pw"}, true));
        EXPECT_EQ(result.ExitStatus, 0);
        EXPECT_EQ(result.Output, "");
        EXPECT_EQ(result.Note, note);
        EXPECT_EQ(said, kept.empty() ? std::vector<std::string>{} : std::vector<std::string>{kept});
    }
}

TEST(ConnectionRunner, ALetterRememberedForAServerThatDidNotAnswerIsTakenDetachedWithItsEntryAndReconnected)
{
    std::vector<Call> calls;
    std::vector<std::string> store;
    auto connections = std::make_unique<FakeConnections>(calls, 0);
    auto& system = *connections;
    system.Remembered["E:"] = "\\\\srv\\a";
    auto runner = MakeConnectionRunner(std::move(connections), std::make_unique<FakeStore>(store));

    EXPECT_EQ(runner->Run(AttachArguments("E: \\\\srv\\other", std::nullopt, false)).ExitStatus, 1202);
    EXPECT_EQ(runner->Run(AttachArguments("E: \\\\SRV\\A", std::nullopt, true)).ExitStatus, 0);
    EXPECT_EQ(calls, (std::vector<Call>{
                         {"Add", "E:", "\\\\srv\\other", std::nullopt, std::nullopt, 0, false},
                         {"Add", "E:", "\\\\SRV\\A", std::nullopt, std::nullopt, NetworkConnections::UpdateProfile, false},
                         {"Cancel", "E:", {}, {}, {}, NetworkConnections::UpdateProfile, false},
                         {"Add", "E:", "\\\\SRV\\A", std::nullopt, std::nullopt, NetworkConnections::UpdateProfile, false},
                     }));

    // Unanswered again, and detached: its entry goes, and the store is told.
    system.Attached.clear();
    EXPECT_EQ(runner->Run(DetachArguments('E')).ExitStatus, 0);
    EXPECT_TRUE(system.Remembered.empty());
    EXPECT_EQ(store, std::vector<std::string>{"Forget SRV"});
}
