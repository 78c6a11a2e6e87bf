#include "app/instance_lock.h"
#include "app/program.h"
#include "platform/qt/qt_services.h"
#include "support/read_only_folder.h"
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace std::string_literals;

namespace {

const std::string NoCatalogueText =
    "Before you can start to use the program,\nYou need to define the available network connections...";

void ExpectMessage(const Message& message, MessageKind kind, const std::string& text, const std::string& caption,
                   MessageIcon icon, MessageButtons buttons = MessageButtons::Ok)
{
    EXPECT_EQ(message.Kind, kind);
    EXPECT_EQ(message.Text, text);
    EXPECT_EQ(message.Caption, caption);
    EXPECT_EQ(message.Icon, icon);
    EXPECT_EQ(message.Buttons, buttons);
}

} // namespace

using StartAndClose = MainWindowTest;

TEST_F(StartAndClose, FirstStartInAnEmptyDirectory)
{
    std::filesystem::remove(Dir / "Corvane2.pro");
    auto form = StartShown();
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "Profile"));
    ASSERT_EQ(Ui.Messages.size(), 2u);
    ExpectMessage(Ui.Messages[0], MessageKind::Box, NoCatalogueText, " Information", MessageIcon::Information);
    ExpectMessage(Ui.Messages[1], MessageKind::Box,
                  "File :\n" + (Dir / "Corvane2.pro").string() + "\nwas not found and will be created...",
                  " Information", MessageIcon::Information);
    EXPECT_TRUE(form->Panel2->AvailablePathList.empty());
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 1);
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentText(), QStringLiteral("Default Network Mapping List"));
    EXPECT_EQ(form->Panel1->ProfileIndex(), 0);
    EXPECT_FALSE(form->Panel2->RemoveBtn->isEnabled());
    EXPECT_FALSE(form->RightBtn->isEnabled());
    EXPECT_FALSE(form->Panel1->RemoveProfileBtn->isEnabled());
    EXPECT_EQ(form->Profiles().ProfileFolder(), Dir / "Profile");
    EXPECT_TRUE(form->Panel3->MappingListBox->count() == 0);

    form->close();
    EXPECT_EQ(Ui.Messages.size(), 2u) << "closing asked or reported something";
    EXPECT_EQ(Catalogue(), "0 2.0");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "0-1");
    EXPECT_FALSE(std::filesystem::exists(Dir / "Corvane2.pro"));
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "Profile"));
}

TEST_F(StartAndClose, AnEmptyCatalogueFileStartsQuietlyWithTheButtonsOff)
{
    WriteCatalogue("0 2.0");
    auto form = StartShown();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_FALSE(form->Panel2->RemoveBtn->isEnabled());
    EXPECT_FALSE(form->RightBtn->isEnabled());
}

TEST_F(StartAndClose, WrittenFilesComeBackByteForByte)
{
    const std::string files[] = {
        "0 2.0",
        "1 2.0\r\n0,\\\\srv\\pub\r\n",
        "2 2.0\r\n1,\\\\a,b\\c,d\r\none, two\r\n0,\\\\b\\x\r\nlast",
        "2 2.0\r\n0,\r\nan empty path\r\n0,\\\\z\r\n",
        "1 2.0\r\n0,\\\\s\xE9rver\\\xFF\x80 \x01 share \r\n  blanks kept  ",
        "1 2.0\r\n0,\\\\srv\\" + std::string(2000, 'L') + "\r\n" + std::string(700, 'D'),
    };
    for (const auto& bytes : files) {
        SCOPED_TRACE(bytes.substr(0, 60));
        WriteCatalogue(bytes);
        Start()->close();
        EXPECT_EQ(Catalogue(), bytes);
    }
}

TEST_F(StartAndClose, CloseWritesTheCatalogueSortedWithCarriageReturns)
{
    WriteCatalogue("2 1.0\n2,\\\\zed\\a\nlast\n0,\\\\Able\\b\nfirst\n");
    Start()->close();
    EXPECT_EQ(Catalogue(), "2 2.0\r\n0,\\\\Able\\b\r\nfirst\r\n1,\\\\zed\\a\r\nlast");
}

TEST_F(StartAndClose, ADamagedCatalogueIsReportedKeptAsBackupAndItsGoodRecordsStay)
{
    const std::string damaged = "3 2.0\r\n0,\\\\good\\one\r\nfine\r\nno comma\r\n0,\\\\lost\\two\r\n";
    WriteCatalogue(damaged);
    auto form = StartShown();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    ExpectMessage(Ui.Messages[0], MessageKind::Plain, " The Corvane2.net file is corrupted!", " Corvane V 2.0",
                  MessageIcon::None);
    EXPECT_EQ(ShownRows(*form), std::vector<std::string>{"\\\\good\\one"});
    // The header's count decides, not the records read.
    EXPECT_TRUE(form->Panel2->RemoveBtn->isEnabled());
    EXPECT_TRUE(form->RightBtn->isEnabled());

    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), damaged);
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0,\\\\good\\one\r\nfine");
    EXPECT_EQ(Ui.Messages.size(), 1u);
}

TEST_F(StartAndClose, ACatalogueEndingBeforeItsCountIsDamaged)
{
    WriteCatalogue("2147483647 2.0\r\n0,\\\\a\r\n\r\n1,\\\\b\r\nd");
    auto form = StartShown();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " The Corvane2.net file is corrupted!");
    EXPECT_EQ(form->Panel2->AvailablePathList.size(), 2u);
}

TEST_F(StartAndClose, AHeaderWithoutANumberIsDamagedAndKept)
{
    for (const auto& bytes : {""s, "\x1A"s, "garbage\r\n0,\\\\a\r\n"s, "\0\0\xFF\xFE"s}) {
        SCOPED_TRACE(bytes);
        Ui.Messages.clear();
        std::filesystem::remove(Dir / "Corvane2.net.bak");
        WriteCatalogue(bytes);
        auto form = StartShown();
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{" The Corvane2.net file is corrupted!"});
        EXPECT_FALSE(form->Panel2->RemoveBtn->isEnabled());
        EXPECT_FALSE(form->RightBtn->isEnabled());
        form->close();
        EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), bytes);
        EXPECT_EQ(Catalogue(), "0 2.0");
    }
}

TEST_F(StartAndClose, AnUnreadableCatalogueIsNeverWrittenOver)
{
    std::filesystem::create_directory(Dir / "Corvane2.net");
    WriteBytes(Dir / "Corvane2.net" / "inside", "x");
    auto form = StartShown();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{NoCatalogueText});
    form->close();
    ASSERT_EQ(Ui.Messages.size(), 2u);
    ExpectMessage(Ui.Messages[1], MessageKind::Box, " Was not able to save the network path list!", " Error",
                  MessageIcon::Error);
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "Corvane2.net"));
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net" / "inside"), "x");
}

TEST_F(StartAndClose, AFailedSaveIsReportedAndTheOldFileStays)
{
    const std::string old = "1 2.0\r\n0,\\\\old\\one\r\n";
    WriteCatalogue(old);
    // A directory where the save's temporary file would go.
    std::filesystem::create_directory(Dir / "Corvane2.net.tmp");
    WriteBytes(Dir / "Corvane2.net.tmp" / "blocker", "x");
    auto form = StartShown();
    form->Panel2->AvailablePathList.push_back({"\\\\new", "", 0});
    form->close();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    ExpectMessage(Ui.Messages[0], MessageKind::Box, " Was not able to save the network path list!", " Error",
                  MessageIcon::Error);
    EXPECT_EQ(Catalogue(), old);
}

TEST_F(StartAndClose, ADamagedCatalogueIsNotWrittenOverWhenItsBackupFails)
{
    const std::string damaged = "2 2.0\r\n0,\\\\a\r\n";
    WriteCatalogue(damaged);
    std::filesystem::create_directory(Dir / "Corvane2.net.bak");
    WriteBytes(Dir / "Corvane2.net.bak" / "blocker", "x");
    auto form = StartShown();
    form->close();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{" The Corvane2.net file is corrupted!",
                                                        " Was not able to save the network path list!"}));
    EXPECT_EQ(Catalogue(), damaged);
}

TEST_F(StartAndClose, ExitClosesTheWindowAndTheCloseStepsRunOnce)
{
    WriteCatalogue("1 2.0\r\n0,\\\\a\r\nd");
    auto form = StartShown();
    QTest::mouseClick(form->ExitBtn, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0,\\\\a\r\nd");
    std::filesystem::remove(Dir / "Corvane2.net");
    form->close();
    EXPECT_FALSE(std::filesystem::exists(Dir / "Corvane2.net"));
}

TEST_F(StartAndClose, AnyCloseWritesTheCatalogueEvenUnchanged)
{
    WriteCatalogue("1 2.0\n0,\\\\a\nd");
    auto form = StartShown();
    form->close();
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0,\\\\a\r\nd");
    EXPECT_FALSE(std::filesystem::exists(Dir / "Corvane2.net.tmp"));
    EXPECT_FALSE(std::filesystem::exists(Dir / "Corvane2.net.bak"));
}

TEST(ProgramEntry, AnErrorEscapingStartUpIsShownAndTheExitCodeIsZero)
{
    FakeUi ui;
    const int code = RunProgram(ui, [] { throw std::runtime_error("Cannot read beyond the end of the disk"); });
    EXPECT_EQ(code, 0);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Kind, MessageKind::Exception);
    EXPECT_EQ(ui.Messages[0].Text, "Cannot read beyond the end of the disk");
    EXPECT_EQ(ui.Messages[0].Caption, " Corvane V 2.0");

    EXPECT_EQ(RunProgram(ui, [] {}), 0);
    EXPECT_EQ(ui.Messages.size(), 1u);
}

TEST(ProgramEntry, TheProgramsFolderIsWrittenAsTheSystemWritesPaths)
{
    // The first start's messages name files in it: "Z:\\Tools\\Corvane2.pro", not "Z:/Tools\\Corvane2.pro".
    const auto folder = ExecutableDirectory().native();
    const auto foreign = std::filesystem::path::preferred_separator == '/' ? '\\' : '/';
    EXPECT_EQ(folder.find(static_cast<std::filesystem::path::value_type>(foreign)), folder.npos)
        << ExecutableDirectory().string();
    EXPECT_TRUE(std::filesystem::is_directory(ExecutableDirectory()));
}

// Stands in for the desktop's handlers of the schemes the program opens.
class UrlCatcher final : public QObject {
    Q_OBJECT

public:
    std::vector<QUrl> Urls;

public slots:
    void Catch(const QUrl& url) { Urls.push_back(url); }
};

TEST(ProgramEntry, TheShellOpensAddressesAsTheyAreAndPathsAsFiles)
{
    UrlCatcher catcher;
    for (const char* scheme : {"https", "mailto", "file"})
        QDesktopServices::setUrlHandler(QLatin1StringView(scheme), &catcher, "Catch");
    const auto help = QStringLiteral("/opt/Help Ü/Corvane2.hlp");
    const auto drive = QStringLiteral("C:/Corvane/Corvane2.hlp");
    QtShellOpener shell;
    for (const auto& address : {QStringLiteral("https://example.org/corvane?a=1&b=2"),
                                QStringLiteral("mailto:support@example.org"), help, drive})
        shell.Open(address.toLocal8Bit().toStdString());
    for (const char* scheme : {"https", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(QLatin1StringView(scheme));

    ASSERT_EQ(catcher.Urls.size(), 4u);
    EXPECT_EQ(catcher.Urls[0], QUrl(QStringLiteral("https://example.org/corvane?a=1&b=2")));
    EXPECT_EQ(catcher.Urls[1], QUrl(QStringLiteral("mailto:support@example.org")));
    EXPECT_EQ(catcher.Urls[2].toLocalFile(), help);
    EXPECT_EQ(catcher.Urls[3], QUrl::fromLocalFile(drive)) << "a drive letter read as a scheme";
}

TEST_F(StartAndClose, TheSessionsEndSavesEverythingWithoutAQuestion)
{
    WriteBytes(Dir / "Corvane2.cfg", "1-2\r\nWork");
    std::filesystem::create_directory(Dir / "Profile");
    WriteBytes(Dir / "Profile" / "Work.pro", "0");
    auto form = StartShown();
    Ui.Messages.clear();
    form->Panel2->AvailablePathList.push_back({"\\\\srv\\pub", "Public", 0});
    form->Panel3->SaveBtn->setEnabled(true);
    std::filesystem::remove(Dir / "Corvane2.cfg");
    form->SaveAtSessionEnd();
    EXPECT_TRUE(Ui.Messages.empty()) << "a question would hold up the session's end";
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0,\\\\srv\\pub\r\nPublic");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "1-2\r\nWork");
}

TEST_F(StartAndClose, AFolderNobodyCanWriteStartsAndTheCloseSaysWhatCouldNotBeSaved)
{
    const std::string catalogue = "1 2.0\r\n0,\\\\srv\\pub\r\nPublic";
    WriteCatalogue(catalogue);
    WriteBytes(Dir / "Corvane2.cfg", "0-1");
    std::filesystem::create_directory(Dir / "Profile");
    const ReadOnlyFolder readOnly(Dir.Path());
    if (!readOnly.Made())
        GTEST_SKIP() << "no read-only mount here: " << readOnly.Why;

    InstanceLock lock(Dir.Path());
    EXPECT_TRUE(lock.Acquire(Ui)) << "a folder without a lock was taken for a running copy";
    auto form = StartShown();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(form->Panel2->AvailablePathList.size(), 1u);
    form->close();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{" Was not able to save the network path list!",
                                                         " Was not able to create the configuration file!"}));
    EXPECT_EQ(Catalogue(), catalogue);
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "0-1");
}

#include "startup_close_test.moc"
