#include "perf_history.h"

#include <algorithm>
#include <climits>
#include <cstdint>

PerfHistory::PerfHistory(std::int32_t length) : Bands(static_cast<std::size_t>(std::max(length, 2)))
{
    RecountMaxima();
}

void PerfHistory::DataPoint(std::uint32_t color, std::int32_t value)
{
    auto& band = Bands[static_cast<std::size_t>(Current)];
    if (band.Count >= 16)
        throw std::out_of_range("");
    band.Colors[static_cast<std::size_t>(band.Count)] = color;
    band.Values[static_cast<std::size_t>(band.Count)] = value;
    ++band.Count;
    CurrentMax = std::max(CurrentMax, value);
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
    // The current band is finished: a smaller maximum before it can never be
    // the largest again.
    while (!Maxima.empty() && Maxima.back().second <= CurrentMax)
        Maxima.pop_back();
    Maxima.emplace_back(Steps[static_cast<std::size_t>(Current)], CurrentMax);

    const auto next = Current + 1 == Length() ? 0 : Current + 1;
    // The oldest band leaves the ring.
    if (Maxima.front().first == Steps[static_cast<std::size_t>(next)])
        Maxima.pop_front();
    Bands[static_cast<std::size_t>(next)].Count = 0;
    Steps[static_cast<std::size_t>(next)] = ++StepCount;
    CurrentMax = 0;
    First = next + 1 == Length() ? 0 : next + 1;
    Current = next;
}

std::int32_t PerfHistory::MaxValue() const
{
    return std::max(CurrentMax, Maxima.empty() ? 0 : Maxima.front().second);
}

void PerfHistory::RecountMaxima()
{
    // Step numbers in ring order, the current band last.
    Steps.assign(Bands.size(), 0);
    Maxima.clear();
    StepCount = 0;
    auto i = Current + 1 == Length() ? 0 : Current + 1;
    for (std::int32_t n = 0; n < Length(); ++n, i = i + 1 == Length() ? 0 : i + 1) {
        Steps[static_cast<std::size_t>(i)] = ++StepCount;
        std::int32_t largest = 0;
        const auto& band = Bands[static_cast<std::size_t>(i)];
        for (std::int32_t k = 0; k < band.Count; ++k)
            largest = std::max(largest, band.Values[static_cast<std::size_t>(k)]);
        if (i == Current) {
            CurrentMax = largest;
            break;
        }
        while (!Maxima.empty() && Maxima.back().second <= largest)
            Maxima.pop_back();
        Maxima.emplace_back(StepCount, largest);
    }
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
    RecountMaxima();
}

std::int32_t RoundUp(std::int32_t value, std::int32_t step)
{
    if (step == 0 || value % step == 0)
        return value;
    const auto rounded = (std::int64_t{value} / step + 1) * step;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(rounded, INT32_MIN, INT32_MAX));
}
