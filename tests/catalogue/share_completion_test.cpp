// The shares a server offers, completing the network path as it is typed:
// asked off the window's thread, never waited for, and asked once.
#include "catalogue/network_path_dialog.h"
#include "support/dialog_players.h"
#include "support/main_window_fixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <thread>

namespace {

std::vector<std::string> AskedServers(const FakeShares& shares)
{
    std::vector<std::string> servers;
    for (const auto& ask : shares.Asks())
        servers.push_back(ask.Server);
    return servers;
}

} // namespace

using ShareCompletion = MainWindowTest;

TEST_F(ShareCompletion, OnlyATypedServerAndBackslashAsksAndOnlyOnce)
{
    Shares.Lists["srv"] = {0, {}, false, {"Public", "C$", "hidden$", "Team Files", std::string(10000, 'x'), "bad\x01", "Public"}};
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    for (const char* text : {"\\\\srv", "\\srv\\", "srv\\", "\\\\\\", "\\\\bad host\\", "\\\\a..b\\", "\\\\a/b\\",
                             "\\\\-srv\\"})
        dialog.PathEdit->setText(QString::fromLatin1(text));
    QTest::qWait(100);
    EXPECT_EQ(AskedServers(Shares), std::vector<std::string>{}) << "asked for no server";

    dialog.PathEdit->setText(QStringLiteral("\\\\srv\\"));
    QTRY_COMPARE(dialog.OfferedPaths(), (QStringList{QStringLiteral("\\\\srv\\Public"), QStringLiteral("\\\\srv\\Team Files")}));
    for (const char* text : {"\\\\srv\\Pu", "\\\\SRV\\", "\\\\srv\\Public\\deep"})
        dialog.PathEdit->setText(QString::fromLatin1(text));
    QTest::qWait(100);
    EXPECT_EQ(AskedServers(Shares), std::vector<std::string>{"srv"}) << "one ask a server while the dialog is open";
    EXPECT_EQ(dialog.PathEdit->completer()->caseSensitivity(), Qt::CaseInsensitive);

    // A thousand shares are a thousand completions, in the server's order.
    for (int i = 999; i >= 0; --i)
        Shares.Lists["many"].Names.push_back("share" + std::to_string(i));
    dialog.PathEdit->setText(QStringLiteral("\\\\many\\"));
    QTRY_COMPARE(dialog.OfferedPaths().size(), 1002);
    EXPECT_EQ(dialog.OfferedPaths()[2], QStringLiteral("\\\\many\\share999"));
}

TEST_F(ShareCompletion, PickingAShareFillsThePathAndTypingGoesOn)
{
    Shares.Lists["srv"] = {0, {}, false, {"Public", "Projects"}};
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.PathEdit->setFocus();
    QTest::keyClicks(dialog.PathEdit, QStringLiteral("\\\\srv\\"));
    auto* popup = dialog.PathEdit->completer()->popup();
    QTRY_VERIFY(popup->isVisible());
    QTest::keyClicks(dialog.PathEdit, QStringLiteral("pr"));
    EXPECT_EQ(dialog.PathEdit->text(), QStringLiteral("\\\\srv\\pr")) << "typing went on";
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(dialog.PathEdit->text(), QStringLiteral("\\\\srv\\Projects"));
    EXPECT_TRUE(dialog.BitBtn1->isEnabled());
    EXPECT_EQ(dialog.result(), 0) << "picking is no OK";
}

TEST_F(ShareCompletion, AServerThatNeverAnswersHoldsNothingUpAndOffersNothingLate)
{
    Shares.Lists["slow"] = {0, {}, false, {"late"}};
    Shares.Hold();
    auto form = StartShown();
    QElapsedTimer clock;
    clock.start();
    {
        TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
        dialog.show();
        QTest::keyClicks(dialog.PathEdit, QStringLiteral("\\\\slow\\pub"));
        EXPECT_EQ(dialog.PathEdit->text(), QStringLiteral("\\\\slow\\pub"));
        EXPECT_TRUE(dialog.BitBtn1->isEnabled());
        QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_LT(clock.elapsed(), 1000) << "the dialog waited for the server";

    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    dialog.PathEdit->setText(QStringLiteral("\\\\slow\\"));
    QTest::qWait(static_cast<int>(std::chrono::milliseconds(ShareListLimit).count()) + 200);
    Shares.Release();
    QTRY_COMPARE(Shares.Asks().size(), 2u);
    QTest::qWait(200);
    EXPECT_TRUE(dialog.OfferedPaths().isEmpty()) << "an answer past the limit was offered";
}

TEST_F(ShareCompletion, ARefusalAsksForALoginOnceAndOnlyWhenTheBoxIsTicked)
{
    const ShareList refused{5, "Access is denied.", true, {}};
    Shares.Lists = {{"locked", refused}, {"wrong", refused}, {"unticked", refused}};
    Shares.WithLogin = [](const ShareLogin& login) {
        return login.Password.Text() == "pw" ? ShareList{0, {}, false, {"Private"}} : ShareList{1326, "Logon failure.", false, {}};
    };
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    dialog.PathEdit->setText(QStringLiteral("\\\\unticked\\"));
    QTRY_COMPARE(Shares.Asks().size(), 1u);
    QTest::qWait(100);
    EXPECT_TRUE(Ui.DialogTitles.empty()) << "asked for a login for a path that needs none";

    dialog.RequiresPWCheckBox->setChecked(true);
    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("CORP\\anna"), QStringLiteral("pw")));
    dialog.PathEdit->setText(QStringLiteral("\\\\locked\\"));
    QTRY_COMPARE(dialog.OfferedPaths(), QStringList{QStringLiteral("\\\\locked\\Private")});

    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("anna"), QStringLiteral("bad")));
    dialog.PathEdit->setText(QStringLiteral("\\\\wrong\\"));
    QTRY_COMPARE(Shares.Asks().size(), 5u);
    dialog.PathEdit->setText(QStringLiteral("\\\\wrong\\x"));
    dialog.PathEdit->setText(QStringLiteral("\\\\wrong\\"));
    QTest::qWait(100);
    EXPECT_EQ(Ui.DialogTitles, (std::vector<QString>{QStringLiteral("Password Dialog..."), QStringLiteral("Password Dialog...")}));
    EXPECT_EQ(dialog.OfferedPaths(), QStringList{QStringLiteral("\\\\locked\\Private")});
    const auto asks = Shares.Asks();
    ASSERT_EQ(asks.size(), 5u);
    EXPECT_EQ(asks[2].Server, "locked");
    EXPECT_EQ(asks[2].User, "CORP\\anna");
    EXPECT_EQ(asks[2].Password, "pw");
    EXPECT_EQ(asks[4].User, "anna");
}
