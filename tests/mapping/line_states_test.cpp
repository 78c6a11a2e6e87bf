// The state shown before each group line: found off the window's thread,
// never holding the window, and kept current after commands.
#include "mapping_fixture.h"

#include "mapping/line_states.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QImage>

#include <future>
#include <thread>

namespace {

QString Described(const TMainPRGForm& form, int row)
{
    return form.Panel3->MappingListBox->item(row)->data(Qt::AccessibleDescriptionRole).toString();
}

// The colour at the middle of a line's image, and at its corner.
std::pair<QColor, QColor> ImageColours(const TMainPRGForm& form, int row)
{
    const auto image = form.Panel3->MappingListBox->item(row)->icon().pixmap(10, 10).toImage();
    return {image.pixelColor(5, 5), image.pixelColor(0, 0)};
}

} // namespace

class LineStates : public MappingTest {
protected:
    // E: pub, F: secret, G: tools, H: pub.
    std::unique_ptr<TMainPRGForm> StartWithGroup()
    {
        auto form = StartWithCatalogue();
        PutIntoGroup(*form, 0, QStringLiteral("E:"));
        PutIntoGroup(*form, 1, QStringLiteral("F:"));
        PutIntoGroup(*form, 2, QStringLiteral("G:"));
        PutIntoGroup(*form, 0, QStringLiteral("H:"));
        return form;
    }

    void SetConnection(char letter, DriveConnection connection)
    {
        const std::lock_guard lock(Drives.Guard);
        Drives.Connections[letter] = std::move(connection);
    }
};

TEST(LineState, FromWhatStandsAtTheLetter)
{
    EXPECT_EQ(StateOfLine("\\\\srv\\pub", DriveConnection{true, "\\\\SRV\\Pub", true}), LineState::Attached);
    EXPECT_EQ(StateOfLine("\\\\srv\\pub", DriveConnection{true, "\\\\srv\\pub", false}), LineState::NotAnswering);
    EXPECT_EQ(StateOfLine("\\\\srv\\pub", std::nullopt), LineState::NotAnswering) << "no answer in time";
    EXPECT_EQ(StateOfLine("\\\\srv\\pub", DriveConnection{}), LineState::NotAttached);
    EXPECT_EQ(StateOfLine("\\\\srv\\pub", DriveConnection{true, "\\\\srv\\other", true}), LineState::Taken);
    EXPECT_EQ(StateOfLine("\\\\srv\\pub", DriveConnection{true, std::nullopt, true}), LineState::Taken) << "a disk";
    EXPECT_EQ(StateOfLine("\\\\srv\\p\xC3\xBC", DriveConnection{true, "\\\\srv\\p\xC3\x9C", true}), LineState::Taken)
        << "only ASCII letters compare without case";
}

TEST_F(LineStates, TheProfileLoadedAtStartShowsItsStates)
{
    WriteBytes(Dir / "Corvane2.pro", "2\r\nE: \\\\srv\\pub\r\nG: \\\\srv\\tools");
    SetConnection('E', {true, Pub, true});
    auto form = StartWithCatalogue();
    ASSERT_EQ(form->Panel3->MappingListBox->count(), 2);
    QTRY_COMPARE(Described(*form, 0), QStringLiteral("Attached"));
    QTRY_COMPARE(Described(*form, 1), QStringLiteral("Not attached"));
}

TEST_F(LineStates, EachOfTheFourStatesHasItsImageAndDescription)
{
    SetConnection('E', {true, Pub, true});
    SetConnection('F', {true, Secret, false});
    SetConnection('H', {true, "\\\\elsewhere\\pub", true});
    auto form = StartWithGroup();
    ASSERT_EQ(form->Panel3->GroupLines(), (std::vector<std::string>{"E: \\\\srv\\pub", "F: \\\\srv\\secret",
                                                            "G: \\\\srv\\tools", "H: \\\\srv\\pub"}));
    // Each letter answers on its own thread, in no set order.
    QTRY_COMPARE(Described(*form, 3), QStringLiteral("Taken by another drive or path"));
    QTRY_COMPARE(Described(*form, 0), QStringLiteral("Attached"));
    QTRY_COMPARE(Described(*form, 1), QStringLiteral("Attached, not answering"));
    QTRY_COMPARE(Described(*form, 2), QStringLiteral("Not attached"));
    EXPECT_EQ(ImageColours(*form, 0).first, QColor(0x2E, 0x9E, 0x3E));
    EXPECT_EQ(ImageColours(*form, 1).first, QColor(0xE0, 0x9A, 0x10));
    EXPECT_EQ(ImageColours(*form, 2).first.alpha(), 0) << "a ring, empty inside";
    EXPECT_EQ(ImageColours(*form, 3).first, QColor(0xC8, 0x2A, 0x2A));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(ImageColours(*form, row).second.alpha(), 0);
    // The line's text stays the profile's, and a screen reader hears the state.
    EXPECT_EQ(form->Panel3->MappingListBox->item(1)->text(), QStringLiteral("F: \\\\srv\\secret"));
    auto* list = QAccessible::queryAccessibleInterface(form->Panel3->MappingListBox);
    ASSERT_NE(list, nullptr);
    QStringList heard;
    for (int i = 0; i < list->childCount(); ++i)
        heard << list->child(i)->text(QAccessible::Description);
    EXPECT_TRUE(heard.contains(QStringLiteral("Attached, not answering"))) << heard.join(u'|').toStdString();
}

TEST_F(LineStates, AProbeThatNeverAnswersHoldsNothingCountsAsNotAnsweringAfterItsTimeAndOutlivesTheWindowSafely)
{
    std::promise<void> server;
    {
        const std::lock_guard lock(Drives.Guard);
        Drives.Stalled['E'] = server.get_future().share();
        Drives.Connections['E'] = {true, Pub, true};
    }
    auto form = StartWithCatalogue();
    QElapsedTimer clock;
    clock.start();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    PutIntoGroup(*form, 2, QStringLiteral("G:"));
    // Meanwhile the window paints, and takes a click and a key, each at once.
    QElapsedTimer step;
    step.start();
    EXPECT_FALSE(form->grab().isNull());
    QTest::mouseClick(form->Panel3->MappingListBox->viewport(), Qt::LeftButton, {},
                      form->Panel3->MappingListBox->visualItemRect(form->Panel3->MappingListBox->item(0)).center());
    EXPECT_EQ(form->Panel3->MappingListBox->currentRow(), 0);
    QTest::keyClick(form->Panel3->MappingListBox, Qt::Key_Down);
    EXPECT_EQ(form->Panel3->MappingListBox->currentRow(), 1);
    EXPECT_LT(step.elapsed(), 1000) << "the window waited for the probe";
    QTRY_COMPARE(Described(*form, 1), QStringLiteral("Not attached"));

    QTRY_COMPARE_WITH_TIMEOUT(Described(*form, 0), QStringLiteral("Attached, not answering"), 10000);
    EXPECT_GE(clock.elapsed(), 1500) << "not answering before its time was up";

    // The window goes, and so does everyone else's share of the inventory: the probe still asks it.
    form.reset();
    const std::weak_ptr<FakeDrives> asked = SharedDrives;
    SharedDrives.reset();
    EXPECT_FALSE(asked.expired()) << "the stalled probe was left holding an inventory that went";
    server.set_value();
    QTRY_VERIFY2(asked.expired(), "the probe kept the inventory after it answered");
}

TEST_F(LineStates, TheStateFollowsAttachAndDetach)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    QTRY_COMPARE(Described(*form, 0), QStringLiteral("Not attached"));
    Runner.OnRun = [this](const std::vector<std::string>& arguments) {
        SetConnection('E', arguments.back() == "/DELETE" ? DriveConnection{} : DriveConnection{true, Pub, true});
    };
    form->Panel3->MappingListBox->setCurrentRow(0);
    QTest::mouseClick(form->Panel3->AttachOneBtn, Qt::LeftButton);
    QTRY_COMPARE(Described(*form, 0), QStringLiteral("Attached"));

    form->Panel3->MappingListBox->setCurrentRow(0);
    Ui.Answers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(form->Panel3->DetachOneBtn, Qt::LeftButton);
    ASSERT_EQ(Runner.Calls.back(), (std::vector<std::string>{"net", "use", "E:", "/DELETE"}));
    QTRY_COMPARE(Described(*form, 0), QStringLiteral("Not attached"));
}

TEST_F(LineStates, TheSystemsWordThatTheNetworkChangedIsLookedAtAtOnce)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    QTRY_COMPARE(Described(*form, 0), QStringLiteral("Not attached"));
    ASSERT_TRUE(Drives.NetworkChanged) << "the window does not listen";
    // Windows' own reconnection brings the letter back, with no command of ours.
    SetConnection('E', {true, Pub, true});
    QTest::qWait(200);
    EXPECT_EQ(Described(*form, 0), QStringLiteral("Not attached")) << "looked without being told";
    std::thread([&] { Drives.NetworkChanged(); }).join();
    QTRY_COMPARE(Described(*form, 0), QStringLiteral("Attached"));
    form.reset();
    EXPECT_FALSE(Drives.NetworkChanged) << "the window still listens after it is gone";
}
