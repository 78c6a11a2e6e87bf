#include "instance_lock.h"

#include "platform/path_style.h"

#include <QString>

InstanceLock::InstanceLock(const std::filesystem::path& exeDirectory)
    : Directory(exeDirectory),
      Lock(QString::fromStdU16String((exeDirectory / "Corvane2.lock").u16string()))
{
    // Only a dead owner makes a lock stale, never its age.
    Lock.setStaleLockTime(0);
}

bool InstanceLock::Acquire(UiServices& ui)
{
    if (Lock.tryLock(0))
        return true;
    // A copy that died between making its lock and writing its name in it
    // left a lock no one can judge by its text. The system still knows
    // whether a live copy holds it, and then refuses to remove it.
    if (Lock.error() == QLockFile::LockFailedError && !Lock.getLockInfo(nullptr, nullptr, nullptr)
        && Lock.removeStaleLockFile() && Lock.tryLock(0))
        return true;
    // Only a live copy's lock turns this one away; a folder where no lock can
    // be made (read-only, installed) still lets the program start.
    if (Lock.error() != QLockFile::LockFailedError)
        return true;
    ui.ShowMessage({MessageKind::Box,
                    " The program is already running in\n " + PathText(Directory)
                        + "\n and may run only once there!",
                    " Information", MessageIcon::Information, MessageButtons::Ok, {}});
    return false;
}
