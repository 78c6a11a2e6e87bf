#include "app/mainform.h"

#include "catalogue/catalogue_panel.h"
#include "mapping/group_panel.h"
#include "profiles/profile_panel.h"

#include <QLabel>

void TMainPRGForm::StartUp(CataloguePreload* preload)
{
    Panel1->MakeProfileFolder();
    Panel2->ReadCatalogue(preload);
    Panel2->RequiresPWLabel->setText(QStringLiteral(" "));
    Panel1->ReadProfiles();
    Panel3->LoadMappingList();
}

void TMainPRGForm::FormActivate()
{
    Panel3->BuildDriveTable();
    Panel3->RefreshDriveTable();
}

void TMainPRGForm::FormClose()
{
    if (Closed)
        return;
    Closed = true;
    Panel3->AskToSaveGroup();
    Panel2->SaveCatalogue();
    Panel1->SaveProfiles();
    Panel2->AvailablePathList.clear();
    Panel3->DrivePathList.clear();
}

void TMainPRGForm::SaveAtSessionEnd()
{
    if (Closed)
        return;
    Panel2->SaveCatalogue();
    Panel1->SaveProfiles();
}
