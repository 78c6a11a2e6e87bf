#include "directory_outline_model.h"

#include "base/ascii.h"
#include "platform/system_text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

DirectoryOutlineModel::DirectoryOutlineModel(PathStyle style) : Style(std::move(style)), Items(Style.Separator)
{
    Items.OnExpand = [this](std::int32_t item) {
        if (!Items.Read(item))
            BuildOneLevel(item);
    };
}

std::string DirectoryOutlineModel::ForceCase(std::string text) const
{
    if (Case == TTextCase::tcLowerCase)
        return LowerCaseText(text);
    if (Case == TTextCase::tcUpperCase)
        return UpperCaseText(text);
    return text;
}

std::string DirectoryOutlineModel::CurDir()
{
    return CurrentDirectoryText();
}

int DirectoryOutlineModel::DriveToInt(char letter)
{
    return AsciiUpper(letter) - 'A';
}

void DirectoryOutlineModel::BuildOneLevel(std::int32_t item)
{
    // The real names reach the file system; the case-forced ones are only shown.
    auto folder = Items.NamePath(item);
    if (folder.empty() || folder.back() != Style.Separator)
        folder += Style.Separator;
    struct Found {
        std::string Key;
        std::string Shown;
        std::string Name;
    };
    std::vector<Found> found;
    std::error_code error;
    for (fs::directory_iterator entry(TextPath(folder), error), end; !error && entry != end; entry.increment(error)) {
        auto name = PathText(entry->path().filename());
        // A link to a directory is a directory; a link that leads nowhere is not.
        std::error_code statusError;
        if (name.empty() || name.front() == '.' || !entry->is_directory(statusError) || IsHiddenOrSystem(entry->path()))
            continue;
        auto shown = ForceCase(name);
        found.push_back({SortKeyIgnoringCase(shown), std::move(shown), std::move(name)});
    }
    // Sorted once, as one insertion after another would have placed them: a
    // name goes before the equal ones read or listed before it.
    std::reverse(found.begin(), found.end());
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.Key < b.Key; });
    auto child = Items.FirstChild(item);
    for (auto& entry : found) {
        while (child != InvalidIndex && SortKeyIgnoringCase(Items.Text(child)) < entry.Key)
            child = Items.NextChild(item, child);
        if (child == InvalidIndex)
            Items.AddChild(item, std::move(entry.Shown), std::move(entry.Name));
        else
            Items.Insert(child, std::move(entry.Shown), std::move(entry.Name));
    }
    Items.SetRead(item);
}

void DirectoryOutlineModel::BuildTree()
{
    Items.Clear();
    // The drive's own name is its capital letter, whatever case is shown.
    if (Style.DriveLetters)
        Items.AddChild(0, ForceCase(std::string{CurrentDrive, ':'}), std::string{AsciiUpper(CurrentDrive), ':'});
    else
        Items.AddChild(0, Style.Root);
    WalkTree(CurrentDirectory);
    Change();
}

void DirectoryOutlineModel::BuildSubTree(std::int32_t item)
{
    if (!Items.Read(item))
        BuildOneLevel(item);
    for (const auto child : std::vector<std::int32_t>(Items.Children(item))) {
        // A link may lead back up the tree: its level is read, not what lies below.
        std::error_code error;
        if (fs::is_symlink(TextPath(Items.NamePath(child)), error)) {
            if (!Items.Read(child))
                BuildOneLevel(child);
        } else {
            BuildSubTree(child);
        }
    }
}

std::int32_t DirectoryOutlineModel::GetChildNamed(const std::string& name, std::int32_t item)
{
    Items.SetExpanded(item, true);
    const auto wanted = UpperCaseText(name);
    for (auto child = Items.FirstChild(item); child != InvalidIndex; child = Items.NextChild(item, child)) {
        if (UpperCaseText(Items.Text(child)) == wanted)
            return child;
    }
    return InvalidIndex;
}

void DirectoryOutlineModel::WalkTree(const std::string& path)
{
    auto rest = ForceCase(path);
    std::int32_t current = RootIndex;
    if (Style.DriveLetters) {
        if (const auto colon = rest.find(':'); colon != std::string::npos) {
            const std::size_t skip = colon + 1 < rest.size() && rest[colon + 1] == '\\' ? 2 : 1;
            rest = rest.size() >= colon + skip + 1 ? rest.substr(colon + skip) : std::string();
        }
    } else if (rest.starts_with(Style.Root)) {
        rest.erase(0, Style.Root.size());
    }
    while (!rest.empty()) {
        std::string name;
        if (const auto at = rest.find(Style.Separator); at != std::string::npos) {
            name = rest.substr(0, at);
            rest.erase(0, at + 1);
        } else {
            name = std::move(rest);
            rest.clear();
        }
        if (!name.empty())
            current = GetChildNamed(name, current);
    }
    Items.SetSelectedItem(current);
}

bool DirectoryOutlineModel::OnCurrentDrive(const std::string& path) const
{
    if (!Style.DriveLetters)
        return path.starts_with(Style.Root);
    return !path.empty() && AsciiUpper(path.front()) == AsciiUpper(CurrentDrive);
}

void DirectoryOutlineModel::SetDrive(char letter)
{
    letter = AsciiUpper(letter);
    if (letter < 'A' || letter > 'Z' || letter == AsciiUpper(CurrentDrive))
        return;
    CurrentDrive = letter;
    std::error_code ignored;
    // Without drive letters every letter means the one root.
    fs::current_path(TextPath(Style.DriveLetters ? std::string{letter, ':'} : Style.Root), ignored);
    CurrentDirectory = ForceCase(CurDir());
    if (!Loading)
        BuildTree();
}

void DirectoryOutlineModel::SetDirectory(const std::string& path)
{
    if (path.empty())
        return;
    std::error_code error;
    auto full = PathText(fs::absolute(TextPath(path), error).lexically_normal());
    if (error)
        full = path;
    auto text = ForceCase(full);
    if (text.size() > 3 && text.back() == Style.Separator)
        text.pop_back();
    if (text == CurrentDirectory)
        return;
    CurrentDirectory = text;
    // The path as given: where names have case, the forced one may not exist.
    std::error_code ignored;
    fs::current_path(TextPath(full), ignored);
    if (OnCurrentDrive(text)) {
        WalkTree(text);
        Change();
    } else {
        SetDrive(text.front());
    }
}

void DirectoryOutlineModel::SetTextCase(TTextCase value)
{
    if (value == Case)
        return;
    Case = value;
    if (value == TTextCase::tcAsIs) {
        if (const auto current = CurDir(); !current.empty()) {
            CurrentDirectory = current;
            CurrentDrive = current.front();
        }
    }
    if (!Loading)
        BuildTree();
}

void DirectoryOutlineModel::Click()
{
    // The real names: a case-forced path may name no directory.
    if (const auto selected = Items.SelectedItem(); selected > 0)
        SetDirectory(Items.NamePath(selected));
}

void DirectoryOutlineModel::CreateWnd()
{
    if (CurrentDrive != 0)
        return;
    if (const auto current = ForceCase(CurDir()); !current.empty()) {
        CurrentDrive = current.front();
        CurrentDirectory = current;
    }
}

void DirectoryOutlineModel::Loaded()
{
    Loading = false;
    BuildTree();
}

void DirectoryOutlineModel::Change()
{
    if (OnChange)
        OnChange();
}
