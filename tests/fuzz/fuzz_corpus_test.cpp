#include "properties.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

void Replay(const char* folder, const std::function<std::string(std::string_view)>& check)
{
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(FUZZ_CORPUS) / folder)) {
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(check(ReadBytes(entry.path())), "");
        ++seeds;
    }
    EXPECT_GE(seeds, 3) << "the seeds of " << folder << " are gone";
}

} // namespace

TEST(FuzzCorpus, CatalogueSeeds)
{
    Replay("catalogue", CheckCatalogueRoundTrip);
}

TEST(FuzzCorpus, ConfigurationSeeds)
{
    Replay("configuration", CheckConfigurationRoundTrip);
}

TEST(FuzzCorpus, ProfileSeeds)
{
    Replay("profile", CheckProfileRoundTrip);
}

TEST(FuzzCorpus, NetUseSeeds)
{
    Replay("net_use", CheckNetUseArguments);
}
