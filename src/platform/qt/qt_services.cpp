#include "qt_services.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

std::filesystem::path ExecutableDirectory()
{
    // Qt gives '/' everywhere; the messages that name the folder show the system's own.
    return std::filesystem::path(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdU16String());
}

std::optional<std::string> QtFolderBrowser::Browse(const std::string& title)
{
    const auto folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                          QString::fromLocal8Bit(title), QDir::rootPath());
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder).toLocal8Bit().toStdString();
}
