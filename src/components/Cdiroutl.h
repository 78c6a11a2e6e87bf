#pragma once

#include "components/directory_outline_model.h"

#include <QIcon>
#include <QWidget>

// The little a directory tree needs of an outline: items drawn one a line
// with tree lines and a picture, selected with the mouse or the arrow keys,
// expanded and collapsed with a double click, the plus and minus keys or
// the right and left keys.
class TCustomOutline : public QWidget {
    Q_OBJECT

public:
    explicit TCustomOutline(OutlineTree& tree, QWidget* parent = nullptr);

    int ItemHeight() const { return LineHeight; }
    // The item on the line at a point; InvalidIndex below the last line.
    std::int32_t ItemAt(QPoint point) const;
    QRect ItemRect(std::int32_t item) const;

    QIcon PictureClosed;
    QIcon PictureOpen;
    QIcon PictureLeaf;

signals:
    void Clicked();

protected:
    virtual void Click();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Select(std::int32_t item);
    void Toggle(std::int32_t item);

    OutlineTree& Tree;
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
