#include "components/Perfgrap.h"

#include <gtest/gtest.h>

namespace {

const QColor Green(0, 128, 0);
const QColor Black(Qt::black);
const QColor Red(Qt::red);
const QColor Blue(Qt::blue);

// The columns of row y that hold colour.
std::vector<int> ColumnsOf(const QImage& image, int y, QColor color)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == color)
            columns.push_back(x);
    return columns;
}

int CountIn(const QImage& image, QRect area, QColor color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == color ? 1 : 0;
    return n;
}

} // namespace

TEST(PerformanceGraph, ANewGraphIsBlackWithAGreenGrid)
{
    TPerformanceGraph graph;
    const auto& image = graph.Image();
    ASSERT_EQ(image.size(), QSize(100, 100));
    EXPECT_EQ(graph.History().Length(), 35);
    EXPECT_EQ(graph.Scale(), 1000);
    EXPECT_EQ(graph.Gradient(), 100);
    EXPECT_EQ(ColumnsOf(image, 50, Green), (std::vector<int>{14, 29, 44, 59, 74, 89}));
    std::vector<int> rows;
    for (int y = 0; y < 100; ++y)
        if (image.pixelColor(7, y) == Green)
            rows.push_back(y);
    EXPECT_EQ(rows, (std::vector<int>{15, 30, 45, 60, 75, 90}));
    EXPECT_EQ(image.pixelColor(0, 0), Black);
}

TEST(PerformanceGraph, TheSeventeenthPointOfAStepFails)
{
    TPerformanceGraph graph;
    for (int i = 0; i < 16; ++i)
        graph.DataPoint(Red, i);
    EXPECT_THROW(graph.DataPoint(Red, 16), std::out_of_range);
    EXPECT_EQ(graph.History().Band(graph.History().CurrentIndex()).Count, 16);
}

TEST(PerformanceGraph, TheScaleFollowsTheLargestValueUpAndDown)
{
    TPerformanceGraph graph;
    std::vector<int> scales;
    graph.OnScaleChange = [&](TPerformanceGraph& changed) { scales.push_back(changed.Scale()); };
    graph.DataPoint(Red, 250);
    graph.Update();
    EXPECT_EQ(graph.Scale(), 300);
    for (int step = 0; step < 40; ++step) {
        graph.DataPoint(Red, 40);
        graph.Update();
    }
    EXPECT_EQ(graph.Scale(), 100);
    EXPECT_EQ(scales, (std::vector<int>{300, 100}));
}

TEST(PerformanceGraph, AnOrdinaryStepScrollsAndDrawsOneBandWithoutAReplay)
{
    TPerformanceGraph graph;
    graph.SetGridlines(false);
    graph.SetScale(100);
    const int replays = graph.ReplayCount();
    graph.SetGraphKind(TGraphKind::pgBar);
    const int afterKind = graph.ReplayCount();
    EXPECT_EQ(afterKind, replays + 1);
    graph.DataPoint(Red, 50);
    graph.Update();
    graph.DataPoint(Red, 60);
    graph.Update();
    EXPECT_EQ(graph.ReplayCount(), afterKind) << "a step redrew the whole picture";
    const auto& image = graph.Image();
    // The newer step at the right edge, the older one a step to its left.
    EXPECT_EQ(image.pixelColor(98, 45), Red);
    EXPECT_EQ(image.pixelColor(98, 38), Black);
    EXPECT_EQ(image.pixelColor(95, 55), Red);
    EXPECT_EQ(image.pixelColor(95, 45), Black);
}

TEST(PerformanceGraph, BarsStackInTheirOwnColours)
{
    TPerformanceGraph graph;
    graph.SetGridlines(false);
    graph.SetGraphKind(TGraphKind::pgBar);
    graph.DataPoint(Red, 10);
    graph.DataPoint(Blue, 30);
    graph.Update();
    ASSERT_EQ(graph.Scale(), 100);
    const auto& image = graph.Image();
    const QRect band(97, 0, 3, 100);
    EXPECT_EQ(image.pixelColor(98, 95), Red);
    EXPECT_EQ(image.pixelColor(98, 80), Blue);
    EXPECT_EQ(image.pixelColor(98, 65), Black);
    EXPECT_EQ(CountIn(image, band, Red), 3 * 10);
    EXPECT_EQ(CountIn(image, band, Blue), 3 * 21);
}

TEST(PerformanceGraph, LinesStartFromTheBottomAfterAZero)
{
    TPerformanceGraph graph;
    graph.SetGridlines(false);
    graph.SetScale(100);
    graph.DataPoint(Red, 0);
    graph.Update();
    EXPECT_EQ(CountIn(graph.Image(), QRect(0, 0, 100, 100), Red), 0) << "a zero was drawn";
    graph.DataPoint(Red, 50);
    graph.Update();
    const auto& image = graph.Image();
    EXPECT_GT(CountIn(image, QRect(96, 85, 4, 15), Red), 0) << "the line does not start near the bottom";
    EXPECT_GT(CountIn(image, QRect(96, 45, 4, 10), Red), 0) << "the line does not reach 50";
}

TEST(PerformanceGraph, NegativeValuesAreNeitherDrawnNorScaled)
{
    TPerformanceGraph graph;
    graph.SetGridlines(false);
    graph.SetGraphKind(TGraphKind::pgBar);
    graph.DataPoint(Red, -500);
    graph.Update();
    EXPECT_EQ(graph.Scale(), 0);
    EXPECT_EQ(CountIn(graph.Image(), QRect(0, 0, 100, 100), Red), 0);
}

TEST(PerformanceGraph, SizesBelowTheirLimitsAreRaised)
{
    TPerformanceGraph graph;
    graph.SetStepSize(0);
    EXPECT_EQ(graph.StepSize(), 1);
    EXPECT_EQ(graph.History().Length(), 102);
    graph.SetGridSize(1);
    EXPECT_EQ(graph.GridSize(), 2);
}

TEST(PerformanceGraph, TheVerticalGridScrollsWithoutSkippingALine)
{
    TPerformanceGraph graph;
    // Long enough to go round the picture's ring several times.
    for (int step = 0; step < 150; ++step) {
        graph.Update();
        const auto columns = ColumnsOf(graph.Image(), 50, Green);
        ASSERT_GE(columns.size(), 6u);
        for (std::size_t i = 1; i < columns.size(); ++i)
            ASSERT_EQ(columns[i] - columns[i - 1], 15) << "step " << step;
        ASSERT_GE(columns.front(), 0);
        ASSERT_LT(columns.front(), 15);
    }
}

TEST(PerformanceGraph, NarrowingDropsTheOldestAndWideningKeepsAllRightAligned)
{
    TPerformanceGraph graph;
    graph.SetGridlines(false);
    graph.SetGraphKind(TGraphKind::pgBar);
    for (int step = 1; step <= 30; ++step) {
        graph.DataPoint(step == 30 ? Blue : Red, 90);
        graph.Update();
    }
    graph.resize(50, 100);
    auto image = graph.grab().toImage();
    EXPECT_EQ(graph.History().Length(), 18);
    EXPECT_EQ(image.pixelColor(48, 50), Blue) << "the newest step is not at the right edge";
    EXPECT_EQ(image.pixelColor(45, 50), Red);

    graph.resize(200, 100);
    image = graph.grab().toImage();
    EXPECT_EQ(graph.History().Length(), 68);
    EXPECT_EQ(image.pixelColor(198, 50), Blue);
    EXPECT_EQ(CountIn(image, QRect(0, 50, 200, 1), Red), 16 * 3) << "steps were lost";
}

TEST(PerformanceGraph, ABandAcrossTheSeamOfThePicturesRingIsDrawnWhole)
{
    // Steps of 3 on 100 columns: the newest band crosses the ring's seam
    // now and then, and each one must still show whole at the right edge.
    TPerformanceGraph graph;
    graph.SetGridlines(false);
    graph.SetGraphKind(TGraphKind::pgBar);
    graph.SetScale(100);
    const int replays = graph.ReplayCount();
    for (int step = 0; step < 120; ++step) {
        graph.DataPoint(step % 2 == 0 ? Red : Blue, 100);
        graph.Update();
        const auto image = graph.Image();
        const QColor newest = step % 2 == 0 ? Red : Blue;
        for (int x = 97; x < 100; ++x)
            ASSERT_EQ(image.pixelColor(x, 50), newest) << "step " << step << " column " << x;
        ASSERT_NE(image.pixelColor(96, 50), newest) << "step " << step;
    }
    EXPECT_EQ(graph.ReplayCount(), replays) << "a step redrew the whole picture";

    // A wide line across the seam: the same pixels as the picture drawn anew.
    graph.SetGraphKind(TGraphKind::pgLine);
    graph.SetPenWidth(5);
    for (int step = 0; step < 67; ++step) {
        graph.DataPoint(Red, step % 2 == 0 ? 10 : 90);
        graph.Update();
    }
    const auto stepped = graph.Image();
    const auto steppedRight = stepped.copy(97, 0, 3, 100);
    graph.SetBackColor(Qt::black);
    graph.SetGridlines(true);
    graph.SetGridlines(false);
    EXPECT_EQ(graph.Image().copy(97, 0, 3, 100), steppedRight);
}
