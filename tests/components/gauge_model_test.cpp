#include "components/gauge_model.h"

#include <gtest/gtest.h>

TEST(GaugeModel, PercentDoneIsTheFloorOfTheShare)
{
    GaugeModel gauge;
    EXPECT_EQ(gauge.GetPercentDone(), 0);
    gauge.SetProgress(50);
    EXPECT_EQ(gauge.GetPercentDone(), 50);
    gauge.SetMaxValue(300);
    gauge.SetProgress(299);
    EXPECT_EQ(gauge.GetPercentDone(), 99);

    GaugeModel negative;
    negative.SetMinValue(-100);
    negative.SetMaxValue(0);
    negative.SetProgress(-50);
    EXPECT_EQ(negative.GetPercentDone(), 50);
}

TEST(GaugeModel, ProgressIsClampedToTheRange)
{
    GaugeModel gauge;
    gauge.SetProgress(1000);
    EXPECT_EQ(gauge.Progress(), 100);
    gauge.SetProgress(-5);
    EXPECT_EQ(gauge.Progress(), 0);
    gauge.SetProgress(40);
    gauge.SetMinValue(60);
    EXPECT_EQ(gauge.Progress(), 60);
    gauge.SetMaxValue(80);
    gauge.SetProgress(75);
    gauge.SetMaxValue(70);
    EXPECT_EQ(gauge.Progress(), 70);
}

TEST(GaugeModel, RangeErrorsNameTheirBoundsAndChangeNothing)
{
    GaugeModel gauge;
    try {
        gauge.SetMinValue(200);
        FAIL() << "no error";
    } catch (const EGaugeRange& error) {
        EXPECT_STREQ(error.what(), "Value must be between -2147483647 and 99");
    }
    try {
        gauge.SetMaxValue(-5);
        FAIL() << "no error";
    } catch (const EGaugeRange& error) {
        EXPECT_STREQ(error.what(), "Value must be between 1 and 2147483647");
    }
    EXPECT_EQ(gauge.MinValue(), 0);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_TRUE(gauge.SetMinValue(100)) << "a minimum equal to the maximum is allowed";
    EXPECT_EQ(gauge.GetPercentDone(), 0);
    EXPECT_EQ(gauge.Progress(), 100);
}

TEST(GaugeModel, OnlyAChangedWholePercentageAsksForAPaint)
{
    GaugeModel gauge;
    gauge.SetMaxValue(1000);
    EXPECT_FALSE(gauge.SetProgress(5));
    EXPECT_EQ(gauge.Progress(), 5);
    EXPECT_TRUE(gauge.SetProgress(10));
    EXPECT_FALSE(gauge.SetProgress(10));
    EXPECT_FALSE(gauge.SetMinValue(0));
    EXPECT_FALSE(gauge.SetMaxValue(1000));
}

TEST(GaugeModel, FillLength)
{
    EXPECT_EQ(GaugeModel::FillLength(50, 99), 49);
    EXPECT_EQ(GaugeModel::FillLength(100, 98), 98);
    EXPECT_EQ(GaugeModel::FillLength(0, 98), 0);
    EXPECT_EQ(GaugeModel::FillLength(33, 10), 3);
}
