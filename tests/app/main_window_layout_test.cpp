#include "support/main_window_fixture.h"

#include "catalogue/catalogue_list_view.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>

namespace {

struct ControlRow {
    const char* Name;
    const char* Caption;  // text, caption or first item
    const char* Hint;
    bool Enabled;
    int HelpContext;
};

const ControlRow Controls[] = {
    {"ProfileComboBox", "Default Network Mapping List",
     "You should only select the profile! Use the Add button to create a new profile!", true, 3050},
    {"AddProfileBtn", "&Add", "", true, 3050},
    {"RemoveProfileBtn", "&Remove", "", false, 3050},
    {"AvailableListView", nullptr, "", true, 3030},
    {"NetworkPathEdit", "", "", true, 3030},
    {"DescriptionEdit", "", "", true, 3030},
    {"RequiresPWLabel", " ", "", true, 1016},
    {"AddBtn", "&Add", "", true, 3030},
    {"EditBtn", "&Edit", "", false, 3030},
    {"RemoveBtn", "&Remove", "", false, 3030},
    {"RightBtn", "", " Add selected network path to the mapping list...", false, 3040},
    {"LeftBtn", "", " Remove selected network connection from the mapping list...", false, 3040},
    {"MappingListBox", nullptr, "", true, 3040},
    {"AttachAllBtn", "&Attach All", "", false, 3040},
    {"DetachAllBtn", "&Detach All", "", false, 3040},
    {"DriveBtn", "&Change Drive", "", false, 3040},
    {"AttachOneBtn", "Attach &1", "", false, 3040},
    {"DetachOneBtn", "D&etach 1", "", false, 3040},
    {"SaveBtn", "&Save Profile", "", false, 3040},
    {"RestoreConnectionCheckBox", "Restore at next login...", "", true, 3040},
    {"HelpBtn", "&Help", "", true, -1},
    {"AboutBtn", "&About", "", true, 3060},
    {"ExitBtn", "&Exit", "", true, 3060},
    {"P1Label", "Profile List:", "", true, 1009},
    {"Label2", " Available Network Paths", "", true, 1001},
    {"Label3", " Network Map Group", "", true, 1002},
    {"NetworkPathLabel", "Network Path:", "", true, 1015},
    {"DescriptionLabel", "Description:", "", true, 1014},
    {"Panel1", nullptr, "", true, 3050},
    {"Panel2", nullptr, "", true, 3030},
    {"Panel3", nullptr, "", true, 3040},
};

QString CaptionOf(QWidget* widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->itemText(0);
    return {};
}

} // namespace

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, TheWindowIsFixedCaptionedAndHasOnlyCloseAndHelp)
{
    WriteCatalogue("0 2.0");
    auto form = StartShown();
    EXPECT_EQ(form->windowTitle(), QStringLiteral(" Corvane V 2.0"));
    EXPECT_EQ(form->size(), QSize(722, 507));
    EXPECT_EQ(form->minimumSize(), QSize(722, 507));
    EXPECT_EQ(form->maximumSize(), QSize(722, 507));
    const auto flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form->property("helpContext").toInt(), 1000);
    EXPECT_EQ(form->font().pointSize(), 8);
}

TEST_F(MainWindowLayout, TheProgramIconComesRightAfterTheFirstPaint)
{
    WriteCatalogue("0 2.0");
    auto form = Start();
    EXPECT_TRUE(form->windowIcon().isNull());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTRY_VERIFY(!form->windowIcon().isNull());
    EXPECT_EQ(form->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {256, 256}}));
    EXPECT_EQ(form->windowHandle()->icon().cacheKey(), form->windowIcon().cacheKey());
}

TEST_F(MainWindowLayout, EveryControlHasItsNameCaptionHintStartStateAndHelpContext)
{
    WriteCatalogue("0 2.0");
    auto form = StartShown();
    for (const auto& row : Controls) {
        SCOPED_TRACE(row.Name);
        auto* widget = form->findChild<QWidget*>(QLatin1StringView(row.Name));
        ASSERT_NE(widget, nullptr);
        if (row.Caption) {
            EXPECT_EQ(CaptionOf(widget), QString::fromLatin1(row.Caption));
        }
        EXPECT_EQ(widget->toolTip(), QString::fromLatin1(row.Hint));
        EXPECT_EQ(widget->isEnabled(), row.Enabled);
        EXPECT_EQ(widget->property("helpContext").isValid() ? widget->property("helpContext").toInt() : -1,
                  row.HelpContext);
        EXPECT_TRUE(widget->isVisible());
        EXPECT_TRUE(form->rect().contains(widget->geometry().translated(widget->parentWidget()->mapTo(
            form.get(), QPoint(0, 0))))) << "outside the window";
    }
    EXPECT_FALSE(form->Panel3->RestoreConnectionCheckBox->isChecked());
    EXPECT_TRUE(form->Panel1->ProfileComboBox->isEditable());
    EXPECT_TRUE(form->Panel2->NetworkPathEdit->isReadOnly());
    EXPECT_TRUE(form->Panel2->DescriptionEdit->isReadOnly());
    EXPECT_EQ(form->Panel3->MappingListBox->count(), 0);
    EXPECT_EQ(form->Panel2->RequiresPWLabel->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_TRUE(form->Panel1->P1Label->font().bold());
    EXPECT_TRUE(form->Label2->font().bold());
    EXPECT_TRUE(form->Label3->font().bold());
    // The arrows: black on the side they point to, clear on the other.
    const auto right = form->RightBtn->icon().pixmap(20, 20).toImage();
    const auto left = form->LeftBtn->icon().pixmap(20, 20).toImage();
    EXPECT_EQ(right.pixelColor(7, 10), QColor(Qt::black));
    EXPECT_EQ(right.pixelColor(17, 10).alpha(), 0);
    EXPECT_EQ(left.pixelColor(12, 10), QColor(Qt::black));
    EXPECT_EQ(left.pixelColor(2, 10).alpha(), 0);
    EXPECT_FALSE(form->HelpBtn->icon().isNull());
}

TEST_F(MainWindowLayout, TabOrderRunsFromTheBottomButtonsThroughThePanels)
{
    WriteCatalogue("0 2.0");
    auto form = StartShown();
    const char* expected[] = {"HelpBtn", "AboutBtn", "ExitBtn", "ProfileComboBox", "AddProfileBtn",
                              "RemoveProfileBtn", "AvailableListView", "NetworkPathEdit", "DescriptionEdit",
                              "AddBtn", "EditBtn", "RemoveBtn", "RightBtn", "LeftBtn", "MappingListBox",
                              "AttachAllBtn", "DetachAllBtn", "DriveBtn", "AttachOneBtn", "DetachOneBtn",
                              "SaveBtn", "RestoreConnectionCheckBox"};
    QWidget* widget = form->HelpBtn;
    for (const char* name : expected) {
        // Disabled controls are skipped by the Tab key, but keep their place in the chain.
        EXPECT_EQ(widget->objectName(), QLatin1StringView(name));
        widget = NextTabStop(widget);
    }
    for (const char* name : expected) {
        auto* control = form->findChild<QWidget*>(QLatin1StringView(name));
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus) << name << " cannot be reached with Tab";
    }
}

TEST_F(MainWindowLayout, ControlsWithoutACaptionCarryAnAccessibleName)
{
    WriteCatalogue("0 2.0");
    auto form = StartShown();
    EXPECT_EQ(form->RightBtn->accessibleName(), QStringLiteral("Add selected network path to the mapping list..."));
    EXPECT_EQ(form->LeftBtn->accessibleName(),
              QStringLiteral("Remove selected network connection from the mapping list..."));
    EXPECT_EQ(form->Panel2->AvailableListView->accessibleName(), QStringLiteral("Available Network Paths"));
    EXPECT_EQ(form->Panel3->MappingListBox->accessibleName(), QStringLiteral("Network Map Group"));
    EXPECT_EQ(form->Panel2->NetworkPathEdit->accessibleName(), QStringLiteral("Network Path:"));
    EXPECT_EQ(form->Panel2->DescriptionEdit->accessibleName(), QStringLiteral("Description:"));
    EXPECT_EQ(form->Panel1->ProfileComboBox->accessibleName(), QStringLiteral("Profile List:"));
}
