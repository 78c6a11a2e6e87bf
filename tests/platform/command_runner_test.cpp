#include "mapping/net_use.h"
#include "platform/system_services.h"

#include "support/recorded_args.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> WithoutProgramName(const std::vector<std::string>& arguments)
{
    return {arguments.begin() + 1, arguments.end()};
}

} // namespace

TEST(CommandRunner, EveryArgumentArrivesWholeAndUninterpreted)
{
    TempDir dir;
    const auto marker = [&](int n) { return (dir / ("marker" + std::to_string(n))).string(); };
    const Credentials hostile{"DOMAIN\\user name \"quoted\" & | ^ %PATH% ; $(touch " + marker(1) + ")",
                              "p a\"ss\\\" `touch " + marker(2) + "` ; touch " + marker(3) + " & echo\nline"};
    const std::string path = "\\\\srv\\share with blanks\\\"q\"\\tail\\\\ & touch " + marker(4) + " | %PATH% ^";
    const auto arguments = AttachArguments("E: " + path, hostile, true);

    auto runner = MakeProgramRunner(RECORD_ARGS);
    const auto result = runner->Run(arguments);
    const auto recorded = ParseRecordedArgs(result.Output);
    EXPECT_EQ(recorded.Arguments, WithoutProgramName(arguments));
    EXPECT_EQ(recorded.Input, "") << "the command's standard input is not empty";
    EXPECT_EQ(result.ExitStatus, static_cast<int>(arguments.size() - 1));
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(std::filesystem::exists(marker(n))) << "something interpreted the arguments";
}

TEST(CommandRunner, EmptyArgumentsStayArguments)
{
    auto runner = MakeProgramRunner(RECORD_ARGS);
    const auto arguments = AttachArguments("G: \\\\srv\\pub", Credentials{}, false);
    const auto recorded = ParseRecordedArgs(runner->Run(arguments).Output);
    EXPECT_EQ(recorded.Arguments, (std::vector<std::string>{"use", "G:", "\\\\srv\\pub", "", "/USER:",
                                                            "/PERSISTENT:NO"}));
}

TEST(CommandRunner, AProgramThatCannotStartGivesMinusOne)
{
    TempDir dir;
    auto runner = MakeProgramRunner(dir / "no-such-program");
    const auto result = runner->Run(DetachArguments('K'));
    EXPECT_EQ(result.ExitStatus, -1);
}
