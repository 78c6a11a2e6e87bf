// The catalogue's one buffer against a plain list of entries doing the same.
#include "store/catalogue_file.h"

#include "support/allocation_watch.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Bytes a catalogue file can hold in a field: any but line ends, CR and Ctrl-Z.
std::string RandomText(std::mt19937& random, std::size_t longest)
{
    // NUL bytes too: paths that differ only by trailing ones must still sort as a list does.
    static const std::string Letters("aAbBzZ019 ,\\\\.-_\x7F\x80\xC3\xA4\xFF\t\0\0", 24);
    std::uniform_int_distribution<std::size_t> length(0, longest);
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    std::string text(length(random), ' ');
    for (auto& c : text)
        c = Letters[pick(random)];
    return text;
}

AvailablePathStructur RandomEntry(std::mt19937& random)
{
    // Some paths go past what the sort's keys hold, and are told apart by comparing.
    const auto path = random() % 8 == 0 ? std::string(100, 'A') + RandomText(random, 40) : RandomText(random, 40);
    return {path, RandomText(random, 60), static_cast<std::uint8_t>(random() % 2)};
}

// The file as a plain list would write it.
std::string FileOf(const AvailablePathVector& entries)
{
    std::string bytes = std::to_string(entries.size()) + " 2.0";
    for (const auto& entry : entries)
        bytes += "\r\n" + std::string(entry.RequiresPW != 0 ? "1" : "0") + "," + entry.NetworkPath + "\r\n"
               + entry.Description;
    return bytes;
}

} // namespace

TEST(PathCatalogue, EveryOperationDoesWhatAPlainListDoes)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        AvailablePathVector model;
        PathCatalogue catalogue;
        for (int step = 0; step < 400; ++step) {
            const auto operation = random() % 10;
            const auto at = model.empty() ? 0 : random() % model.size();
            if (operation < 4 || model.empty()) {
                const auto entry = RandomEntry(random);
                model.push_back(entry);
                catalogue.push_back(entry);
            } else if (operation < 7) {
                const auto entry = RandomEntry(random);
                model[at] = entry;
                catalogue.Replace(at, entry);
            } else if (operation < 9) {
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
                catalogue.Erase(at);
            } else {
                std::stable_sort(model.begin(), model.end(), [](const auto& a, const auto& b) {
                    return AsciiCaseLess(a.NetworkPath, b.NetworkPath);
                });
                catalogue.Sort();
            }
            ASSERT_EQ(catalogue, model) << "after step " << step << ", operation " << operation;
            // What edits leave behind never passes half of the buffer.
            ASSERT_LE(catalogue.GarbageBytes() * 2, catalogue.BytesHeld());
        }
        EXPECT_EQ(FormatCatalogue(catalogue), FileOf(model));
        PathCatalogue read;
        const auto result = ParseCatalogue(FileOf(model), read);
        EXPECT_FALSE(result.Damaged);
        EXPECT_EQ(read, model);
        catalogue.Compact();
        EXPECT_EQ(catalogue.GarbageBytes(), 0u);
        EXPECT_EQ(catalogue, model);
        EXPECT_EQ(FormatCatalogue(catalogue), FileOf(model));
    }
}

TEST(PathCatalogue, ReplacingOverAndOverCompactsTheBuffer)
{
    PathCatalogue catalogue(AvailablePathVector{{"\\\\srv\\a", "first", 0}, {"\\\\srv\\b", "second", 1}});
    std::size_t most = 0;
    for (int i = 0; i < 10000; ++i) {
        catalogue.Replace(static_cast<std::size_t>(i % 2), {"\\\\srv\\" + std::to_string(i), std::string(100, 'd'), 1});
        most = std::max(most, catalogue.BytesHeld());
    }
    EXPECT_LT(most, 4096u) << "the replaced entries' bytes were kept";
    EXPECT_EQ(catalogue, (AvailablePathVector{{"\\\\srv\\9998", std::string(100, 'd'), 1},
                                              {"\\\\srv\\9999", std::string(100, 'd'), 1}}));
}

TEST(PathCatalogue, SortingKeepsEqualPathsInTheirOrderAndMovesNoBytes)
{
    PathCatalogue catalogue(AvailablePathVector{
        {"\\\\b", "1", 0}, {"\\\\A", "2", 1}, {"\\\\a", "3", 0}, {"\\\\", "4", 0}, {"\\\\\xE4", "5", 0}, {"\\\\B", "6", 1}});
    const auto held = catalogue.BytesHeld();
    catalogue.Sort();
    EXPECT_EQ(catalogue, (AvailablePathVector{{"\\\\", "4", 0},
                                              {"\\\\A", "2", 1},
                                              {"\\\\a", "3", 0},
                                              {"\\\\b", "1", 0},
                                              {"\\\\B", "6", 1},
                                              {"\\\\\xE4", "5", 0}}));
    EXPECT_EQ(catalogue.BytesHeld(), held);
    EXPECT_EQ(catalogue.GarbageBytes(), 0u);

    // Paths that differ only by trailing NUL bytes, wherever the sort's keys end.
    for (const std::size_t length : {1, 24, 95, 96, 200}) {
        const std::string path(length, 'A');
        PathCatalogue nulls(AvailablePathVector{{path + std::string(2, '\0'), "2", 0}, {path + '\0', "1", 0}, {path, "0", 0}});
        nulls.Sort();
        EXPECT_EQ(nulls, (AvailablePathVector{{path, "0", 0}, {path + '\0', "1", 0}, {path + std::string(2, '\0'), "2", 0}}))
            << length;
    }
}

TEST(PathCatalogue, ASortThatCouldNotHaveItsKeysLeavesTheCatalogueToBeSortedAgain)
{
    AvailablePathVector entries;
    for (int i = 999; i >= 0; --i)
        entries.push_back({"\\\\srv\\" + std::to_string(i), "", 0});
    PathCatalogue catalogue(entries);
    {
        AllocationWatch watch;
        watch.RefuseAbove(1000);
        EXPECT_THROW(catalogue.Sort(), std::bad_alloc);
    }
    catalogue.Sort();
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return AsciiCaseLess(a.NetworkPath, b.NetworkPath); });
    EXPECT_EQ(catalogue, entries);
}

TEST(PathCatalogue, ReadingAHundredThousandEntriesTakesOneBufferOfTheFilesSize)
{
    std::mt19937 random(7);
    AvailablePathVector entries;
    for (int i = 0; i < 100000; ++i)
        entries.push_back({"\\\\server" + std::to_string(random() % 97) + "\\share" + std::to_string(i),
                           "Share number " + std::to_string(i), static_cast<std::uint8_t>(i % 2)});
    std::shuffle(entries.begin(), entries.end(), random);
    const auto file = FileOf(entries);
    TempDir dir;
    WriteBytes(dir / "Corvane2.net", file);

    PathCatalogue catalogue;
    AllocationWatch watch;
    const auto result = ReadCatalogueFile(dir / "Corvane2.net", catalogue);
    catalogue.Sort();
    watch.Stop();
    EXPECT_EQ(result.Status, FileReadStatus::Read);
    EXPECT_FALSE(result.Damaged);
    ASSERT_EQ(catalogue.size(), entries.size());
    EXPECT_LE(watch.Largest(), file.size() + 1) << "more than the file's room was taken at once";
    EXPECT_LE(catalogue.BytesHeld(), file.size() + file.size() / 2) << "the catalogue holds more than 1.5 times its file";
    for (std::size_t i = 1; i < catalogue.size(); ++i)
        ASSERT_FALSE(AsciiCaseLess(catalogue[i].NetworkPath, catalogue[i - 1].NetworkPath)) << i;
}
