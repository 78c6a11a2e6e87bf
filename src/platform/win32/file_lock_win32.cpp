#include "platform/file_lock.h"

#include <windows.h>

#include <string>

namespace {

// Far past any content: a locked range there keeps nobody from reading the file.
constexpr DWORD LockedOffsetHigh = 0x40000000;

HANDLE AsHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

FileLock::FileLock(std::filesystem::path file) : File(std::move(file)) {}

FileLock::~FileLock()
{
    if (Handle != -1)
        CloseHandle(AsHandle(Handle));
}

FileLock::Outcome FileLock::Acquire()
{
    if (Handle != -1)
        return Outcome::Held;
    // Without write or delete sharing: while a copy holds it, nobody writes or removes it.
    bool writable = true;
    HANDLE file = CreateFileW(File.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_SHARING_VIOLATION) {
        writable = false;
        file = CreateFileW(File.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? Outcome::HeldElsewhere : Outcome::Unavailable;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return Outcome::Unavailable;
    }
    OVERLAPPED at{};
    at.OffsetHigh = LockedOffsetHigh;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const bool held = GetLastError() == ERROR_LOCK_VIOLATION;
        CloseHandle(file);
        return held ? Outcome::HeldElsewhere : Outcome::Unavailable;
    }
    Handle = reinterpret_cast<std::intptr_t>(file);
    if (writable) {
        const auto text = std::to_string(GetCurrentProcessId()) + "\r\n";
        DWORD written = 0;
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        if (WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
            SetEndOfFile(file);
    }
    return Outcome::Held;
}
