#include "components/directory_outline_model.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

#include <clocale>

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

// Names are cased and ordered as the user's locale has them; where the
// system takes its rules from the C library, the tests take a locale with
// letters beyond ASCII (elsewhere the call fails and changes nothing).
class UseLocale {
public:
    explicit UseLocale(const char* name) : Saved(std::setlocale(LC_ALL, nullptr)) { std::setlocale(LC_ALL, name); }
    ~UseLocale() { std::setlocale(LC_ALL, Saved.c_str()); }
    UseLocale(const UseLocale&) = delete;
    UseLocale& operator=(const UseLocale&) = delete;

private:
    std::string Saved;
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
    UseLocale Locale{"en_US.UTF-8"};
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
    EXPECT_EQ(ChildrenOf(item),
              (std::vector<std::string>{"apps", "mixed", "program files", PathText(fs::path(u8"\u00fcml")), "windows"}))
        << "is the locale en_US.UTF-8 there?";
}

TEST_F(DirectoryOutline, AsIsKeepsTheNamesAsTheyAre)
{
    Outline.SetTextCase(TTextCase::tcAsIs);
    const auto item = Walk();
    Outline.Tree().SetExpanded(item, true);
    EXPECT_EQ(ChildrenOf(item), (std::vector<std::string>{"apps", "MiXed", "Program Files", Umlaut, "Windows"}));
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

TEST_F(DirectoryOutline, EveryCaseWalksATreeWithCapitalsAndLinks)
{
    const auto deep = Tree / "Upper Dir" / TextPath(PathText(fs::path(u8"\u00c4u\u00dferes"))) / "Deep";
    fs::create_directories(deep);
    // Where the system (or its emulation) makes no links, the capitals alone.
    std::error_code noLinks;
    fs::create_directory_symlink(Tree / "Upper Dir", Tree / "Linked", noLinks);
    if (!noLinks)
        fs::create_directory_symlink(Tree, Tree / "Upper Dir" / "Loop", noLinks);
    for (const auto textCase : {TTextCase::tcLowerCase, TTextCase::tcUpperCase, TTextCase::tcAsIs}) {
        SCOPED_TRACE(static_cast<int>(textCase));
        DirectoryOutlineModel outline;
        outline.SetTextCase(textCase);
        outline.CreateWnd();
        outline.BuildTree();
        outline.SetDirectory(PathText(deep));
        const auto selected = outline.Tree().SelectedItem();
        EXPECT_EQ(outline.Tree().FullPath(selected), outline.ForceCase(PathText(deep)));
        EXPECT_EQ(outline.Tree().NamePath(selected), PathText(deep));
        EXPECT_EQ(fs::current_path(), deep);

        // Through a link, and by a click on what the walk selected.
        if (!noLinks) {
            outline.SetDirectory(PathText(Tree / "Linked" / "Loop" / "apps"));
            EXPECT_EQ(outline.Tree().Text(outline.Tree().SelectedItem()), outline.ForceCase("apps"));
        }
        outline.Tree().SetSelectedItem(selected);
        outline.Click();
        EXPECT_EQ(outline.Directory(), outline.ForceCase(PathText(deep)));
        EXPECT_EQ(fs::current_path(), deep);
    }
    // The loop is read one level deep, not followed round for ever. Only what
    // lies below the test's folder counts: the folders beside it are the machine's.
    DirectoryOutlineModel outline;
    outline.SetTextCase(TTextCase::tcAsIs);
    outline.SetDirectory(PathText(Tree));
    const auto top = outline.Tree().SelectedItem();
    outline.BuildSubTree(top);
    const std::function<int(std::int32_t)> below = [&](std::int32_t item) {
        int count = 0;
        for (const auto child : outline.Tree().Children(item))
            count += 1 + below(child);
        return count;
    };
    EXPECT_GT(below(top), 4);
    EXPECT_LT(below(top), 30);
}

TEST_F(DirectoryOutline, NamesAreCasedAsTheSystemCasesThem)
{
    Outline.SetTextCase(TTextCase::tcUpperCase);
    EXPECT_EQ(Outline.ForceCase(Umlaut + "aB"), PathText(fs::path(u8"\u00dcML")) + "AB");
    Outline.SetTextCase(TTextCase::tcLowerCase);
    EXPECT_EQ(Outline.ForceCase(Umlaut + "aB"), PathText(fs::path(u8"\u00fcml")) + "ab");
    // Bytes that are no text of the locale keep their place.
    EXPECT_EQ(Outline.ForceCase(std::string("A\xFF\xFE") + "Z"), std::string("a\xFF\xFE") + "z");
}
