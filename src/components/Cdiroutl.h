#pragma once

#include "components/directory_outline_model.h"

#include <QAbstractScrollArea>
#include <QIcon>

#include <unordered_map>
#include <vector>

// The little a directory tree needs of an outline: items drawn one a line
// with tree lines and a picture, selected with the mouse or the arrow keys,
// expanded and collapsed with a double click, the plus and minus keys or
// the right and left keys. Scroll bars appear as the lines need them, and
// painting costs the lines in view, however many there are.
class TCustomOutline : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TCustomOutline(OutlineTree& tree, QWidget* parent = nullptr);

    int ItemHeight() const { return LineHeight; }
    // The item on the line at a point of the viewport; InvalidIndex below the last line.
    std::int32_t ItemAt(QPoint point) const;
    // Where the item's line is in the viewport; empty when it is not shown.
    QRect ItemRect(std::int32_t item) const;
    // Scrolls the least that brings the item's line into view.
    void ScrollToItem(std::int32_t item);

    // Which scroll bars may appear (ssBoth: either, as needed).
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    TScrollStyle ScrollBars() const { return Bars; }
    void SetScrollBars(TScrollStyle value);

    QIcon PictureClosed;
    QIcon PictureOpen;
    QIcon PictureLeaf;

signals:
    void Clicked();

protected:
    virtual void Click();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The lines as the tree stands now, worked out again only after it changed.
    struct Lines {
        std::uint64_t Generation = ~std::uint64_t{0};
        std::vector<std::int32_t> Items;
        std::unordered_map<std::int32_t, int> LineOf;
        int Width = 0;
    };
    const Lines& Shown() const;
    void UpdateScrollBars();
    void Select(std::int32_t item);
    void Toggle(std::int32_t item);
    // Runs an action of the user; an outline error ends it, never the program.
    template <typename Action>
    void Guarded(Action action);

    OutlineTree& Tree;
    mutable Lines Cache;
    TScrollStyle Bars = ssBoth;
    int LineHeight = 18;
    int Indent = 18;
};

// The directories of the current drive, read level by level as they are
// expanded; the selected directory is the process's current directory.
class TCDirectoryOutline final : public TCustomOutline {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCDirectoryOutline)

public:
    explicit TCDirectoryOutline(QWidget* parent = nullptr, PathStyle pathStyle = NativePathStyle());

    DirectoryOutlineModel& Model() { return Directories; }
    char Drive() const { return Directories.Drive(); }
    const std::string& Directory() const { return Directories.Directory(); }
    TTextCase TextCase() const { return Directories.TextCase(); }
    void SetDrive(char letter);
    void SetDirectory(const std::string& path);
    void SetTextCase(TTextCase value);
    void BuildTree();

    std::function<void(TCDirectoryOutline&)> OnChange;

protected:
    void Click() override;
    void showEvent(QShowEvent* event) override;

private:
    DirectoryOutlineModel Directories;
    bool WindowMade = false;
};
