#pragma once

#include <cstdint>
#include <filesystem>

// A lock on a file, held for as long as this lives, against every process
// that asks for it the same way. The file is never removed: no copy can take
// away another's lock between its making and its locking, and a lock left by
// a copy that died is free again with the copy itself, whatever the file holds.
class FileLock {
public:
    enum class Outcome {
        Held,          // this process holds it now
        HeldElsewhere, // a live process holds it
        Unavailable,   // there is no lock to be had: a read-only folder without
                       // the file, or something other than a plain file in its place
    };

    explicit FileLock(std::filesystem::path file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock without waiting, and writes this process's id into the
    // file where it can (for people, not for the lock).
    Outcome Acquire();

private:
    std::filesystem::path File;
    std::intptr_t Handle = -1;
};
