#include "perf_history.h"

#include <algorithm>

PerfHistory::PerfHistory(std::int32_t length) : Bands(static_cast<std::size_t>(std::max(length, 2))) {}

void PerfHistory::DataPoint(std::uint32_t color, std::int32_t value)
{
    auto& band = Bands[static_cast<std::size_t>(Current)];
    if (band.Count >= 16)
        throw std::out_of_range("");
    band.Colors[static_cast<std::size_t>(band.Count)] = color;
    band.Values[static_cast<std::size_t>(band.Count)] = value;
    ++band.Count;
}

std::int32_t PerfHistory::NextY(std::int32_t i) const
{
    const auto next = i + 1 == Length() ? 0 : i + 1;
    return next == First ? -1 : next;
}

std::int32_t PerfHistory::LastY(std::int32_t i) const
{
    return i == 0 ? Length() - 1 : i - 1;
}

void PerfHistory::ShiftY()
{
    const auto next = Current + 1 == Length() ? 0 : Current + 1;
    Bands[static_cast<std::size_t>(next)].Count = 0;
    First = next + 1 == Length() ? 0 : next + 1;
    Current = next;
}

std::int32_t PerfHistory::MaxValue() const
{
    std::int32_t largest = 0;
    for (const auto& band : Bands) {
        for (std::int32_t k = 0; k < band.Count; ++k)
            largest = std::max(largest, band.Values[static_cast<std::size_t>(k)]);
    }
    return largest;
}

void PerfHistory::Reallocate(std::int32_t length)
{
    length = std::max(length, 2);
    std::vector<BandRecord> fresh(static_cast<std::size_t>(length));
    std::int32_t i = First;
    for (std::int32_t drop = Length() - length; drop > 0; --drop)
        i = i + 1 == Length() ? 0 : i + 1;
    std::int32_t copied = 0;
    for (; i != -1 && copied < length; i = NextY(i))
        fresh[static_cast<std::size_t>(copied++)] = Bands[static_cast<std::size_t>(i)];
    Bands = std::move(fresh);
    Current = copied - 1;
    // The ring invariant holds at once, so a replay right-aligns the steps.
    First = copied == length ? 0 : copied;
}

std::int32_t RoundUp(std::int32_t value, std::int32_t step)
{
    if (step == 0 || value % step == 0)
        return value;
    return (value / step + 1) * step;
}
