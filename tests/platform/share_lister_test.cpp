// The lister over the system's share enumeration (Windows' NetShareEnum at
// level 1), through fakes: what is offered, and the login's connection to IPC$.
#include "platform/share_lister.h"

#include "support/fake_connections.h"

#include <gtest/gtest.h>

namespace {

class FakeEnumeration final : public ShareEnumeration {
public:
    FakeEnumeration(std::vector<ConnectionCall>& calls, std::uint32_t status, std::vector<Entry> entries)
        : Calls(calls), Status(status), Entries(std::move(entries))
    {
    }
    std::uint32_t Enumerate(const std::string& server, std::vector<Entry>& entries) override
    {
        Calls.push_back({"Enumerate", {}, server, {}, {}, 0, false});
        entries = Entries;
        return Status;
    }
    std::string ErrorText(std::uint32_t code) override { return "text of " + std::to_string(code); }

private:
    std::vector<ConnectionCall>& Calls;
    std::uint32_t Status;
    std::vector<Entry> Entries;
};

struct Case {
    const char* What;
    std::string Server;
    std::optional<ShareLogin> Login;
    std::uint32_t Enumerated, Connected;
    int Status;
    bool LoginNeeded;
    std::vector<std::string> Calls;
};

} // namespace

TEST(EnumeratingShareLister, OffersDiskSharesOnlyAndConnectsALoginToIpcForTheListOnly)
{
    using E = ShareEnumeration;
    const std::vector<E::Entry> entries{
        {"Public", E::DiskTree},           {"C$", E::DiskTree | E::Special},   {"IPC$", 3 | E::Special},
        {"Printer", 1},                    {"Team", E::DiskTree | 0x40000000u}, {std::nullopt, E::DiskTree},
        {"hidden$", E::DiskTree},          {std::string(300, 'x'), E::DiskTree}};
    const std::vector<Case> cases{
        {"a guest", "srv", std::nullopt, 0, 0, 0, false, {"Enumerate"}},
        {"a refusal to a guest", "srv", std::nullopt, 5, 0, 5, true, {"Enumerate"}},
        {"a login", "srv", ShareLogin{"CORP\\anna", Secret("p w")}, 0, 0, 0, false, {"Add", "Enumerate", "Cancel"}},
        {"a refused login", "srv", ShareLogin{"anna", Secret("bad")}, 0, 1326, 1326, false, {"Add"}},
        {"a refusal after a login", "srv", ShareLogin{"anna", Secret("pw")}, 5, 0, 5, false, {"Add", "Enumerate", "Cancel"}},
        {"no host name", "bad host", std::nullopt, 0, 0, 53, false, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.What);
        std::vector<ConnectionCall> calls;
        const auto lister = MakeEnumeratingShareLister(std::make_unique<FakeEnumeration>(calls, test.Enumerated, entries),
                                                       std::make_unique<FakeConnections>(calls, test.Connected));
        const auto list = lister->List(test.Server, test.Login);
        EXPECT_EQ(list.Status, test.Status);
        EXPECT_EQ(list.LoginNeeded, test.LoginNeeded);
        const std::vector<std::string> offered{"Public", "Team"};
        EXPECT_EQ(list.Names, test.Status == 0 ? offered : std::vector<std::string>());
        if (test.Status != 0) {
            EXPECT_EQ(list.Reason, "text of " + std::to_string(test.Status));
        }
        std::vector<std::string> functions;
        for (const auto& call : calls)
            functions.push_back(call.Function);
        EXPECT_EQ(functions, test.Calls);
        if (test.Login && !calls.empty()) {
            EXPECT_EQ(calls.front(), (ConnectionCall{"Add", "", "\\\\srv\\IPC$", test.Login->User, test.Login->Password.Text(), 0, false}));
            if (calls.size() == 3) {
                EXPECT_EQ(calls.back(), (ConnectionCall{"Cancel", "\\\\srv\\IPC$", {}, {}, {}, 0, true}));
            }
        }
    }
}
