#pragma once

#include "ui/ui_services.h"
#include "platform/file_lock.h"

#include <filesystem>

// Keeps a second copy of the program from working on the same files: two
// closes would write over each other's catalogue and profiles.
class InstanceLock {
public:
    explicit InstanceLock(const std::filesystem::path& exeDirectory);
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False, once the user is told that the program already runs there, when
    // a live copy holds the lock; true otherwise. A lock left by a copy that
    // died is taken over; where no lock can be had, none is held.
    bool Acquire(UiServices& ui);

private:
    std::filesystem::path Directory;
    FileLock Lock;
};
