#pragma once

#include "base/letter_record.h"
#include "net_status.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The drives folder, held open from the moment it was checked: every letter
// is looked up in that very folder, whatever its path comes to name later.
// Only links and records that this user owns count as the carrier's.
class DrivesFolder {
public:
    // Opens the folder, making it (private) when make is set and it is not
    // there. Nothing, with the reason in failure, when it cannot be opened,
    // or when another user owns it or may write in it.
    static std::optional<DrivesFolder> Open(const std::filesystem::path& folder, bool make, CarrierOutcome& failure);

    DrivesFolder(DrivesFolder&& other) noexcept
        : Folder(std::move(other.Folder)), Descriptor(std::exchange(other.Descriptor, -1)),
          Watcher(std::exchange(other.Watcher, -1))
    {
    }
    DrivesFolder& operator=(DrivesFolder&&) = delete;
    DrivesFolder(const DrivesFolder&) = delete;
    DrivesFolder& operator=(const DrivesFolder&) = delete;
    ~DrivesFolder();

    const std::filesystem::path& Path() const { return Folder; }
    std::filesystem::path LinkPath(char letter) const { return Folder / std::string(1, letter); }

    // Waits until no other carrier is changing the folder; held until Unlock
    // or until this is gone.
    void Lock() const;
    void Unlock() const;
    // Whether this is the one watcher of the folder: false while another
    // holds it; held until this is gone.
    bool BecomeWatcher() const;

    // Whether anything at all stands at the letter.
    bool Taken(char letter) const;
    // The record of a letter whose link is ours and still the one it tells of.
    std::optional<LetterRecord> OwnRecord(char letter) const;
    // The letters, A to Z, that OwnRecord gives.
    std::vector<std::pair<char, LetterRecord>> OwnLetters() const;

    // Makes the link at the letter; false (errno EEXIST) when anything stands there.
    bool MakeLink(char letter, const std::string& target) const;
    // Removes the letter's link when it is ours and points at expected: it is
    // moved aside first and looked at there, so that nothing put at the letter
    // meanwhile is removed; anything else is put back.
    bool RemoveLink(char letter, const std::string& expected) const;

    // Replaces the record as a whole, atomically; a link in its place is
    // replaced, never followed. False for a value that holds a line end or a
    // NUL, which would read back as other keys; reason then says why.
    bool WriteRecord(char letter, const LetterRecord& record, std::string& reason) const;
    void RemoveRecord(char letter) const;
    // What tells this writing of the letter's record from any other: a record
    // is written anew as a new file. Nothing when there is none.
    std::optional<std::string> RecordStamp(char letter) const;

private:
    DrivesFolder(std::filesystem::path folder, int descriptor) : Folder(std::move(folder)), Descriptor(descriptor) {}
    std::optional<std::string> OwnLinkTarget(const char* name) const;

    std::filesystem::path Folder;
    int Descriptor = -1;
    mutable int Watcher = -1;
};
