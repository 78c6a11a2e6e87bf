#include "qt_services.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

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

void QtHelpEngine::ShowTopic(const std::string& helpFile, int context)
{
    const auto file = QString::fromLocal8Bit(helpFile);
    if (!QFileInfo::exists(file)) {
        QMessageBox::information(QApplication::activeWindow(), QStringLiteral(" Help"),
                                 QStringLiteral("The help file %1 was not found.").arg(file));
        return;
    }
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral(" Help"),
                             QStringLiteral("Help topic %1 of %2.").arg(context).arg(file));
}
