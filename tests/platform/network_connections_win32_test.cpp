// The real calls, under the emulator too: whatever the system answers reaches
// the user whole, its status and its own text.
#include "mapping/net_use.h"
#include "platform/system_services.h"

#include <gtest/gtest.h>

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
