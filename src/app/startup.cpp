#include "app/mainform.h"

#include "store/atomic_file.h"
#include "store/profile_files.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

std::filesystem::path FileBeside(const std::filesystem::path& directory, std::string_view name)
{
    return directory / std::filesystem::path(name);
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
    CatalogueAtStart = ReadCatalogueFile(FileBeside(ExeDir, CatalogueFileName), AvailablePathList);
    if (CatalogueAtStart.Status != FileReadStatus::Read) {
        ShowBox("Before you can start to use the program,\nYou need to define the available network connections...",
                " Information", MessageIcon::Information);
        return;
    }
    if (CatalogueAtStart.Damaged)
        ShowPlain(" The Corvane2.net file is corrupted!");
    RefreshCatalogueView(false);
    if (CatalogueAtStart.HeaderCount > 0) {
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
    WriteConfigFile(FileBeside(ExeDir, ConfigFileName));
    AvailablePathList.clear();
    DrivePathList.clear();
}

void TMainPRGForm::SaveCatalogue()
{
    const auto path = FileBeside(ExeDir, CatalogueFileName);
    // A file that could not be read, or whose damaged bytes could not be put
    // aside, is never written over: what it holds may still be saved by hand.
    bool safe = CatalogueAtStart.Status != FileReadStatus::Unreadable;
    if (safe && CatalogueAtStart.Damaged)
        safe = SaveFileAtomically(FileBeside(ExeDir, CatalogueBackupName), CatalogueAtStart.OriginalBytes);
    if (!safe || !WriteCatalogueFile(path, AvailablePathList))
        ShowBox(" Was not able to save the network path list!", " Error", MessageIcon::Error);
}

void TMainPRGForm::AskToSaveGroup()
{
    if (SaveBtn->isEnabled()
        && ShowBox(" Do you want to save the profile mapping list?", " Warnint", MessageIcon::Warning,
                   MessageButtons::YesNo)
               == MessageAnswer::Yes)
        SaveBtnClick();
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
