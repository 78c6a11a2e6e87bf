#include "qt_services.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

std::filesystem::path ExecutableDirectory()
{
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String());
}

std::optional<std::string> QtFolderBrowser::Browse(const std::string& title)
{
    const auto folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                          QString::fromLocal8Bit(title), QDir::rootPath());
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder).toLocal8Bit().toStdString();
}
