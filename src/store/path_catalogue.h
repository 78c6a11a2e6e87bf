#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One entry of the catalogue of network paths, where a dialog or a caller
// takes one of its own.
struct AvailablePathStructur {
    std::string NetworkPath;
    std::string Description;
    std::uint8_t RequiresPW = 0;

    friend bool operator==(const AvailablePathStructur&, const AvailablePathStructur&) = default;
};

using AvailablePathVector = std::vector<AvailablePathStructur>;

// An entry as it lies in the catalogue: valid until the catalogue changes.
struct CatalogueEntry {
    std::string_view NetworkPath;
    std::string_view Description;
    std::uint8_t RequiresPW = 0;

    AvailablePathStructur Copy() const { return {std::string(NetworkPath), std::string(Description), RequiresPW}; }

    friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;
    friend bool operator==(const CatalogueEntry& entry, const AvailablePathStructur& other)
    {
        return entry.NetworkPath == other.NetworkPath && entry.Description == other.Description
            && entry.RequiresPW == other.RequiresPW;
    }
};

// The catalogue in memory: the bytes of every entry in one buffer, in the
// order they came, and a small record of each in the catalogue's order.
// Sorting moves records, never bytes. The bytes of replaced and removed
// entries stay until they pass half of the buffer or the catalogue is
// compacted; then the buffer is written anew in the catalogue's order.
class PathCatalogue {
public:
    PathCatalogue() = default;
    // A catalogue holding entries, in their order; tests and callers with a
    // plain list use it as one.
    PathCatalogue(const AvailablePathVector& entries);  // NOLINT: a list is a catalogue

    std::size_t size() const { return Records.size(); }
    bool empty() const { return Records.empty(); }
    CatalogueEntry operator[](std::size_t index) const;
    AvailablePathVector Entries() const;

    void push_back(const AvailablePathStructur& entry);
    void Replace(std::size_t index, const AvailablePathStructur& entry);
    void Erase(std::size_t index);
    // Keeps the first count entries.
    void Truncate(std::size_t count);
    void clear();

    // The catalogue's order of paths (see AsciiCaseLess); equal paths keep
    // their order. A catalogue in order already is only looked at.
    void Sort();

    // Room for this many bytes of entries and this many entries, taken at once.
    void Reserve(std::size_t bytes, std::size_t entries);
    // Writes the buffer anew with the live entries alone, in the catalogue's order.
    void Compact();
    // The bytes no entry uses any more.
    std::size_t GarbageBytes() const { return Garbage; }
    // What the catalogue holds in memory: its buffer's and its records' room.
    std::size_t BytesHeld() const;

    // An entry read from a file a piece at a time: its flag, then its path's
    // pieces, then its description's; text mode's CRs are left out. A path or
    // a description holds at most 4 GiB: false for a piece that would pass
    // that, and the entry is dropped.
    void BeginEntry(std::uint8_t requiresPW);
    bool AppendText(std::string_view piece);
    void EndPath();
    void EndEntry();

    // The same entries in the same order, wherever their bytes lie.
    friend bool operator==(const PathCatalogue& catalogue, const AvailablePathVector& entries);
    friend bool operator==(const PathCatalogue& left, const PathCatalogue& right);

private:
    // Where an entry's bytes are: its flag byte at Offset, its path after it,
    // then its description.
    struct Record {
        std::uint64_t Offset = 0;
        std::uint32_t PathSize = 0;
        std::uint32_t DescriptionSize = 0;
    };

    Record Append(const AvailablePathStructur& entry);
    std::string_view PathOf(const Record& record) const;
    void Forget(const Record& record);
    void CompactWhenMostlyGarbage();

    std::string Bytes;
    std::vector<Record> Records;
    std::size_t Garbage = 0;
    // Sorted since the last change: sorting again costs nothing.
    bool InOrder = true;
    Record Pending;
};
