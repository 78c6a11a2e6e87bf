#pragma once

#include "components/outline_tree.h"
#include "platform/path_style.h"

#include <functional>
#include <string>

enum class TTextCase { tcLowerCase, tcUpperCase, tcAsIs };

// The directories of one drive as a tree read level by level, with a current
// drive and a current directory kept in step with the process's own.
class DirectoryOutlineModel {
public:
    static constexpr std::int32_t InvalidIndex = OutlineTree::InvalidIndex;
    static constexpr std::int32_t RootIndex = 1;

    explicit DirectoryOutlineModel(PathStyle style = NativePathStyle());

    OutlineTree& Tree() { return Items; }
    const OutlineTree& Tree() const { return Items; }

    char Drive() const { return CurrentDrive; }
    const std::string& Directory() const { return CurrentDirectory; }
    TTextCase TextCase() const { return Case; }

    void SetDrive(char letter);
    void SetDirectory(const std::string& path);
    void SetTextCase(TTextCase value);

    std::string ForceCase(std::string text) const;
    static std::string CurDir();
    static int DriveToInt(char letter);

    void BuildOneLevel(std::int32_t item);
    void BuildTree();
    // Every level below item, each read once.
    void BuildSubTree(std::int32_t item);
    std::int32_t GetChildNamed(const std::string& name, std::int32_t item);
    void WalkTree(const std::string& path);

    // The user selected an item: its path becomes the directory.
    void Click();
    // The window came to be: without a drive yet, take the process's.
    void CreateWnd();
    // Loading from stored settings: the tree is built once, by Loaded.
    void BeginLoading() { Loading = true; }
    void Loaded();

    std::function<void()> OnChange;

private:
    bool OnCurrentDrive(const std::string& path) const;
    void Change();

    PathStyle Style;
    OutlineTree Items;
    char CurrentDrive = 0;
    std::string CurrentDirectory;
    TTextCase Case = TTextCase::tcLowerCase;
    bool Loading = false;
};
