#include "drives_folder.h"

#include "platform/posix/plain_file.h"

#include <glib.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string LetterName(char letter)
{
    return std::string(1, letter);
}

// A name beside the letter's that nobody else is using now.
std::string SideName(char letter, const char* what)
{
    std::random_device random;
    return "." + LetterName(letter) + "." + what + "-" + std::to_string(random()) + std::to_string(random());
}

// A group that holds this user alone, as Debian's private groups do.
bool PrivateGroup(gid_t group)
{
    const auto* user = getpwuid(geteuid());
    const auto* entry = getgrgid(group);
    return user && entry && user->pw_gid == group && entry->gr_mem && !entry->gr_mem[0]
        && std::string_view(entry->gr_name) == user->pw_name;
}

} // namespace

std::optional<DrivesFolder> DrivesFolder::Open(const fs::path& folder, bool make, CarrierOutcome& failure)
{
    if (make) {
        std::error_code ignored;
        fs::create_directories(folder.parent_path(), ignored);
        mkdir(folder.c_str(), 0700);
    }
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        const std::error_code why(errno, std::generic_category());
        failure = why == std::errc::no_such_file_or_directory && !make
                    ? Fail(NetStatus::NotConnected)
                    : Fail(NetStatus::Failed, "The drives folder " + folder.string() + " cannot be opened: " + why.message());
        return std::nullopt;
    }
    DrivesFolder drives(folder, descriptor);
    struct stat info {};
    if (fstat(descriptor, &info) != 0) {
        failure = Fail(NetStatus::Failed, "The drives folder " + folder.string() + " cannot be read.");
        return std::nullopt;
    }
    // Whoever may write there could put links and records of their choosing in our place.
    if (info.st_uid != geteuid() || (info.st_mode & S_IWOTH) != 0
        || ((info.st_mode & S_IWGRP) != 0 && !PrivateGroup(info.st_gid))) {
        failure = Fail(NetStatus::Failed, "The drives folder " + folder.string()
                                              + " belongs to another user or can be written by others; "
                                                "choose a folder of your own that only you can write.");
        return std::nullopt;
    }
    return drives;
}

DrivesFolder::~DrivesFolder()
{
    if (Watcher >= 0)
        close(Watcher);
    if (Descriptor >= 0)
        close(Descriptor);
}

void DrivesFolder::Lock() const
{
    while (flock(Descriptor, LOCK_EX) != 0 && errno == EINTR) {
    }
}

void DrivesFolder::Unlock() const
{
    flock(Descriptor, LOCK_UN);
}

bool DrivesFolder::BecomeWatcher() const
{
    if (Watcher >= 0)
        return true;
    const int file = openat(Descriptor, ".watch.lock", O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return false;
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
        close(file);
        return false;
    }
    Watcher = file;
    return true;
}

bool DrivesFolder::Taken(char letter) const
{
    struct stat info {};
    return fstatat(Descriptor, LetterName(letter).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

std::optional<std::string> DrivesFolder::OwnLinkTarget(const char* name) const
{
    struct stat info {};
    if (fstatat(Descriptor, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(info.st_mode) || info.st_uid != geteuid())
        return std::nullopt;
    std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
    const auto got = readlinkat(Descriptor, name, target.data(), target.size());
    if (got < 0 || static_cast<std::size_t>(got) >= target.size())
        return std::nullopt;  // changed while read
    target.resize(static_cast<std::size_t>(got));
    return target;
}

std::optional<LetterRecord> DrivesFolder::OwnRecord(char letter) const
{
    const auto bytes = ReadOwnPlainFile(Descriptor, LetterRecordName(letter).c_str(), LargestLetterRecord);
    auto record = bytes ? ParseLetterRecord(*bytes) : std::nullopt;
    if (!record || OwnLinkTarget(LetterName(letter).c_str()) != record->Target)
        return std::nullopt;
    return record;
}

std::vector<std::pair<char, LetterRecord>> DrivesFolder::OwnLetters() const
{
    std::vector<std::pair<char, LetterRecord>> letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (auto record = OwnRecord(letter))
            letters.emplace_back(letter, std::move(*record));
    }
    return letters;
}

bool DrivesFolder::MakeLink(char letter, const std::string& target) const
{
    return symlinkat(target.c_str(), Descriptor, LetterName(letter).c_str()) == 0;
}

bool DrivesFolder::RemoveLink(char letter, const std::string& expected) const
{
    const auto aside = SideName(letter, "gone");
    if (renameat(Descriptor, LetterName(letter).c_str(), Descriptor, aside.c_str()) != 0)
        return false;
    if (OwnLinkTarget(aside.c_str()) == expected)
        return unlinkat(Descriptor, aside.c_str(), 0) == 0;
    // Not ours after all; back it goes, unless something has taken the letter since.
    renameat2(Descriptor, aside.c_str(), Descriptor, LetterName(letter).c_str(), RENAME_NOREPLACE);
    errno = EBUSY;
    return false;
}

bool DrivesFolder::WriteRecord(char letter, const LetterRecord& record, std::string& reason) const
{
    const auto bytes = LetterRecordText(record);
    if (!bytes) {
        reason = "A path, a folder or a user name holds a line end.";
        return false;
    }
    // Through the folder held open: its path may name another folder by now.
    const auto file = "/proc/self/fd/" + std::to_string(Descriptor) + "/" + LetterRecordName(letter);
    GError* error = nullptr;
    const bool written = g_file_set_contents_full(file.c_str(), bytes->data(), static_cast<gssize>(bytes->size()),
                                                  G_FILE_SET_CONTENTS_CONSISTENT, 0600, &error);
    if (error) {
        reason = error->message;
        g_error_free(error);
    }
    return written;
}

void DrivesFolder::RemoveRecord(char letter) const
{
    unlinkat(Descriptor, LetterRecordName(letter).c_str(), 0);
}

std::optional<std::string> DrivesFolder::RecordStamp(char letter) const
{
    struct stat info {};
    if (fstatat(Descriptor, LetterRecordName(letter).c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return std::to_string(info.st_ino) + ":" + std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
}
