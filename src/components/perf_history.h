#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <stdexcept>
#include <utility>
#include <vector>

// One step of the graph: up to 16 points, each a colour and a value.
struct BandRecord {
    std::int32_t Count = 0;
    std::array<std::uint32_t, 16> Colors{};
    std::array<std::int32_t, 16> Values{};
};

// The ring of the last steps of a performance graph.
class PerfHistory {
public:
    explicit PerfHistory(std::int32_t length);

    std::int32_t Length() const { return static_cast<std::int32_t>(Bands.size()); }
    std::int32_t FirstIndex() const { return First; }
    std::int32_t CurrentIndex() const { return Current; }
    const BandRecord& Band(std::int32_t index) const { return Bands[static_cast<std::size_t>(index)]; }

    // Adds a point to the current band; std::out_of_range when it holds 16.
    void DataPoint(std::uint32_t color, std::int32_t value);

    std::int32_t FirstY() const { return First; }
    // The index after i in ring order; -1 when that is the first index again.
    std::int32_t NextY(std::int32_t i) const;
    std::int32_t LastY(std::int32_t i) const;

    // Starts a new step in the oldest band.
    void ShiftY();
    // The largest value of the ring, 0 at least; kept step by step, so
    // asking costs nothing however long the ring is.
    std::int32_t MaxValue() const;
    // Makes the ring length records long, keeping the newest steps, with the
    // copied ones first and the ring's order kept for the replay.
    void Reallocate(std::int32_t length);

private:
    void RecountMaxima();

    std::vector<BandRecord> Bands;
    std::int32_t First = 1;
    std::int32_t Current = 0;
    // Each band's step number, and the maxima of the finished bands still in
    // the ring as a falling sequence of (step, largest value): a sliding
    // window maximum.
    std::vector<std::uint64_t> Steps;
    std::deque<std::pair<std::uint64_t, std::int32_t>> Maxima;
    std::uint64_t StepCount = 0;
    std::int32_t CurrentMax = 0;
};

// value rounded up to a multiple of step (value itself for step 0); the
// largest int where the multiple lies beyond it.
std::int32_t RoundUp(std::int32_t value, std::int32_t step);
