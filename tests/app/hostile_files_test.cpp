// The real main window started on stored files that no writer of ours makes.
#include "support/allocation_watch.h"
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <random>

namespace {

class HostileFiles : public MainWindowTest {
protected:
    // Starts and shows the window, noting the largest allocation made while
    // the files were read.
    std::unique_ptr<TMainPRGForm> StartWatched()
    {
        AllocationWatch watch;
        auto form = Start();
        LargestAllocation = watch.Largest();
        form->show();
        return form;
    }

    std::size_t LargestAllocation = 0;
};

const std::string Corrupted = " The Corvane2.net file is corrupted!";
const std::string ConfigCorrupted = " The Corvane2.cfg file is corrupted!";

} // namespace

TEST_F(HostileFiles, EmptyFilesEverywhere)
{
    WriteCatalogue("");
    WriteBytes(Dir / "Corvane2.cfg", "");
    WriteBytes(Dir / "Corvane2.pro", "");
    auto form = StartWatched();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{Corrupted, ConfigCorrupted}));
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 1);
    EXPECT_EQ(form->Panel3->MappingListBox->count(), 0);
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), "");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg.bak"), "");
    EXPECT_EQ(Catalogue(), "0 2.0");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "0-1");
}

TEST_F(HostileFiles, ABigCatalogueIsReadIntoOneBufferOfItsSize)
{
    std::string bytes = "2000 2.0";
    for (int i = 1000; i < 3000; ++i)
        bytes += "\r\n0,\\\\srv\\" + std::to_string(i) + std::string(2000, 'p') + "\r\nd";
    WriteCatalogue(bytes);
    auto form = StartWatched();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(form->Panel2->AvailablePathList.size(), 2000u);
    // The entries' bytes, and never a copy of the file beside them.
    EXPECT_LE(LargestAllocation, bytes.size() + 1) << "more than the file's room was taken at once";
    EXPECT_LE(form->Panel2->AvailablePathList.BytesHeld(), bytes.size() + bytes.size() / 2);
    form->close();
    EXPECT_EQ(Catalogue(), bytes);
}

TEST_F(HostileFiles, AHugeCountBeforeTwoRecords)
{
    const std::string bytes = "2147483647 2.0\r\n0,\\\\a\\one\r\nfirst\r\n1,\\\\b\\two\r\nsecond";
    WriteCatalogue(bytes);
    WriteBytes(Dir / "Corvane2.pro", "2147483647\r\nE: \\\\a\\one");
    WriteBytes(Dir / "Corvane2.cfg", "0-2147483647\r\nOnly");
    auto form = StartWatched();
    EXPECT_LT(LargestAllocation, std::size_t{1} << 20) << "a count made a reader allocate ahead";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{Corrupted});
    EXPECT_EQ(form->Panel2->AvailablePathList.size(), 2u);
    EXPECT_EQ(form->Panel3->GroupLines(), std::vector<std::string>{"E: \\\\a\\one"});
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 2);
    EXPECT_TRUE(form->Panel2->RemoveBtn->isEnabled());
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), bytes);
    EXPECT_EQ(Catalogue(), "2 2.0\r\n0,\\\\a\\one\r\nfirst\r\n1,\\\\b\\two\r\nsecond");
}

TEST_F(HostileFiles, ACountThatDoesNotMatchTheRecordsLosesNone)
{
    for (const auto& bytes : {std::string("-7 2.0\r\n0,\\\\a\r\nd"),
                              std::string("1 2.0\r\n0,\\\\a\r\nd\r\n1,\\\\b\r\ne\r\n0,\\\\c\r\nf")}) {
        SCOPED_TRACE(bytes);
        Ui.Messages.clear();
        WriteCatalogue(bytes);
        WriteBytes(Dir / "Corvane2.pro", "-5\r\nE: x");
        auto form = StartWatched();
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{Corrupted});
        const auto records = form->Panel2->AvailablePathList.size();
        EXPECT_EQ(records, std::count(bytes.begin(), bytes.end(), ',') + 0u);
        EXPECT_TRUE(form->Panel2->RemoveBtn->isEnabled());
        EXPECT_EQ(form->Panel3->MappingListBox->count(), 0);
        EXPECT_FALSE(form->Panel3->AttachAllBtn->isEnabled());
        form->close();
        EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), bytes);
        EXPECT_TRUE(Catalogue().starts_with(std::to_string(records) + " 2.0\r\n")) << Catalogue();
    }
}

TEST_F(HostileFiles, TenMegabytesWithoutALineEnd)
{
    const std::string noise(10 << 20, 'x');
    WriteCatalogue(noise);
    WriteBytes(Dir / "Corvane2.cfg", noise);
    WriteBytes(Dir / "Corvane2.pro", noise);
    auto form = StartWatched();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{Corrupted, ConfigCorrupted}));
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), noise);
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg.bak"), noise);
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "0-2\r\n" + noise) << "the name it held was lost";
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), noise) << "a profile nobody saved was rewritten";
}

TEST_F(HostileFiles, ATenMegabytePathIsShownAndKept)
{
    const std::string path = "\\\\srv\\" + std::string(10 << 20, 'p');
    WriteCatalogue("1 2.0\r\n0," + path + "\r\nd");
    auto form = StartWatched();
    EXPECT_TRUE(Ui.Messages.empty());
    ASSERT_EQ(form->Panel2->AvailablePathList.size(), 1u);
    EXPECT_EQ(form->Panel2->AvailablePathList[0].NetworkPath, path);
    form->close();
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0," + path + "\r\nd");
}

TEST_F(HostileFiles, BinaryNoise)
{
    std::mt19937 random(7);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        std::string noise(1 << 16, '\0');
        for (auto& byte : noise)
            byte = static_cast<char>(random());
        noise[0] = static_cast<char>(round == 0 ? '3' : noise[0]);
        WriteCatalogue(noise);
        WriteBytes(Dir / "Corvane2.cfg", noise);
        WriteBytes(Dir / "Corvane2.pro", noise);
        std::filesystem::remove(Dir / "Corvane2.net.bak");
        Ui.Messages.clear();
        auto form = StartWatched();
            for (const auto& text : MessageTexts())
            EXPECT_TRUE(text == Corrupted || text == ConfigCorrupted || text.starts_with("File :\n")) << text;
        const bool damaged = !Ui.Messages.empty() && Ui.Messages[0].Text == Corrupted;
        form->close();
        if (damaged) {
            EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), noise);
        }
    }
}

TEST_F(HostileFiles, NulBytesInsideAPathComeBackWhole)
{
    using namespace std::string_literals;
    const auto bytes = "2 2.0\r\n0,\\\\a\0b\\c\r\nnul \0 inside\r\n1,\\\\z\r\n"s;
    WriteCatalogue(bytes);
    WriteBytes(Dir / "Corvane2.pro", "1\r\nE: \\\\a\0b\\c"s);
    auto form = StartWatched();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(form->Panel3->GroupLines(), std::vector<std::string>{"E: \\\\a\0b\\c"s});
    EXPECT_EQ(form->Panel3->PathRequiresPW("\\\\a\0b\\c"s), 0);
    form->close();
    EXPECT_EQ(Catalogue(), bytes);
}

TEST_F(HostileFiles, ACtrlZInTheMiddleEndsTheFile)
{
    const std::string bytes = "2 2.0\r\n0,\\\\a\r\nd\x1A\r\n0,\\\\b\r\nhidden";
    WriteCatalogue(bytes);
    WriteBytes(Dir / "Corvane2.pro", "2\r\nE: \\\\a\x1A\r\nF: \\\\b");
    auto form = StartWatched();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{Corrupted});
    EXPECT_EQ(form->Panel2->AvailablePathList.size(), 1u);
    EXPECT_EQ(form->Panel3->GroupLines(), std::vector<std::string>{"E: \\\\a"});
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), bytes);
}

TEST_F(HostileFiles, AHundredThousandProfiles)
{
    std::string configuration = "100000-100001";
    for (int i = 1; i <= 100000; ++i)
        configuration += "\r\nProfile " + std::to_string(i);
    WriteBytes(Dir / "Corvane2.cfg", configuration);
    WriteCatalogue("0 2.0");
    auto form = StartWatched();
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 100001);
    EXPECT_EQ(form->Panel1->ProfileIndex(), 100000);
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentText(), QStringLiteral("Profile 100000"));
    EXPECT_EQ(MessageTexts().size(), 1u) << "the last profile has no file yet";
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), configuration);
}

TEST_F(HostileFiles, AProfileOfAHundredThousandLines)
{
    std::string profile = "100000";
    for (int i = 100000; i > 0; --i)
        profile += "\r\n" + std::string(1, static_cast<char>('A' + i % 26)) + ": \\\\srv\\share" + std::to_string(i);
    WriteBytes(Dir / "Corvane2.pro", profile);
    WriteCatalogue("0 2.0");
    auto form = StartWatched();
    EXPECT_EQ(form->Panel3->MappingListBox->count(), 100000);
    const auto lines = form->Panel3->GroupLines();
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end(),
                               [](const auto& a, const auto& b) { return a.front() < b.front(); }));
    EXPECT_TRUE(Ui.Messages.empty());
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), profile);
}
