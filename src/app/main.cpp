#include "app/help_file_engine.h"
#include "app/instance_lock.h"
#include "app/mainform.h"
#include "app/program.h"
#include "app/qt_ui.h"
#include "app/shown_report.h"
#include "catalogue/catalogue_preload.h"
#include "components/Ccalendr.h"
#include "components/Cdiroutl.h"
#include "components/Cgauges.h"
#include "components/Perfgrap.h"
#include "platform/path_style.h"
#include "platform/qt/qt_services.h"
#include "platform/system_services.h"
#include "store/data_folder.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const auto exeDirectory = RunningProgramDirectory();
    // An installed program cannot write beside itself: the user's folder then.
    const auto userFolder = UserConfigDirectory();
    const auto dataDirectory =
        ChooseDataDirectory(exeDirectory, userFolder.empty() ? userFolder : userFolder / "Corvane");
    // The toolkit takes a while to start; a big catalogue is read meanwhile.
    CataloguePreload preload(dataDirectory / TextPath(std::string(CatalogueFileName)));

    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Corvane2"));

    QtUi ui;
    return RunProgram(ui, [&] {
        InstanceLock lock(dataDirectory);
        if (!lock.Acquire(ui))
            return;
        std::shared_ptr<DriveInventory> drives = MakeSystemDriveInventory();
        auto runner = MakeSystemCommandRunner(exeDirectory);
        QtShellOpener shell;
        std::shared_ptr<ShareLister> shares = MakeSystemShareLister();
        QtFolderBrowser browser;
        HelpFileEngine help(ui, shell);
        TMainPRGForm form(dataDirectory, {drives, *runner, browser, shell, help, shares}, ui, nullptr, &preload);
        // The components start with the program and are placed on no window.
        TCCalendar calendar;
        TCDirectoryOutline outline;
        TCGauge gauge;
        TPerformanceGraph graph;
        ShownReport::Watch(form);
        form.show();
        QApplication::exec();
    });
}
