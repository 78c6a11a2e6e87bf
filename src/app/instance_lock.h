#pragma once

#include "app/ui_services.h"

#include <QLockFile>

#include <filesystem>

// Keeps a second copy of the program from working on the same files: two
// closes would write over each other's catalogue and profiles.
class InstanceLock {
public:
    explicit InstanceLock(const std::filesystem::path& exeDirectory);
    Q_DISABLE_COPY_MOVE(InstanceLock)

    // False, once the user is told that the program already runs there, when
    // a live copy holds the lock; true otherwise. A lock left by a copy that
    // died is taken over; where no lock can be made, none is held.
    bool Acquire(UiServices& ui);

private:
    std::filesystem::path Directory;
    QLockFile Lock;
};
