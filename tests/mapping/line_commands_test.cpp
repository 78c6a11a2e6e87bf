// What the window and the console program both do with a group line.
#include "mapping/line_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Answers at once for every letter but S, whose server has stalled until let go.
class StalledDrives final : public DriveInventory {
public:
    std::uint32_t PresentDrives() override { return 0; }
    std::int32_t DriveType(char) override { return 0; }
    DriveConnection ConnectionAt(char letter) override
    {
        if (letter == 'S') {
            std::unique_lock lock(Mutex);
            Released.wait(lock, [this] { return LetGo; });
        }
        return {true, std::string("\\\\srv\\") + letter, true};
    }
    std::shared_ptr<void> WatchNetwork(std::function<void()>) override { return nullptr; }

    void Release()
    {
        const std::lock_guard lock(Mutex);
        LetGo = true;
        Released.notify_all();
    }

private:
    std::mutex Mutex;
    std::condition_variable Released;
    bool LetGo = false;
};

} // namespace

TEST(LineCommands, AStalledLetterGetsNothingInTimeAndTheOthersTheirAnswers)
{
    auto drives = std::make_shared<StalledDrives>();
    const auto start = std::chrono::steady_clock::now();
    const auto connections = ConnectionsWithin(drives, {'E', 'S', '\0', 'F'}, std::chrono::milliseconds(200));
    const auto took = std::chrono::steady_clock::now() - start;
    drives->Release();
    ASSERT_EQ(connections.size(), 4u);
    ASSERT_TRUE(connections[0]);
    EXPECT_EQ(connections[0]->RemotePath, "\\\\srv\\E");
    EXPECT_FALSE(connections[1]) << "the stalled letter was waited for";
    EXPECT_FALSE(connections[2]);
    ASSERT_TRUE(connections[3]);
    EXPECT_EQ(connections[3]->RemotePath, "\\\\srv\\F");
    EXPECT_LT(took, std::chrono::seconds(5)) << "the stalled letter held the others back";
}

TEST(LineCommands, OnlyALetterThatAnsweredWithThePathIsAttachedAlready)
{
    const std::string path = "\\\\srv\\pub";
    EXPECT_TRUE(AttachedAlready(path, DriveConnection{true, "\\\\SRV\\Pub", true}));
    EXPECT_FALSE(AttachedAlready(path, DriveConnection{true, path, false}))
        << "a letter whose share has gone (a new login) is attached again";
    EXPECT_FALSE(AttachedAlready(path, std::nullopt)) << "no answer in time says nothing of the letter";
    EXPECT_FALSE(AttachedAlready(path, DriveConnection{}));
    EXPECT_FALSE(AttachedAlready(path, DriveConnection{true, "\\\\srv\\other", true}));
    EXPECT_FALSE(AttachedAlready(path, DriveConnection{true, std::nullopt, true})) << "a disk";
}

TEST(LineCommands, AnAttachRunsTheLinesArgumentsAndNeverShowsThePassword)
{
    std::vector<std::vector<std::string>> calls;
    const auto result = AttachGroupLine("F: \\\\srv\\secret", Credentials{"CORP\\anna", "s3 cret"}, true,
                                        [&](const std::vector<std::string>& arguments) {
                                            calls.push_back(arguments);
                                            return CommandResult{86, "refused s3 cret for CORP\\anna"};
                                        });
    EXPECT_EQ(calls, (std::vector<std::vector<std::string>>{
                         {"net", "use", "F:", "\\\\srv\\secret", "s3 cret", "/USER:CORP\\anna", "/PERSISTENT:YES"}}));
    EXPECT_EQ(result.ExitStatus, 86);
    EXPECT_EQ(result.Output, "(What the command printed held the password and is not shown.)");

    calls.clear();
    const auto never = AttachGroupLine("\\\\srv\\secret", std::nullopt, false, [&](const auto& arguments) {
        calls.push_back(arguments);
        return CommandResult{0, {}};
    });
    EXPECT_TRUE(calls.empty()) << "a line without a letter ran";
    EXPECT_EQ(never.ExitStatus, -1);
    EXPECT_EQ(never.Output, "The line names no drive letter and path; nothing was run.");
}

TEST(LineCommands, OnlyAnUnreachableHostIsWorthAnotherTry)
{
    for (const int status : {53, 170, 1222, 1231, 1232})
        EXPECT_TRUE(HostNotReachedYet("\\\\srv.corp\\pub", status)) << status;
    for (const int status : {0, -1, 2, 67, 85, 86, 1219, 2250})
        EXPECT_FALSE(HostNotReachedYet("\\\\srv\\pub", status)) << status;
    // Waiting mends neither a missing folder nor a name that names no host.
    for (const std::string& path : std::vector<std::string>{"/home/anna/gone", "\\\\bad host\\pub", "\\\\srv", "\\\\srv\\",
                                   "\\\\anna@srv\\pub", "\\\\.srv\\pub", "\\\\a..b\\pub", "\\\\-srv\\pub", "\\\\a/b\\pub",
                                   std::string("\\\\s\0v\\pub", 9), "\\\\" + std::string(256, 'a') + "\\pub"})
        EXPECT_FALSE(HostNotReachedYet(path, 53)) << path;
    EXPECT_TRUE(HostNotReachedYet("\\\\192.168.1.5\\pub\\deep", 53));
    EXPECT_TRUE(HostNotReachedYet("\\\\d\xc3\xa9p\xc3\xb4t\\pub", 53)) << "a name in another script";
}
