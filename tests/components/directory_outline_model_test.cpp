#include "components/directory_outline_model.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Puts the process's directory back after a test moved it.
class KeepCurrentDirectory {
public:
    KeepCurrentDirectory() : Saved(fs::current_path()) {}
    ~KeepCurrentDirectory() { fs::current_path(Saved); }
    KeepCurrentDirectory(const KeepCurrentDirectory&) = delete;
    KeepCurrentDirectory& operator=(const KeepCurrentDirectory&) = delete;

private:
    fs::path Saved;
};

class DirectoryOutline : public ::testing::Test {
protected:
    DirectoryOutline()
    {
        for (const auto* name : {"Program Files", "apps", "Windows", ".hidden", "MiXed"})
            fs::create_directories(Tree / name);
        fs::create_directories(Tree / TextPath(Umlaut));
        fs::create_directories(Tree / "apps" / "inner");
        WriteBytes(Tree / "file.txt", "a plain file");
        Outline.OnChange = [this] { ++Changes; };
    }

    std::vector<std::string> ChildrenOf(std::int32_t item) const
    {
        std::vector<std::string> names;
        for (const auto child : Outline.Tree().Children(item))
            names.push_back(Outline.Tree().Text(child));
        return names;
    }

    // The item of the temporary tree, walked to.
    std::int32_t Walk()
    {
        Outline.SetDirectory(Tree.string());
        return Outline.Tree().SelectedItem();
    }

    // A name outside ASCII, in the system's 8-bit text.
    const std::string Umlaut = PathText(fs::path(u8"\u00dcml"));
    KeepCurrentDirectory Keep;
    TempDir Dir;
    fs::path Tree = fs::canonical(Dir.Path());
    DirectoryOutlineModel Outline;
    int Changes = 0;
};

} // namespace

TEST_F(DirectoryOutline, ALevelHoldsDirectoriesOnlySortedWithoutCase)
{
    Outline.CreateWnd();
    Outline.BuildTree();
    const auto item = Walk();
    EXPECT_EQ(Outline.Tree().FullPath(item), Outline.ForceCase(Tree.string()));
    Outline.Tree().SetExpanded(item, true);
    EXPECT_EQ(ChildrenOf(item), (std::vector<std::string>{"apps", "mixed", "program files", "windows", Outline.ForceCase(Umlaut)}));
}

TEST_F(DirectoryOutline, AsIsKeepsTheNamesAsTheyAre)
{
    Outline.SetTextCase(TTextCase::tcAsIs);
    const auto item = Walk();
    Outline.Tree().SetExpanded(item, true);
    EXPECT_EQ(ChildrenOf(item), (std::vector<std::string>{"apps", "MiXed", "Program Files", "Windows", Umlaut}));
}

TEST_F(DirectoryOutline, ALevelIsReadOnce)
{
    Outline.SetTextCase(TTextCase::tcAsIs);
    const auto item = Walk();
    Outline.Tree().SetExpanded(item, true);
    fs::create_directories(Tree / "later");
    Outline.Tree().SetExpanded(item, false);
    Outline.Tree().SetExpanded(item, true);
    EXPECT_EQ(ChildrenOf(item).size(), 5u);
    Outline.BuildSubTree(item);
    Outline.BuildSubTree(item);
    EXPECT_EQ(ChildrenOf(item).size(), 5u) << "a read level was read again";
    const auto apps = Outline.GetChildNamed("APPS", item);
    EXPECT_EQ(ChildrenOf(apps), std::vector<std::string>{"inner"});
}

TEST_F(DirectoryOutline, SettingTheDirectoryWalksSelectsAndFollowsTheProcess)
{
    Outline.SetTextCase(TTextCase::tcAsIs);
    Walk();
    const auto before = Changes;
    const auto count = Outline.Tree().Count();
    Outline.SetDirectory((Tree / "apps" / "inner").string() + std::string(1, fs::path::preferred_separator));
    EXPECT_EQ(Outline.Directory(), (Tree / "apps" / "inner").string());
    EXPECT_EQ(fs::current_path(), Tree / "apps" / "inner");
    EXPECT_EQ(Outline.Tree().Text(Outline.Tree().SelectedItem()), "inner");
    EXPECT_EQ(Changes, before + 1);
    EXPECT_GE(Outline.Tree().Count(), count) << "the tree was rebuilt";

    Outline.SetDirectory((Tree / "apps" / "inner").string());
    EXPECT_EQ(Changes, before + 1) << "the same directory fired a change";

    fs::current_path(Tree);
    Outline.SetDirectory("Windows");
    EXPECT_EQ(Outline.Directory(), (Tree / "Windows").string());
}

TEST_F(DirectoryOutline, ClickingAnItemMakesItsPathTheDirectory)
{
    Outline.SetTextCase(TTextCase::tcAsIs);
    const auto item = Walk();
    const auto windows = Outline.GetChildNamed("WINDOWS", item);
    ASSERT_NE(windows, DirectoryOutlineModel::InvalidIndex);
    EXPECT_EQ(Outline.Tree().Text(windows), "Windows");
    Outline.Tree().SetSelectedItem(windows);
    Outline.Click();
    EXPECT_EQ(Outline.Directory(), (Tree / "Windows").string());
}

TEST_F(DirectoryOutline, ALevelThatCannotBeReadHasNoChildrenAndIsStillRead)
{
    // Running as the superuser makes no directory unreadable by its mode, so
    // this one is gone by the time its level is read.
    Outline.SetTextCase(TTextCase::tcAsIs);
    const auto item = Walk();
    const auto windows = Outline.GetChildNamed("Windows", item);
    fs::create_directories(Tree / "Windows" / "below");
    fs::remove_all(Tree / "Windows");
    Outline.Tree().SetExpanded(windows, true);
    EXPECT_FALSE(Outline.Tree().HasItems(windows));
    EXPECT_TRUE(Outline.Tree().Read(windows));
}

TEST_F(DirectoryOutline, HiddenDirectoriesAreNeverReached)
{
    Outline.SetTextCase(TTextCase::tcAsIs);
    Walk();
    EXPECT_THROW(Outline.SetDirectory((Tree / ".hidden").string()), EOutlineError);
}

TEST_F(DirectoryOutline, DrivesOutsideAToZAndTheCurrentDriveAreIgnored)
{
    Outline.CreateWnd();
    Outline.BuildTree();
    const auto drive = Outline.Drive();
    const auto changes = Changes;
    Outline.SetDrive('1');
    Outline.SetDrive(drive);
    EXPECT_EQ(Outline.Drive(), drive);
    EXPECT_EQ(Changes, changes);
    EXPECT_EQ(DirectoryOutlineModel::DriveToInt('c'), 2);
    EXPECT_EQ(DirectoryOutlineModel::DriveToInt('C'), 2);
}

TEST_F(DirectoryOutline, TheTopItemIsTheDriveOrTheRoot)
{
    Outline.SetTextCase(TTextCase::tcUpperCase);
    Outline.SetDrive('C');
    const auto style = NativePathStyle();
    EXPECT_EQ(Outline.Tree().Text(DirectoryOutlineModel::RootIndex), style.DriveLetters ? "C:" : style.Root);
    Outline.SetTextCase(TTextCase::tcLowerCase);
    EXPECT_EQ(Outline.Tree().Text(DirectoryOutlineModel::RootIndex), style.DriveLetters ? "c:" : style.Root);
}

TEST_F(DirectoryOutline, TheCurrentDirectoryOfAnyLength)
{
    auto deep = Tree;
    for (int i = 0; i < 8; ++i)
        deep /= std::string(60, static_cast<char>('a' + i));
    fs::create_directories(deep);
    fs::current_path(deep);
    EXPECT_EQ(DirectoryOutlineModel::CurDir(), PathText(deep));
}
