#include "components/perf_history.h"

#include <gtest/gtest.h>

TEST(PerfHistory, SixteenPointsABandAndNoMore)
{
    PerfHistory ring(35);
    for (int i = 0; i < 16; ++i)
        ring.DataPoint(0xFF0000u, i);
    EXPECT_THROW(ring.DataPoint(0xFF0000u, 99), std::out_of_range);
    EXPECT_EQ(ring.Band(ring.CurrentIndex()).Count, 16);
    EXPECT_EQ(ring.Band(ring.CurrentIndex()).Values[15], 15);
}

TEST(PerfHistory, TheRingKeepsFirstOneAfterCurrent)
{
    PerfHistory ring(4);
    EXPECT_EQ(ring.FirstIndex(), 1);
    EXPECT_EQ(ring.CurrentIndex(), 0);
    for (int step = 0; step < 9; ++step) {
        ring.DataPoint(1, step);
        ring.ShiftY();
        EXPECT_EQ(ring.FirstIndex(), (ring.CurrentIndex() + 1) % 4);
        EXPECT_EQ(ring.Band(ring.CurrentIndex()).Count, 0);
    }
    EXPECT_EQ(ring.MaxValue(), 8);
    int seen = 0;
    for (auto i = ring.NextY(ring.FirstY()); i != -1; i = ring.NextY(i))
        ++seen;
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(ring.LastY(0), 3);
    EXPECT_EQ(ring.LastY(2), 1);
}

TEST(PerfHistory, NegativeValuesNeverRaiseTheMaximum)
{
    PerfHistory ring(3);
    ring.DataPoint(1, -50);
    EXPECT_EQ(ring.MaxValue(), 0);
}

TEST(PerfHistory, NarrowingKeepsTheNewestAndWideningKeepsAll)
{
    PerfHistory ring(6);
    for (int step = 1; step <= 8; ++step) {
        ring.DataPoint(1, step);
        ring.ShiftY();
    }
    // The ring holds steps 4..8 and the empty current band.
    ring.Reallocate(4);
    EXPECT_EQ(ring.Length(), 4);
    EXPECT_EQ(ring.FirstIndex(), (ring.CurrentIndex() + 1) % 4);
    std::vector<int> kept;
    for (auto i = ring.NextY(ring.FirstY()); i != -1; i = ring.NextY(i))
        kept.push_back(ring.Band(i).Count ? ring.Band(i).Values[0] : 0);
    EXPECT_EQ(kept, (std::vector<int>{7, 8, 0}));

    ring.Reallocate(10);
    EXPECT_EQ(ring.FirstIndex(), (ring.CurrentIndex() + 1) % 10);
    kept.clear();
    for (auto i = ring.NextY(ring.FirstY()); i != -1; i = ring.NextY(i))
        kept.push_back(ring.Band(i).Count ? ring.Band(i).Values[0] : 0);
    EXPECT_EQ(kept, (std::vector<int>{0, 0, 0, 0, 0, 6, 7, 8, 0})) << "the steps are not right-aligned";
}

TEST(PerfHistory, RoundUp)
{
    EXPECT_EQ(RoundUp(0, 100), 0);
    EXPECT_EQ(RoundUp(1, 100), 100);
    EXPECT_EQ(RoundUp(1000, 100), 1000);
    EXPECT_EQ(RoundUp(1001, 100), 1100);
    EXPECT_EQ(RoundUp(250, 100), 300);
    EXPECT_EQ(RoundUp(7, 0), 7);
}

TEST(PerfHistory, TheLargestValueSlidesWithTheRing)
{
    // Against every band looked at one by one, through steps and resizes.
    PerfHistory ring(7);
    std::uint32_t seed = 12345;
    const auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int step = 0; step < 2000; ++step) {
        for (int k = static_cast<int>(next() % 4); k > 0; --k)
            ring.DataPoint(1, static_cast<std::int32_t>(next() % 1000) - 100);
        if (step % 97 == 0)
            ring.Reallocate(3 + static_cast<std::int32_t>(next() % 12));
        std::int32_t largest = 0;
        for (std::int32_t i = 0; i < ring.Length(); ++i)
            for (std::int32_t k = 0; k < ring.Band(i).Count; ++k)
                largest = std::max(largest, ring.Band(i).Values[static_cast<std::size_t>(k)]);
        ASSERT_EQ(ring.MaxValue(), largest) << "step " << step;
        ring.ShiftY();
    }
}

TEST(PerfHistory, RoundingUpNearTheLargestIntStaysInRange)
{
    EXPECT_EQ(RoundUp(1001, 100), 1100);
    EXPECT_EQ(RoundUp(2147483600, 100), 2147483600);
    EXPECT_EQ(RoundUp(2147483601, 100), 2147483647);
    EXPECT_EQ(RoundUp(2147483647, 1000), 2147483647);
    EXPECT_EQ(RoundUp(-150, 100), 0);
}
