// The window over the system's own connection calls, as Windows (or its
// emulator, which has no network provider) answers them: a failure reaches the
// user whole, its status and the system's text for it.
#include "mapping_fixture.h"

#include "platform/network_connections.h"
#include "platform/system_services.h"

TEST_F(MappingTest, AFailedAttachThroughTheSystemShowsItsCodeAndTheSystemsText)
{
    WriteCatalogue("1 2.0\r\n1,\\\\no-such-host.invalid\\share\r\nNowhere\r\n");
    const auto runner = MakeSystemCommandRunner(Dir.Path());
    auto form = std::make_unique<TMainPRGForm>(Dir.Path(), PlatformServices{SharedDrives, *runner, Browser, Shell, Help, SharedShares}, Ui);
    form->show();
    PutIntoGroup(*form, 0, QStringLiteral("Q:"));
    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("anna"), QStringLiteral("secret pw")));
    QTest::mouseClick(form->Panel3->AttachAllBtn, Qt::LeftButton);

    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " One or more paths were not attached");
    const auto& details = Ui.Messages[0].Details;
    const std::string lead = "Q: \\\\no-such-host.invalid\\share\nExit status ";
    ASSERT_TRUE(details.starts_with(lead)) << details;
    const auto end = details.find('\n', lead.size());
    ASSERT_NE(end, std::string::npos) << details;
    const auto code = std::stoul(details.substr(lead.size(), end - lead.size()));
    EXPECT_NE(code, 0u);
    EXPECT_NE(code, 87u) << "the argument list was not understood";
    // The system's own text for that very code, in its language.
    EXPECT_EQ(details.substr(end + 1), MakeSystemNetworkConnections()->ErrorText(static_cast<std::uint32_t>(code)));
    EXPECT_EQ(details.find("secret pw"), std::string::npos);
}
