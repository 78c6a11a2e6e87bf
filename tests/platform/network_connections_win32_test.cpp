// The real calls, under the emulator too: whatever the system answers reaches
// the user whole, its status and its own text.
#include "mapping/net_use.h"
#include "platform/network_connections.h"
#include "platform/system_services.h"

#include "support/fake_connections.h"

#include <windows.h>

#include <wincred.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

TEST(Win32NetworkConnections, AFailedAttachGivesTheCallsCodeAndTheSystemsText)
{
    auto runner = MakeSystemCommandRunner({});
    const auto result = runner->Run(AttachArguments("Q: \\\\no-such-host.invalid\\share", Credentials{"u", "secret"}, false));
    EXPECT_GT(result.ExitStatus, 0);
    EXPECT_NE(result.ExitStatus, 87) << "the argument list was not understood";
    EXPECT_FALSE(result.Output.empty());
    EXPECT_EQ(result.Output.find("System error"), std::string::npos) << "the system has no text for its own code: "
                                                                     << result.Output;
    EXPECT_EQ(result.Output.find("secret"), std::string::npos);
    EXPECT_NE(result.Output.back(), '\n');
    const auto detached = runner->Run(DetachArguments('Q'));
    EXPECT_GT(detached.ExitStatus, 0);
    EXPECT_FALSE(detached.Output.empty());
}

namespace {

// What the Credential Manager shows of a server's domain password; its
// password only the system's authentication may read.
struct Kept {
    std::wstring User, Comment;
    DWORD Persist = 0;
    std::uint64_t Written = 0;
    friend bool operator==(const Kept&, const Kept&) = default;
};

std::optional<Kept> KeptFor(const wchar_t* server)
{
    PCREDENTIALW credential = nullptr;
    if (!CredReadW(server, CRED_TYPE_DOMAIN_PASSWORD, 0, &credential))
        return std::nullopt;
    Kept kept{credential->UserName ? credential->UserName : L"", credential->Comment ? credential->Comment : L"",
              credential->Persist,
              (std::uint64_t{credential->LastWritten.dwHighDateTime} << 32) | credential->LastWritten.dwLowDateTime};
    CredFree(credential);
    return kept;
}

const std::wstring OurMark = L"Kept by Corvane for its drive letters that come back at login";

} // namespace

TEST(Win32CredentialStore, OursIsMarkedAndGoesWithTheLastLetterAndTheUsersOwnIsNeverTouched)
{
    // The user's own, as "Remember my credentials" keeps it.
    std::wstring target = L"corvane-test-users", user = L"HOME\\me", secret = L"mine";
    CREDENTIALW own{};
    own.Type = CRED_TYPE_DOMAIN_PASSWORD;
    own.TargetName = target.data();
    own.UserName = user.data();
    own.CredentialBlob = reinterpret_cast<LPBYTE>(secret.data());
    own.CredentialBlobSize = static_cast<DWORD>(secret.size() * sizeof(wchar_t));
    own.Persist = CRED_PERSIST_ENTERPRISE;
    ASSERT_TRUE(CredWriteW(&own, 0));
    const auto users = KeptFor(L"corvane-test-users");
    ASSERT_TRUE(users);

    std::vector<ConnectionCall> calls;
    auto runner = MakeConnectionRunner(std::make_unique<FakeConnections>(calls, 0), MakeSystemCredentialStore());
    const auto attach = [&](const std::string& line, const std::string& name) {
        return runner->Run(AttachArguments(line, Credentials{name, "p\xC5\x81ss w\xE2\x82\xACrd"}, true)).Note;
    };
    EXPECT_EQ(attach("E: \\\\corvane-test-srv\\a", "CORP\\anna"), "");
    EXPECT_EQ(attach("F: \\\\corvane-test-srv\\b", "CORP\\anna"), "") << "ours is written again";
    EXPECT_EQ(attach("G: \\\\corvane-test-bare\\c", "bob"), "");
    EXPECT_EQ(attach("H: \\\\corvane-test-users\\d", "anna"),
              "The password was not kept for the next login: a password for corvane-test-users is kept already, and "
              "it stays as it is.");
    const auto ours = KeptFor(L"corvane-test-srv");
    ASSERT_TRUE(ours);
    EXPECT_EQ(ours->User, L"CORP\\anna");
    EXPECT_EQ(ours->Comment, OurMark);
    EXPECT_EQ(ours->Persist, static_cast<DWORD>(CRED_PERSIST_ENTERPRISE));
    const auto bare = KeptFor(L"corvane-test-bare");
    ASSERT_TRUE(bare) << "a bare user name was refused";
    EXPECT_EQ(bare->User, L"corvane-test-bare\\bob");

    for (const char letter : {'E', 'G', 'H'})
        runner->Run(DetachArguments(letter));
    EXPECT_TRUE(KeptFor(L"corvane-test-srv")) << "F: still needs it";
    EXPECT_FALSE(KeptFor(L"corvane-test-bare"));
    runner->Run(DetachArguments('F'));
    EXPECT_FALSE(KeptFor(L"corvane-test-srv"));
    EXPECT_EQ(KeptFor(L"corvane-test-users"), users) << "the user's own was written over or removed";
    CredDeleteW(L"corvane-test-users", CRED_TYPE_DOMAIN_PASSWORD, 0);
}
