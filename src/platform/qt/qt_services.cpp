#include "qt_services.h"

#include "platform/network_folder.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>

std::filesystem::path ExecutableDirectory()
{
    // Qt gives '/' everywhere; the messages that name the folder show the system's own.
    return std::filesystem::path(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdU16String());
}

void QtShellOpener::Open(const std::string& address)
{
    const auto text = QString::fromLocal8Bit(address.data(), static_cast<qsizetype>(address.size()));
    QUrl url(text, QUrl::StrictMode);
    // A drive letter reads as a scheme of one letter: that is a file too.
    if (!url.isValid() || url.scheme().size() < 2)
        url = QUrl::fromLocalFile(text);
    QDesktopServices::openUrl(url);
}

std::optional<std::string> QtFolderBrowser::Browse(const std::string& title)
{
    const auto folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                          QString::fromLocal8Bit(title), QDir::rootPath());
    if (folder.isEmpty())
        return std::nullopt;
    const auto path = QDir::toNativeSeparators(folder).toLocal8Bit().toStdString();
    // A folder of a share the desktop mounted is kept by the share's own name.
    return NetworkPathOfFolder(path).value_or(path);
}
