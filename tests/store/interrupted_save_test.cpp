// A save killed at any moment leaves the old file or the new one, never a mix.
#include "store/atomic_file.h"
#include "store/catalogue_file.h"

#include "support/temp_dir.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

namespace {

std::string LargeCatalogue(const std::string& server)
{
    AvailablePathVector list;
    for (int i = 0; i < 100000; ++i)
        list.push_back({"\\\\" + server + "\\share" + std::to_string(i), "Share number " + std::to_string(i),
                        static_cast<std::uint8_t>(i % 2)});
    return FormatCatalogue(list);
}

} // namespace

TEST(InterruptedSave, AKilledSaveLeavesTheOldOrTheNewCatalogueWhole)
{
    TempDir dir;
    const auto path = dir / "Corvane2.net";
    const auto older = LargeCatalogue("old");
    const auto newer = LargeCatalogue("newer-server");
    WriteBytes(path, older);

    std::mt19937 random(2024);
    std::uniform_int_distribution<int> moment(0, 20000);
    int sawOld = 0;
    int sawNew = 0;
    for (int round = 0; round < 200; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the two catalogues by turns until it is killed.
            for (;;) {
                SaveFileAtomically(path, newer);
                SaveFileAtomically(path, older);
            }
        }
        usleep(static_cast<useconds_t>(moment(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        const auto found = ReadBytes(path);
        ASSERT_TRUE(found == older || found == newer) << "a mixture after round " << round;
        (found == older ? sawOld : sawNew) += 1;
    }
    EXPECT_GT(sawNew, 0) << "no save ever finished: the kills came too early to test anything";

    // A temporary file a killed save left behind is no obstacle to the next one.
    ASSERT_TRUE(SaveFileAtomically(path, newer));
    EXPECT_EQ(ReadBytes(path), newer);
    EXPECT_FALSE(std::filesystem::exists(TemporaryFileFor(path)));
}
