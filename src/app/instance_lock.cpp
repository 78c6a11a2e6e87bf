#include "instance_lock.h"

#include "platform/path_style.h"

InstanceLock::InstanceLock(const std::filesystem::path& exeDirectory)
    : Directory(exeDirectory), Lock(exeDirectory / "Corvane2.lock")
{
}

bool InstanceLock::Acquire(UiServices& ui)
{
    // Only a live copy turns this one away; a folder where no lock can be had
    // (read-only, or something else put in the lock's place) still lets the
    // program start.
    if (Lock.Acquire() != FileLock::Outcome::HeldElsewhere)
        return true;
    ui.ShowMessage({MessageKind::Box,
                    " The program is already running in\n " + PathText(Directory)
                        + "\n and may run only once there!",
                    " Information", MessageIcon::Information, MessageButtons::Ok, {}});
    return false;
}
