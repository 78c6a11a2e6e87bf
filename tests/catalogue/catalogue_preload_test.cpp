// The catalogue read ahead on a thread of its own gives what reading it then gives.
#include "catalogue/catalogue_preload.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(CataloguePreload, GivesTheFileReadAndInOrderOnceThenReadsAnew)
{
    TempDir dir;
    const auto file = dir / "Corvane2.net";
    WriteBytes(file, "3 2.0\r\n0,\\\\srv\\b\r\nB\r\n1,\\\\SRV\\a\r\nA\r\n0,\\\\srv\\c\r\nC");
    CataloguePreload preload(file);

    PathCatalogue taken;
    const auto read = preload.Take(file, taken);
    EXPECT_EQ(read.Status, FileReadStatus::Read);
    EXPECT_EQ(read.HeaderCount, 3);
    EXPECT_FALSE(read.Damaged);
    EXPECT_EQ(taken, (AvailablePathVector{{"\\\\SRV\\a", "A", 1}, {"\\\\srv\\b", "B", 0}, {"\\\\srv\\c", "C", 0}}));

    // Taken once: later the file is read as it is then, as is another file.
    WriteBytes(file, "1 2.0\r\n0,\\\\srv\\new\r\nNew");
    PathCatalogue again;
    preload.Take(file, again);
    EXPECT_EQ(again, (AvailablePathVector{{"\\\\srv\\new", "New", 0}}));
    PathCatalogue other;
    EXPECT_EQ(preload.Take(dir / "Other.net", other).Status, FileReadStatus::Missing);
}

TEST(CataloguePreload, AFileSavedOverAfterItWasReadAheadIsReadAgain)
{
    // Another copy's save lands between the read ahead and the taking.
    TempDir dir;
    const auto file = dir / "Corvane2.net";
    WriteBytes(file, "1 2.0\r\n0,\\\\srv\\old\r\nOld");
    CataloguePreload preload(file);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    WriteBytes(dir / "new", "2 2.0\r\n0,\\\\srv\\old\r\nOld\r\n0,\\\\srv\\new\r\nNew");
    std::filesystem::rename(dir / "new", file);
    PathCatalogue taken;
    EXPECT_EQ(preload.Take(file, taken).HeaderCount, 2);
    EXPECT_EQ(taken, (AvailablePathVector{{"\\\\srv\\old", "Old", 0}, {"\\\\srv\\new", "New", 0}}));
}

TEST(CataloguePreload, ADamagedFileKeepsItsBytesAndWhatWasRead)
{
    TempDir dir;
    const auto file = dir / "Corvane2.net";
    const std::string bytes = "5 2.0\r\n0,\\\\srv\\b\r\nB\r\nno comma\r\n";
    WriteBytes(file, bytes);
    CataloguePreload preload(file);
    PathCatalogue taken;
    const auto read = preload.Take(file, taken);
    EXPECT_TRUE(read.Damaged);
    EXPECT_EQ(read.OriginalBytes, bytes);
    EXPECT_EQ(taken, (AvailablePathVector{{"\\\\srv\\b", "B", 0}}));
}
