#include "components/Cgauges.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QColor Black(Qt::black);
const QColor White(Qt::white);

int Count(const QImage& image, QRect area, const std::function<bool(QColor)>& test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool IsBlack(QColor c)
{
    return c == Black;
}

bool IsWhite(QColor c)
{
    return c == White;
}

void ExpectFrame(const QImage& image)
{
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(image.pixelColor(i, 0), Black);
        EXPECT_EQ(image.pixelColor(i, 99), Black);
        EXPECT_EQ(image.pixelColor(0, i), Black);
        EXPECT_EQ(image.pixelColor(99, i), Black);
    }
}

// Where the percentage is written: a band across the middle.
const QRect TextBand(20, 35, 60, 30);

} // namespace

TEST(Gauge, TheDefaultsAreAnEmptyFramedBarReading0Percent)
{
    TCGauge gauge;
    EXPECT_EQ(gauge.size(), QSize(100, 100));
    EXPECT_EQ(gauge.Kind(), TCGaugeKind::gkHorizontalBar);
    EXPECT_TRUE(gauge.ShowText());
    EXPECT_EQ(gauge.BorderStyle(), TFormBorderStyle::bsSingle);
    const auto image = gauge.Render();
    ExpectFrame(image);
    EXPECT_EQ(Count(image, QRect(1, 1, 98, 30), IsWhite), 98 * 30) << "the top of the bar is not all white";
    const int text = Count(image, TextBand, IsBlack);
    EXPECT_GT(text, 10) << "no 0% in the middle";
    EXPECT_EQ(Count(image, QRect(1, 1, 98, 98), IsBlack), text) << "black outside the text";
}

TEST(Gauge, HalfFullTheTextIsInvertedOverTheFilledPart)
{
    TCGauge gauge;
    gauge.SetProgress(50);
    const auto image = gauge.Render();
    ExpectFrame(image);
    EXPECT_EQ(image.pixelColor(10, 10), Black);
    EXPECT_EQ(image.pixelColor(47, 10), Black);
    EXPECT_EQ(image.pixelColor(49, 10), White);
    EXPECT_EQ(image.pixelColor(90, 10), White);
    // Over the filled half the digits are white, over the empty half black.
    EXPECT_GT(Count(image, QRect(20, 35, 28, 30), IsWhite), 5);
    EXPECT_GT(Count(image, QRect(50, 35, 30, 30), IsBlack), 5);
}

TEST(Gauge, AVerticalBarFillsFromTheBottom)
{
    TCGauge gauge;
    gauge.SetShowText(false);
    gauge.SeTCGaugeKind(TCGaugeKind::gkVerticalBar);
    gauge.SetProgress(50);
    const auto image = gauge.Render();
    EXPECT_EQ(image.pixelColor(50, 90), Black);
    EXPECT_EQ(image.pixelColor(50, 60), Black);
    EXPECT_EQ(image.pixelColor(50, 40), White);
    gauge.SetProgress(0);
    EXPECT_EQ(Count(gauge.Render(), QRect(1, 1, 98, 98), IsBlack), 0);
}

TEST(Gauge, APieFillsClockwiseFromTwelve)
{
    TCGauge gauge;
    gauge.SetShowText(false);
    gauge.SeTCGaugeKind(TCGaugeKind::gkPie);
    auto image = gauge.Render();
    EXPECT_EQ(image.pixelColor(50, 50), White) << "the empty ellipse";
    EXPECT_EQ(image.pixelColor(50, 1), Black) << "the ellipse's outline";
    EXPECT_EQ(Count(image, QRect(25, 25, 50, 50), IsBlack), 0);

    gauge.SetProgress(25);
    image = gauge.Render();
    EXPECT_EQ(image.pixelColor(70, 30), Black);
    EXPECT_EQ(image.pixelColor(30, 30), White);
    EXPECT_EQ(image.pixelColor(70, 70), White);
    EXPECT_EQ(image.pixelColor(30, 70), White);

    gauge.SetProgress(50);
    image = gauge.Render();
    EXPECT_EQ(image.pixelColor(70, 30), Black);
    EXPECT_EQ(image.pixelColor(70, 70), Black);
    EXPECT_EQ(image.pixelColor(30, 30), White);
    EXPECT_EQ(image.pixelColor(30, 70), White);
}

TEST(Gauge, ANeedleOnAHalfDial)
{
    TCGauge gauge;
    gauge.SetShowText(false);
    gauge.SeTCGaugeKind(TCGaugeKind::gkNeedle);
    auto image = gauge.Render();
    EXPECT_EQ(image.pixelColor(50, 1), Black) << "the dial's top";
    EXPECT_EQ(image.pixelColor(50, 99), Black) << "the base line";
    EXPECT_EQ(image.pixelColor(50, 60), White) << "a needle at 0%";

    // The end point is floored: the needle may lean by a pixel.
    gauge.SetProgress(50);
    image = gauge.Render();
    EXPECT_EQ(Count(image, QRect(49, 60, 2, 1), IsBlack), 1) << "the needle does not point up";
    EXPECT_EQ(Count(image, QRect(20, 50, 25, 40), IsBlack), 0);

    gauge.SetProgress(100);
    image = gauge.Render();
    EXPECT_EQ(Count(image, QRect(49, 60, 2, 1), IsBlack), 0);
    EXPECT_EQ(Count(image, QRect(75, 96, 1, 3), IsBlack), 1) << "the needle does not point right";
    EXPECT_EQ(image.pixelColor(25, 60), White);
}

TEST(Gauge, NoBorderLeavesNoFrame)
{
    TCGauge gauge;
    gauge.SetShowText(false);
    gauge.SetBorderStyle(TFormBorderStyle::bsNone);
    const auto image = gauge.Render();
    EXPECT_EQ(Count(image, QRect(0, 0, 100, 100), IsWhite), 100 * 100);
}

TEST(Gauge, TextKindWithoutTextIsTheBackColourInTheFrame)
{
    TCGauge gauge;
    gauge.SeTCGaugeKind(TCGaugeKind::gkText);
    gauge.SetShowText(false);
    gauge.SetBackColor(QColor(200, 100, 50));
    const auto image = gauge.Render();
    ExpectFrame(image);
    EXPECT_EQ(Count(image, QRect(1, 1, 98, 98), [](QColor c) { return c == QColor(200, 100, 50); }), 98 * 98);
}

TEST(Gauge, OnlyAChangedPercentageRepaintsButAddingAlwaysDoes)
{
    TCGauge gauge;
    gauge.SetMaxValue(1000);
    const int start = gauge.RefreshCount();
    gauge.SetProgress(5);
    EXPECT_EQ(gauge.RefreshCount(), start);
    gauge.AddProgress(5);
    EXPECT_EQ(gauge.RefreshCount(), start + 1);
    gauge.SetProgress(20);
    EXPECT_EQ(gauge.RefreshCount(), start + 2);
    gauge.SetForeColor(Qt::black);
    gauge.SeTCGaugeKind(TCGaugeKind::gkHorizontalBar);
    gauge.SetShowText(true);
    gauge.SetBorderStyle(TFormBorderStyle::bsSingle);
    EXPECT_EQ(gauge.RefreshCount(), start + 2) << "an unchanged property repainted";
    gauge.SetBackColor(Qt::yellow);
    EXPECT_EQ(gauge.RefreshCount(), start + 3);
    EXPECT_THROW(gauge.SetMinValue(2000), EGaugeRange);
    EXPECT_EQ(gauge.RefreshCount(), start + 3);
}
