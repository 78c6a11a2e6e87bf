// The system's command runner on POSIX, over a recording program in the
// carrier's place.
#include "mapping/net_use.h"
#include "platform/system_services.h"

#include "support/recorded_args.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class CarrierRunner : public ::testing::Test {
protected:
    CarrierRunner() { fs::copy_file(RECORD_ARGS, Dir / "corvane-net"); }

    RecordedArgs Run(const std::vector<std::string>& arguments)
    {
        const auto result = Runner->Run(arguments);
        EXPECT_EQ(result.ExitStatus, static_cast<int>(arguments.size() - 1));
        return ParseRecordedArgs(result.Output);
    }

    TempDir Dir;
    std::unique_ptr<CommandRunner> Runner = MakeSystemCommandRunner(Dir.Path());
};

} // namespace

TEST_F(CarrierRunner, ThePasswordGoesThroughStandardInputAndAStarStandsInItsPlace)
{
    const std::string password = "p a\"ss\\ * word";
    const auto recorded = Run(AttachArguments("E: \\\\srv\\share", Credentials{"CORP\\anna", password}, true));
    EXPECT_EQ(recorded.Arguments,
              (std::vector<std::string>{"use", "E:", "\\\\srv\\share", "*", "/USER:CORP\\anna", "/PERSISTENT:YES"}));
    EXPECT_EQ(recorded.Input, password + "\n");

    // A line end in the password stays inside it: the carrier refuses it rather than cut it there.
    EXPECT_EQ(Run(AttachArguments("E: \\\\srv\\share", Credentials{"u", "two\nlines"}, false)).Input, "two\nlines\n");
    EXPECT_EQ(Run(AttachArguments("E: \\\\srv\\share", Credentials{"u", ""}, false)).Input, "\n");
    EXPECT_EQ(Run({"net", "use", "E:", "\\\\srv\\share", "pw", "/user:u", "/PERSISTENT:NO"}).Arguments[3], "*");
}

TEST_F(CarrierRunner, OtherCommandsGoAsTheyAreWithAnEmptyInput)
{
    for (const auto& arguments : {AttachArguments("E: \\\\srv\\share", std::nullopt, false), DetachArguments('E'),
                                  std::vector<std::string>{"net", "use", "E:", "/USER:x", "pw", "/PERSISTENT:NO"}}) {
        SCOPED_TRACE(JoinArguments(arguments));
        const auto recorded = Run(arguments);
        EXPECT_EQ(recorded.Arguments, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
        EXPECT_EQ(recorded.Input, "");
    }
}

TEST_F(CarrierRunner, ALongPasswordNeitherBlocksNorEndsTheProgram)
{
    const std::string password(1 << 20, 'x');
    EXPECT_EQ(Run(AttachArguments("E: \\\\srv\\share", Credentials{"u", password}, false)).Input, password + "\n");

    // A carrier that ends before it reads: the writer gives up instead of dying
    // of SIGPIPE, and what the carrier said still arrives whole.
    fs::remove(Dir / "corvane-net");
    WriteBytes(Dir / "corvane-net", "#!/bin/sh\necho 'System error 86 has occurred.'\nexit 86\n");
    fs::permissions(Dir / "corvane-net", fs::perms::owner_all);
    const auto result = Runner->Run(AttachArguments("E: \\\\srv\\share", Credentials{"u", password}, false));
    EXPECT_EQ(result.ExitStatus, 86);
    EXPECT_EQ(result.Output, "System error 86 has occurred.\n");
}

TEST_F(CarrierRunner, EveryArgumentArrivesWholeAndUninterpreted)
{
    const auto marker = [&](int n) { return (Dir / ("marker" + std::to_string(n))).string(); };
    const Credentials hostile{"DOMAIN\\user name \"quoted\" & | ^ %PATH% ; $(touch " + marker(1) + ")",
                              "p a\"ss\\\" `touch " + marker(2) + "` ; touch " + marker(3) + " & echo"};
    const std::string path = "\\\\srv\\share with blanks\\\"q\"\\tail\\\\ & touch " + marker(4) + " | %PATH% ^";
    const auto recorded = Run(AttachArguments("E: " + path, hostile, true));
    EXPECT_EQ(recorded.Arguments,
              (std::vector<std::string>{"use", "E:", path, "*", "/USER:" + hostile.UserName, "/PERSISTENT:YES"}));
    EXPECT_EQ(recorded.Input, hostile.Password.Text() + "\n");
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(fs::exists(marker(n))) << "something interpreted the arguments";

    fs::remove(Dir / "corvane-net");
    EXPECT_EQ(Runner->Run(DetachArguments('K')).ExitStatus, -1) << "a carrier that cannot start";
}
