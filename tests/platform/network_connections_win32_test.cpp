// The real calls, under the emulator too: whatever the system answers reaches
// the user whole, its status and its own text.
#include "mapping/net_use.h"
#include "platform/network_connections.h"
#include "platform/system_services.h"

#include "support/fake_connections.h"

#include <windows.h>

#include <wincred.h>

#include <gtest/gtest.h>

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

// What the Credential Manager holds for a server, read back as the system's reconnection reads it.
struct Kept {
    std::wstring User, Password;
    DWORD Persist = 0;
};

std::optional<Kept> KeptFor(const wchar_t* server)
{
    PCREDENTIALW credential = nullptr;
    if (!CredReadW(server, CRED_TYPE_DOMAIN_PASSWORD, 0, &credential))
        return std::nullopt;
    Kept kept{credential->UserName ? credential->UserName : L"",
              std::wstring(reinterpret_cast<const wchar_t*>(credential->CredentialBlob),
                           credential->CredentialBlobSize / sizeof(wchar_t)),
              credential->Persist};
    CredFree(credential);
    return kept;
}

} // namespace

TEST(Win32CredentialStore, ARememberedAttachKeepsItsDomainPasswordUntilTheLastOneGoes)
{
    std::vector<ConnectionCall> calls;
    auto runner = MakeConnectionRunner(std::make_unique<FakeConnections>(calls, 0), MakeSystemCredentialStore());
    runner->Run(AttachArguments("E: \\\\corvane-test-srv\\a", Credentials{"CORP\\anna", "p\xE4ss word"}, true));
    runner->Run(AttachArguments("F: \\\\corvane-test-srv\\b", Credentials{"CORP\\anna", "p\xE4ss word"}, true));
    runner->Run(AttachArguments("G: \\\\corvane-test-other\\c", Credentials{"bob", "pw"}, false));
    const auto kept = KeptFor(L"corvane-test-srv");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->User, L"CORP\\anna");
    EXPECT_EQ(kept->Password, L"p\u00E4ss word");
    EXPECT_EQ(kept->Persist, static_cast<DWORD>(CRED_PERSIST_ENTERPRISE));
    EXPECT_FALSE(KeptFor(L"corvane-test-other")) << "kept for a connection not remembered";

    runner->Run(DetachArguments('E'));
    EXPECT_TRUE(KeptFor(L"corvane-test-srv")) << "F: still needs it";
    runner->Run(DetachArguments('F'));
    EXPECT_FALSE(KeptFor(L"corvane-test-srv"));
}
