#include "support/main_window_fixture.h"

#include "catalogue/catalogue_list_view.h"
#include "catalogue/catalogue_model.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <set>

namespace {

const std::string ThreeEntries = "3 2.0\r\n"
                                 "0,\\\\srv\\pub2\r\nSecond public\r\n"
                                 "1,\\\\beta\\secret\r\nKeys, please\r\n"
                                 "0,\\\\Alpha\\pub\r\n";

struct PanelState {
    QString Path;
    QString Description;
    QString Label;
    bool Add;
    bool Edit;
    bool Remove;
    bool Right;
    bool Edits;

    friend bool operator==(const PanelState&, const PanelState&) = default;
    friend std::ostream& operator<<(std::ostream& out, const PanelState& s)
    {
        return out << '"' << s.Path.toStdString() << "\" \"" << s.Description.toStdString() << "\" \""
                   << s.Label.toStdString() << "\" add " << s.Add << " edit " << s.Edit << " remove " << s.Remove
                   << " right " << s.Right << " edits " << s.Edits;
    }
};

PanelState Panel(const TMainPRGForm& form)
{
    EXPECT_EQ(form.Panel2->NetworkPathEdit->isEnabled(), form.Panel2->DescriptionEdit->isEnabled());
    return {form.Panel2->NetworkPathEdit->text(), form.Panel2->DescriptionEdit->text(), form.Panel2->RequiresPWLabel->text(),
            form.Panel2->AddBtn->isEnabled(),     form.Panel2->EditBtn->isEnabled(),     form.Panel2->RemoveBtn->isEnabled(),
            form.RightBtn->isEnabled(),   form.Panel2->NetworkPathEdit->isEnabled()};
}

// Paths already in order, each with an empty description.
std::string FiveThousandEntries()
{
    std::string bytes = "5000 2.0";
    for (int i = 10000; i < 15000; ++i)
        bytes += "\r\n0,\\\\srv\\share" + std::to_string(i) + "\r\n";
    return bytes;
}

const QString Requires = QStringLiteral("Requires Username and Password");
const QString NotRequired = QStringLiteral("No Username and Password required");

} // namespace

using CatalogueView = MainWindowTest;

TEST_F(CatalogueView, StartShowsTheSortedCatalogueWithTheLastRowSelectedAndNoDetails)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(ShownRows(*form),
              (std::vector<std::string>{"\\\\Alpha\\pub", "\\\\beta\\secret", "\\\\srv\\pub2"}));
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{2});
    EXPECT_FALSE(form->Panel2->AvailableListView->currentIndex().isValid());
    EXPECT_EQ(Panel(*form), (PanelState{{}, {}, QStringLiteral(" "), true, false, true, true, true}));
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 0);
}

TEST_F(CatalogueView, RowsCarryTheImageOfTheirCredentialsFlag)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    const auto* model = form->Panel2->AvailableListView->model();
    const auto imageOf = [&](int row) {
        return qvariant_cast<QIcon>(model->index(row, 0).data(Qt::DecorationRole)).cacheKey();
    };
    EXPECT_EQ(imageOf(0), form->Panel2->ImageList1[0].cacheKey());
    EXPECT_EQ(imageOf(1), form->Panel2->ImageList1[1].cacheKey());
    EXPECT_EQ(imageOf(2), form->Panel2->ImageList1[0].cacheKey());
    EXPECT_EQ(model->columnCount(), 2);
    EXPECT_FALSE(model->index(0, 1).data().isValid());
    for (const auto* header : form->Panel2->AvailableListView->findChildren<QHeaderView*>())
        EXPECT_FALSE(header->isVisible());
    EXPECT_EQ(form->Panel2->AvailableListView->visualRect(model->index(0, 0)).top(), 0) << "something stands above the rows";
    EXPECT_EQ(form->Panel2->AvailableListView->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(form->Panel2->AvailableListView->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(CatalogueView, TheImagesAreATickAndAKey)
{
    auto form = Start();
    const auto tick = form->Panel2->ImageList1[0].pixmap(16, 16).toImage();
    const auto key = form->Panel2->ImageList1[1].pixmap(16, 16).toImage();
    ASSERT_EQ(tick.size(), QSize(16, 16));
    ASSERT_EQ(key.size(), QSize(16, 16));
    const auto count = [](const QImage& image, auto&& test) {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                n += test(image.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    const auto red = [](QColor c) { return c.alpha() > 128 && c.red() > 150 && c.green() < 80 && c.blue() < 80; };
    const auto gold = [](QColor c) { return c.alpha() > 128 && c.red() > 150 && c.green() > 100 && c.blue() < 60; };
    EXPECT_GT(count(tick, red), 15);
    EXPECT_EQ(count(tick, gold), 0);
    EXPECT_GT(count(key, gold), 15);
    EXPECT_EQ(count(key, red), 0);
}

TEST_F(CatalogueView, AClickShowsTheEntryAndSetsTheSelectedIndex)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    ClickRow(*form, 1);
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);
    EXPECT_EQ(Panel(*form), (PanelState{QStringLiteral("\\\\beta\\secret"), QStringLiteral("Keys, please"), Requires,
                                        true, true, true, true, true}));
    ClickRow(*form, 2);
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 2);
    EXPECT_EQ(Panel(*form), (PanelState{QStringLiteral("\\\\srv\\pub2"), QStringLiteral("Second public"),
                                        NotRequired, true, true, true, true, true}));
    ClickRow(*form, 0);
    EXPECT_EQ(Panel(*form).Description, QString());
}

TEST_F(CatalogueView, TwoSelectedRowsEmptyTheDetailsAndDisableAllButRemove)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    ClickRow(*form, 1);
    ClickRow(*form, 0, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{0, 1}));
    EXPECT_EQ(Panel(*form), (PanelState{{}, {}, {}, false, false, true, false, false}));
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);

    // A click below the rows clears the selection and changes nothing else.
    ClickBelowRows(*form);
    EXPECT_TRUE(SelectedRows(*form).empty());
    EXPECT_EQ(Panel(*form), (PanelState{{}, {}, {}, false, false, true, false, false}));
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);

    ClickRow(*form, 2);
    EXPECT_EQ(Panel(*form), (PanelState{QStringLiteral("\\\\srv\\pub2"), QStringLiteral("Second public"),
                                        NotRequired, true, true, true, true, true}));
}

TEST_F(CatalogueView, AShiftClickRangeCountsAsSeveralRows)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    ClickRow(*form, 0);
    ClickRow(*form, 2, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(form->Panel2->EditBtn->isEnabled());
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 0);
}

TEST_F(CatalogueView, KeyboardMovesLeaveTheDetailsOnTheLastClickedEntry)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    ClickRow(*form, 0);
    QTest::keyClick(form->Panel2->AvailableListView, Qt::Key_Down);
    QTest::keyClick(form->Panel2->AvailableListView, Qt::Key_Down);
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{2});
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 0);
    EXPECT_EQ(form->Panel2->NetworkPathEdit->text(), QStringLiteral("\\\\Alpha\\pub"));
}

TEST_F(CatalogueView, ARefreshWithDetailsShowsTheLastRowNotTheNewEntry)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    form->Panel2->AvailablePathList.push_back({"\\\\gamma\\new", "Just added", 1});
    form->Panel2->RefreshCatalogueView(true);
    EXPECT_EQ(ShownRows(*form), (std::vector<std::string>{"\\\\Alpha\\pub", "\\\\beta\\secret", "\\\\gamma\\new",
                                                          "\\\\srv\\pub2"}));
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{3});
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 3);
    EXPECT_EQ(Panel(*form), (PanelState{QStringLiteral("\\\\srv\\pub2"), QStringLiteral("Second public"),
                                        NotRequired, true, true, true, true, true}));
    EXPECT_EQ(form->focusWidget(), form->Panel2->AvailableListView);
}

TEST_F(CatalogueView, ARefreshOfAnEmptyCatalogueSelectsNothingAndKeepsTheDetails)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    ClickRow(*form, 1);
    const auto before = Panel(*form);
    form->Panel2->AvailablePathList.clear();
    form->Panel2->RefreshCatalogueView(true);
    EXPECT_TRUE(ShownRows(*form).empty());
    EXPECT_TRUE(SelectedRows(*form).empty());
    EXPECT_EQ(Panel(*form), before);
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);
}

TEST_F(CatalogueView, ARefreshWithoutDetailsLeavesPanelButtonsAndIndexAlone)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    ClickRow(*form, 1);
    ClickRow(*form, 0, Qt::ControlModifier);
    form->Panel2->RefreshCatalogueView(false);
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{2});
    EXPECT_EQ(Panel(*form), (PanelState{{}, {}, {}, false, false, true, false, false}));
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);
}

TEST_F(CatalogueView, PathsThatDifferOnlyInCaseAreBothShown)
{
    WriteCatalogue("2 2.0\r\n0,\\\\SRV\\A\r\nupper\r\n0,\\\\srv\\a\r\nlower");
    auto form = StartShown();
    auto rows = ShownRows(*form);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"\\\\SRV\\A", "\\\\srv\\a"}));
}

TEST_F(CatalogueView, EveryRowIsAsWideAsTheWidestPath)
{
    WriteCatalogue("1 2.0\r\n0,\\\\a\r\n");
    auto form = StartShown();
    auto* view = form->Panel2->AvailableListView;
    const auto advance = [&](const QString& text) { return view->fontMetrics().horizontalAdvance(text); };
    // Narrow letters in the longest path, and wide ones in a shorter one
    // wherever the font's letters differ in width.
    const auto wide = 300 * advance(QStringLiteral("i")) / advance(QStringLiteral("W")) + 20;
    const auto widest = QStringLiteral("\\\\") + QString(wide, u'W');
    ASSERT_GT(advance(widest), advance(QString(300, u'i')));
    form->Panel2->AvailablePathList.push_back({"\\\\" + std::string(300, 'i'), "", 0});
    form->Panel2->AvailablePathList.push_back({widest.toStdString(), "", 0});
    form->Panel2->RefreshCatalogueView(false);
    QApplication::processEvents();
    const auto rowWidth = [&](int row) { return view->visualRect(view->model()->index(row, 0)).width(); };
    EXPECT_GT(rowWidth(0), advance(widest));
    EXPECT_LT(rowWidth(0), advance(widest) + 100);
    EXPECT_EQ(rowWidth(1), rowWidth(0));
    EXPECT_EQ(rowWidth(2), rowWidth(0));
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), rowWidth(0) - view->viewport()->width());

    // Letters beyond ASCII, and a path added later, widen the rows again.
    std::string umlauts;
    for (int i = 0; i < 250; ++i)
        umlauts += "\xC3\x9C";
    form->Panel2->AvailablePathList.push_back({"\\\\" + umlauts, "", 0});
    form->Panel2->RefreshCatalogueView(false);
    QApplication::processEvents();
    EXPECT_GT(rowWidth(0), advance(QStringLiteral("\\\\") + QString(250, QChar(0xDC))));
    EXPECT_EQ(rowWidth(3), rowWidth(0));

    // Tabs reach to their tab stops, past a path of more letters: the end of
    // such a path can be scrolled to.
    const auto tabStop = advance(QStringLiteral("\t"));
    const auto letters = (10 + 6) * view->fontMetrics().maxWidth() / advance(QStringLiteral("W")) + 1;
    ASSERT_LT(advance(QString(letters + 2, u'W')), 10 * tabStop);
    form->Panel2->AvailablePathList.clear();
    form->Panel2->AvailablePathList.push_back({"\\\\" + std::string(10, '\t') + "end", "", 0});
    form->Panel2->AvailablePathList.push_back({"\\\\" + std::string(static_cast<std::size_t>(letters), 'W'), "", 0});
    form->Panel2->RefreshCatalogueView(false);
    QApplication::processEvents();
    EXPECT_GT(rowWidth(0), 10 * tabStop);

    // No rows, no width.
    form->Panel2->AvailablePathList.clear();
    form->Panel2->RefreshCatalogueView(false);
    EXPECT_EQ(view->RowWidth(), 0);
}

TEST_F(CatalogueView, ThousandsOfRowsShowAtOnceAndReachTheirEnd)
{
    WriteCatalogue(FiveThousandEntries());
    auto form = StartShown();
    auto* view = form->Panel2->AvailableListView;
    const auto* model = view->model();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QApplication::processEvents();
    EXPECT_EQ(view->indexAt(view->visualRect(model->index(0, 0)).center()).row(), 0);

    view->setFocus();
    view->setCurrentIndex(model->index(0, 0));
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(view->currentIndex().row(), 4999);
    const auto last = view->visualRect(model->index(4999, 0));
    EXPECT_TRUE(view->viewport()->rect().contains(last));
    EXPECT_EQ(view->indexAt(last.center()).row(), 4999);
}

TEST_F(CatalogueView, AClickRightOfAShortPathTakesItsRow)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    auto* view = form->Panel2->AvailableListView;
    const auto farRight = [&](int row) {
        return QPoint(view->viewport()->width() - 3, view->visualRect(view->model()->index(row, 0)).center().y());
    };
    ASSERT_GT(farRight(0).x(), view->RowWidth());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, farRight(1));
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{1});
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, farRight(2));
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{1, 2}));
}

TEST_F(CatalogueView, AScreenReaderReadsThePathsInOrderAndSelectsRows)
{
    WriteCatalogue(ThreeEntries);
    auto form = StartShown();
    auto* list = QAccessible::queryAccessibleInterface(form->Panel2->AvailableListView);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Available Network Paths"));
    auto* table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << table->cellAt(row, 0)->text(QAccessible::Name);
    EXPECT_EQ(rows, (QStringList{QStringLiteral("\\\\Alpha\\pub"), QStringLiteral("\\\\beta\\secret"),
                                 QStringLiteral("\\\\srv\\pub2")}));

    // A toggle adds a row to the selection, as a click with the control key does.
    auto* beta = table->cellAt(1, 0)->actionInterface();
    ASSERT_NE(beta, nullptr);
    beta->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(SelectedRows(*form), (std::vector<int>{1, 2}));
    beta->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{2});
}

TEST_F(CatalogueView, AShiftClickReachesBackToARowScrolledOutOfView)
{
    WriteCatalogue(FiveThousandEntries());
    auto form = StartShown();
    auto* view = form->Panel2->AvailableListView;
    ClickRow(*form, 0);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    const auto bottom = view->model()->index(4999, 0);
    ASSERT_TRUE(view->viewport()->rect().contains(view->visualRect(bottom)));
    ASSERT_LT(view->visualRect(view->model()->index(0, 0)).bottom(), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, view->visualRect(bottom).center());
    const auto rows = SelectedRows(*form);
    ASSERT_EQ(rows.size(), bottom.row() + 1u);
    EXPECT_EQ(rows.front(), 0);
    EXPECT_EQ(rows.back(), bottom.row());
}

TEST_F(CatalogueView, ArrowsAsideScrollALongPathAndAMoveShowsWhereItsRowBegins)
{
    WriteCatalogue("2 2.0\r\n0,\\\\a\\" + std::string(200, 'x') + "\r\n\r\n0,\\\\b\r\n");
    auto form = StartShown();
    auto* view = form->Panel2->AvailableListView;
    auto* bar = view->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 3 * bar->singleStep());
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(bar->value(), 3 * bar->singleStep());
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(bar->value(), 2 * bar->singleStep());
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(view->visualRect(view->currentIndex()).left(), -bar->value());

    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->currentIndex().row(), 1);
    EXPECT_EQ(bar->value(), 0);
}

namespace {

// A list of a million rows that notes which rows it was asked for.
class MillionRows final : public QAbstractListModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1'000'000; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        Asked.insert(index.row());
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("row %1").arg(index.row())) : QVariant();
    }

    mutable std::set<int> Asked;
};

} // namespace

TEST(CatalogueListViewRows, AMillionRowsAreAskedForOnlyWhereShownAndScrollByWholeRows)
{
    MillionRows rows;
    CatalogueListView view(nullptr);
    view.resize(240, 160);
    view.setModel(&rows);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.viewport()->repaint();
    const int height = view.visualRect(rows.index(0)).height();
    ASSERT_GT(height, 0);
    const int shown = view.viewport()->height() / height;
    ASSERT_GT(shown, 2);
    ASSERT_FALSE(rows.Asked.empty());
    EXPECT_LE(*rows.Asked.rbegin(), shown + 1) << "rows out of view were asked for";

    rows.Asked.clear();
    view.setFocus();
    view.setCurrentIndex(rows.index(0));
    QTest::keyClick(&view, Qt::Key_End);
    view.viewport()->repaint();
    const auto last = rows.index(999'999);
    EXPECT_EQ(view.currentIndex(), last);
    EXPECT_EQ(view.visualRect(last).bottom(), shown * height - 1) << "the last row is not the last one shown";
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum()) << "it scrolls past its end";
    EXPECT_EQ(view.visualRect(view.indexAt(QPoint(3, 0))).top(), 0) << "the top row is cut";
    EXPECT_EQ(view.indexAt(view.visualRect(last).center()), last);
    ASSERT_FALSE(rows.Asked.empty());
    EXPECT_GE(*rows.Asked.begin(), 999'999 - shown - 1) << "rows out of view were asked for";

    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(view.currentIndex().row(), 999'999 - (shown - 1));
    EXPECT_EQ(view.visualRect(view.currentIndex()).top(), 0);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.currentIndex(), last);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.currentIndex().row(), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_FALSE(view.indexAt(QPoint(3, -1)).isValid());
}
