#include "store/atomic_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

enum class Step { Create, Write, Flush, Rename };

// Real steps, one of which fails.
class FailingSteps final : public SaveSteps {
public:
    explicit FailingSteps(Step failing) : Failing(failing) {}

    bool Create(const std::filesystem::path& temporary) override
    {
        return SaveSteps::Create(temporary) && Failing != Step::Create;
    }
    bool Write(std::string_view bytes) override
    {
        // Half the bytes reach the disk before the failure.
        if (Failing == Step::Write) {
            SaveSteps::Write(bytes.substr(0, bytes.size() / 2));
            return false;
        }
        return SaveSteps::Write(bytes);
    }
    bool Flush() override { return SaveSteps::Flush() && Failing != Step::Flush; }
    bool Rename(const std::filesystem::path& temporary, const std::filesystem::path& target) override
    {
        return Failing != Step::Rename && SaveSteps::Rename(temporary, target);
    }

private:
    Step Failing;
};

} // namespace

TEST(SaveFileAtomically, ReplacesTheFileWhole)
{
    TempDir dir;
    WriteBytes(dir / "f", "old contents that are longer");
    EXPECT_TRUE(SaveFileAtomically(dir / "f", "new"));
    EXPECT_EQ(ReadBytes(dir / "f"), "new");
    EXPECT_FALSE(std::filesystem::exists(TemporaryFileFor(dir / "f")));
    EXPECT_TRUE(SaveFileAtomically(dir / "fresh", ""));
    EXPECT_TRUE(std::filesystem::exists(dir / "fresh"));
}

TEST(SaveFileAtomically, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporary)
{
    for (const auto step : {Step::Create, Step::Write, Step::Flush, Step::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        TempDir dir;
        WriteBytes(dir / "f", "old");
        FailingSteps steps(step);
        EXPECT_FALSE(SaveFileAtomically(dir / "f", std::string(100000, 'n'), steps));
        EXPECT_EQ(ReadBytes(dir / "f"), "old");
        EXPECT_FALSE(std::filesystem::exists(TemporaryFileFor(dir / "f")));
    }
}

TEST(SaveFileAtomically, RefusesADirectoryInTheFilesPlace)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "f");
    EXPECT_FALSE(SaveFileAtomically(dir / "f", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "f"));
}

TEST(SaveFileAtomically, FailsWhenTheDirectoryIsMissing)
{
    TempDir dir;
    EXPECT_FALSE(SaveFileAtomically(dir / "no" / "f", "x"));
}
