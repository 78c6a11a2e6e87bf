#include "directory_outline_model.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string UpperText(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), Upper);
    return text;
}

// Case-insensitive order of names; only the ASCII letters fold.
int CompareNames(const std::string& left, const std::string& right)
{
    const auto a = UpperText(left);
    const auto b = UpperText(right);
    return a < b ? -1 : a == b ? 0 : 1;
}

} // namespace

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
        std::transform(text.begin(), text.end(), text.begin(), Lower);
    else if (Case == TTextCase::tcUpperCase)
        std::transform(text.begin(), text.end(), text.begin(), Upper);
    return text;
}

std::string DirectoryOutlineModel::CurDir()
{
    return CurrentDirectoryText();
}

int DirectoryOutlineModel::DriveToInt(char letter)
{
    return Upper(letter) - 'A';
}

void DirectoryOutlineModel::BuildOneLevel(std::int32_t item)
{
    auto folder = Items.FullPath(item);
    if (folder.empty() || folder.back() != Style.Separator)
        folder += Style.Separator;
    std::error_code error;
    for (fs::directory_iterator entry(TextPath(folder), error), end; !error && entry != end; entry.increment(error)) {
        const auto name = PathText(entry->path().filename());
        // Real directories only: a link could lead round in a circle.
        std::error_code statusError;
        if (name.empty() || name.front() == '.' || !entry->is_directory(statusError) || entry->is_symlink(statusError)
            || IsHiddenOrSystem(entry->path()))
            continue;
        const auto shown = ForceCase(name);
        auto child = Items.FirstChild(item);
        while (child != InvalidIndex && CompareNames(Items.Text(child), shown) < 0)
            child = Items.NextChild(item, child);
        if (child == InvalidIndex)
            Items.AddChild(item, shown);
        else
            Items.Insert(child, shown);
    }
    Items.SetRead(item);
}

void DirectoryOutlineModel::BuildTree()
{
    Items.Clear();
    Items.AddChild(0, Style.DriveLetters ? ForceCase(std::string{CurrentDrive, ':'}) : Style.Root);
    WalkTree(CurrentDirectory);
    Change();
}

void DirectoryOutlineModel::BuildSubTree(std::int32_t item)
{
    if (!Items.Read(item))
        BuildOneLevel(item);
    for (const auto child : std::vector<std::int32_t>(Items.Children(item)))
        BuildSubTree(child);
}

std::int32_t DirectoryOutlineModel::GetChildNamed(const std::string& name, std::int32_t item)
{
    Items.SetExpanded(item, true);
    const auto wanted = UpperText(name);
    for (auto child = Items.FirstChild(item); child != InvalidIndex; child = Items.NextChild(item, child)) {
        if (UpperText(Items.Text(child)) == wanted)
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
    return !path.empty() && Upper(path.front()) == Upper(CurrentDrive);
}

void DirectoryOutlineModel::SetDrive(char letter)
{
    letter = Upper(letter);
    if (letter < 'A' || letter > 'Z' || letter == Upper(CurrentDrive))
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
    if (const auto selected = Items.SelectedItem(); selected > 0)
        SetDirectory(Items.FullPath(selected));
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
