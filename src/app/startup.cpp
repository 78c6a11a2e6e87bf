#include "app/mainform.h"

#include "catalogue/catalogue_preload.h"
#include "store/atomic_file.h"
#include "platform/path_style.h"
#include "store/profile_files.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

std::filesystem::path FileBeside(const std::filesystem::path& directory, std::string_view name)
{
    return directory / TextPath(std::string(name));
}

} // namespace

void TMainPRGForm::StartUp()
{
    AvailablePathList.clear();
    SelectedPathIndex = 0;
    ProfileDirectory = ExeDir / "Profile" / "";
    CheckDirectory(ProfileDirectory, true);
    ReadCatalogue();
    RequiresPWLabel->setText(QStringLiteral(" "));
    LoadMappingList(ReadConfigFile(FileBeside(ExeDir, ConfigFileName)));
}

void TMainPRGForm::ReadCatalogue()
{
    const auto file = FileBeside(ExeDir, CatalogueFileName);
    auto read = Preload ? Preload->Take(file, AvailablePathList) : ReadCatalogueFile(file, AvailablePathList);
    CatalogueAtStart = {read.Status, read.Damaged, std::move(read.OriginalBytes)};
    if (CatalogueAtStart.Status != FileReadStatus::Read) {
        ShowBox("Before you can start to use the program,\nYou need to define the available network connections...",
                " Information", MessageIcon::Information);
        return;
    }
    if (CatalogueAtStart.Damaged)
        ShowPlain(" The Corvane2.net file is corrupted!");
    RefreshCatalogueView(false);
    // The records read decide, as the header does wherever it is right.
    if (!AvailablePathList.empty()) {
        RemoveBtn->setEnabled(true);
        RightBtn->setEnabled(true);
    }
}

void TMainPRGForm::FormActivate()
{
    BuildDriveTable();
    RefreshDriveTable();
}

void TMainPRGForm::FormClose()
{
    if (Closed)
        return;
    Closed = true;
    AskToSaveGroup();
    SaveCatalogue();
    SaveConfiguration();
    AvailablePathList.clear();
    DrivePathList.clear();
}

void TMainPRGForm::SaveAtSessionEnd()
{
    if (Closed)
        return;
    SaveCatalogue();
    SaveConfiguration();
}

bool TMainPRGForm::WriteStoredFile(const std::filesystem::path& path, StoredFile& atStart, const std::string& bytes)
{
    // What could not be read may still be saved by hand: it is never written over.
    if (atStart.Status == FileReadStatus::Unreadable)
        return false;
    if (atStart.Damaged) {
        if (!SaveFileAtomically(std::filesystem::path(path) += ".bak", atStart.OriginalBytes))
            return false;
        atStart = {FileReadStatus::Read, false, {}};
    }
    return SaveFileAtomically(path, bytes);
}

void TMainPRGForm::SaveCatalogue()
{
    // What edits left behind goes before it is written.
    AvailablePathList.Compact();
    if (!WriteStoredFile(FileBeside(ExeDir, CatalogueFileName), CatalogueAtStart, FormatCatalogue(AvailablePathList)))
        ShowBox(" Was not able to save the network path list!", " Error", MessageIcon::Error);
}

void TMainPRGForm::SaveConfiguration()
{
    WriteConfigFile(FileBeside(ExeDir, ConfigFileName));
}

bool TMainPRGForm::AskToSaveGroup()
{
    if (!SaveBtn->isEnabled())
        return true;
    if (ShowBox(" Do you want to save the profile mapping list?", " Warnint", MessageIcon::Warning,
                MessageButtons::YesNo)
        == MessageAnswer::Yes)
        return SaveGroup();
    // Dropped: what is loaded next is unchanged.
    SaveBtn->setEnabled(false);
    return true;
}

MessageAnswer TMainPRGForm::ShowBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                    MessageButtons buttons)
{
    return UserInterface.ShowMessage({MessageKind::Box, text, caption, icon, buttons, {}});
}

void TMainPRGForm::ShowPlain(const std::string& text)
{
    UserInterface.ShowMessage({MessageKind::Plain, text, ApplicationTitle, MessageIcon::None, MessageButtons::Ok, {}});
}
