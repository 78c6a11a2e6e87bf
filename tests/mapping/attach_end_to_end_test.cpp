// The main window over the real command runner and the real corvane-net, with
// local folders standing in for shares.
#include "mapping_fixture.h"

#include "mapping/net_use.h"
#include "platform/system_services.h"

#include "support/skip.h"
#include "support/smb_lab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QElapsedTimer>
#include <QLineEdit>

#include <cstdlib>
#include <iostream>

namespace fs = std::filesystem;

namespace {

class AttachEndToEnd : public MappingTest {
protected:
    AttachEndToEnd()
    {
        setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (Shares / "config").c_str(), 1);
    }
    ~AttachEndToEnd() override
    {
        unsetenv("CORVANE_DRIVES_DIR");
        unsetenv("XDG_CONFIG_HOME");
    }

    std::unique_ptr<TMainPRGForm> StartReal(const std::string& catalogue)
    {
        WriteCatalogue(catalogue);
        auto form = std::make_unique<TMainPRGForm>(Dir.Path(),
                                                   PlatformServices{SystemDrives, *Runs, Browser, Shell, Help, SharedShares}, Ui);
        form->show();
        return form;
    }

    fs::path Folder(const std::string& name)
    {
        fs::create_directories(Shares / name);
        return Shares / name;
    }

    TempDir SharesDir;
    fs::path Shares = SharesDir.Path();
    fs::path Drives = SharesDir / "Drives";
    std::shared_ptr<DriveInventory> SystemDrives = MakeSystemDriveInventory();
    // The runner the program uses, over the carrier built beside the tests.
    std::unique_ptr<CommandRunner> Carrier = MakeSystemCommandRunner(fs::path(CORVANE_NET).parent_path());
    CommandRunner* Runs = Carrier.get();
};

std::string ShownTexts();

// Runs the real carrier, and takes the texts of the windows while it runs.
class SnoopingRunner final : public CommandRunner {
public:
    explicit SnoopingRunner(CommandRunner& real) : Real(real) {}

    CommandResult Run(const std::vector<std::string>& arguments) override
    {
        QMetaObject::invokeMethod(qApp, [this] { TextsWhileRunning += ShownTexts(); }, Qt::BlockingQueuedConnection);
        return Real.Run(arguments);
    }

    std::string TextsWhileRunning;

private:
    CommandRunner& Real;
};

// Every text the widgets of the application show, message windows aside.
std::string ShownTexts()
{
    std::string texts;
    for (auto* widget : QApplication::allWidgets()) {
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            texts += edit->text().toStdString() + '\n';
        else if (auto* label = qobject_cast<QLabel*>(widget))
            texts += label->text().toStdString() + '\n';
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts += button->text().toStdString() + '\n';
    }
    return texts;
}

} // namespace

TEST_F(AttachEndToEnd, AttachAllOfThreeLinesWhereTheSecondFailsThenDetachOne)
{
    const auto e = Folder("e share");
    const auto g = Folder("g");
    auto form = StartReal("3 2.0\r\n0," + e.string() + "\r\nE\r\n0," + (Shares / "missing").string() + "\r\nF\r\n0,"
                          + g.string() + "\r\nG");
    // The rows in catalogue order: "e share", "g", "missing".
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    PutIntoGroup(*form, 2, QStringLiteral("F:"));
    PutIntoGroup(*form, 1, QStringLiteral("G:"));

    form->Panel3->AttachAllBtnClick();
    EXPECT_EQ(fs::read_symlink(Drives / "E"), e);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "F")));
    EXPECT_EQ(fs::read_symlink(Drives / "G"), g);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " One or more paths were not attached");
    EXPECT_NE(Ui.Messages[0].Details.find("Exit status 53"), std::string::npos) << Ui.Messages[0].Details;
    EXPECT_NE(Ui.Messages[0].Details.find("The network path was not found."), std::string::npos);
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 1);
    EXPECT_EQ(form->Panel3->IsDriveConnected('G'), 1);

    SelectLine(*form, 0);
    Ui.Answers.push_back(MessageAnswer::Yes);
    form->Panel3->DetachOneBtnClick();
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));
    EXPECT_TRUE(fs::is_symlink(Drives / "G"));
    EXPECT_TRUE(fs::is_directory(e));
}

TEST_F(AttachEndToEnd, TheLetterDialogFindsTheDrivesFolderLettersTaken)
{
    fs::create_directories(Drives / "C");
    auto form = StartReal("1 2.0\r\n0," + Folder("x").string() + "\r\n");
    QStringList offered;
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("D:"), &offered));
    form->RightBtnClick();
    EXPECT_EQ(offered.first(), QStringLiteral("A:"));
    EXPECT_FALSE(offered.contains(QStringLiteral("C:")));
    EXPECT_EQ(offered.size(), 25);
}

TEST_F(AttachEndToEnd, ThePasswordIsInNoFileAndNoShownText)
{
    const std::string password = "Pa55-w0rd-never-kept";
    SnoopingRunner snooping(*Carrier);
    Runs = &snooping;
    auto form = StartReal("1 2.0\r\n1," + Folder("secret").string() + "\r\nneeds credentials");
    PutIntoGroup(*form, 0, QStringLiteral("K:"));
    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("CORP\\anna"), QString::fromStdString(password)));
    form->Panel3->AttachAllBtnClick();
    ASSERT_TRUE(fs::is_symlink(Drives / "K"));
    form->Panel3->RestoreConnectionCheckBox->setChecked(true);
    Ui.Answers.push_back(MessageAnswer::Yes);
    form->close();

    ASSERT_FALSE(snooping.TextsWhileRunning.empty());
    EXPECT_EQ(snooping.TextsWhileRunning.find(password), std::string::npos) << "a widget showed the password";
    EXPECT_EQ(ShownTexts().find(password), std::string::npos);
    for (const auto& message : Ui.Messages) {
        EXPECT_EQ(message.Text.find(password), std::string::npos);
        EXPECT_EQ(message.Details.find(password), std::string::npos);
    }
    int files = 0;
    for (const auto& root : {Dir.Path(), Shares}) {
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file())
                continue;
            ++files;
            EXPECT_EQ(ReadBytes(entry.path()).find(password), std::string::npos) << entry.path();
        }
    }
    EXPECT_GE(files, 4) << "the catalogue, the configuration, the profile and the drive's record";
}

TEST_F(AttachEndToEnd, ARealShareIsAttachedAndDetachedThroughTheWindowTwentyTimes)
{
    SmbLab lab(SharesDir / "lab");
    if (const auto why = lab.Start(); !why.empty())
        CORVANE_SKIP_OUTSIDE_CI(why);
    auto form = StartReal("1 2.0\r\n0,\\\\127.0.0.1\\public\r\nPublic");
    PutIntoGroup(*form, 0, QStringLiteral("P:"));
    SelectLine(*form, 0);
    for (int cycle = 1; cycle <= 20; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        Ui.Messages.clear();
        form->Panel3->AttachOneBtnClick();
        ASSERT_EQ(Ui.Messages.size(), 1u);
        ASSERT_EQ(Ui.Messages[0].Text, " The commad was successful completed") << Ui.Messages[0].Details;
        EXPECT_EQ(ReadBytes(Drives / "P" / "sub" / "file.txt"), "hello");
        EXPECT_EQ(form->Panel3->IsDriveConnected('P'), 1);
        EXPECT_TRUE(form->Panel3->DetachOneBtn->isEnabled());

        Ui.Answers.push_back(MessageAnswer::Yes);
        form->Panel3->DetachOneBtnClick();
        EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "P")));
        EXPECT_EQ(form->Panel3->IsDriveConnected('P'), 0);
    }
    EXPECT_EQ(lab.Mounts().find("127.0.0.1"), std::string::npos) << lab.Mounts();
}

TEST_F(AttachEndToEnd, AStalledServerHoldsNeitherTheStartNorTheWindowAndItsLineSaysSo)
{
    SmbLab lab(SharesDir / "lab");
    if (const auto why = lab.Start(); !why.empty())
        CORVANE_SKIP_OUTSIDE_CI(why);
    WriteBytes(Dir / "Corvane2.pro", "1\r\nP: \\\\127.0.0.1\\public");
    ASSERT_EQ(Carrier->Run(AttachArguments("P: \\\\127.0.0.1\\public", std::nullopt, false)).ExitStatus, 0);
    lab.PauseServer();
    QElapsedTimer clock;
    clock.start();
    auto form = StartReal("1 2.0\r\n0,\\\\127.0.0.1\\public\r\nPublic");
    QApplication::processEvents();
    const auto shown = clock.elapsed();
    std::cout << "start to first paint with a letter on a stalled server: " << shown << " ms\n";
    EXPECT_LT(shown, 3000);
    EXPECT_FALSE(form->grab().isNull());
    QTRY_COMPARE_WITH_TIMEOUT(form->Panel3->MappingListBox->item(0)->data(Qt::AccessibleDescriptionRole).toString(),
                              QStringLiteral("Attached, not answering"), 10000);
    // The stalled probe's answer comes when the server does.
    lab.ResumeServer();
    QTRY_COMPARE_WITH_TIMEOUT(form->Panel3->MappingListBox->item(0)->data(Qt::AccessibleDescriptionRole).toString(),
                              QStringLiteral("Attached"), 10000);
    form.reset();
    EXPECT_EQ(Carrier->Run(DetachArguments('P')).ExitStatus, 0);
}
