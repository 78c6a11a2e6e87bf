#include "carrier.h"

#include "autostart.h"
#include "records.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const Usage =
    "usage: corvane-net use X: <path> [<password>|* /USER:<user>] /PERSISTENT:YES|NO\n"
    "       corvane-net use X: /DELETE\n"
    "       corvane-net use\n"
    "       corvane-net restore";

// A dangling link is told from a live one this fast; a stalled server counts as gone.
constexpr auto AnswerTimeLimit = std::chrono::milliseconds(1500);

CarrierOutcome Fail(int status, std::string reason)
{
    return {status, std::move(reason), {}};
}

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && EqualsIgnoringCase(text.substr(0, start.size()), start);
}

std::optional<char> DriveLetter(std::string_view device)
{
    const char letter = device.empty() ? '\0' : AsciiUpper(device[0]);
    if (device.size() != 2 || device[1] != ':' || letter < 'A' || letter > 'Z')
        return std::nullopt;
    return letter;
}

bool HoldsLineEnd(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool EntryExists(const fs::path& entry)
{
    struct stat info {};
    return lstat(entry.c_str(), &info) == 0;
}

// The record of a letter whose link is still the one the carrier made.
std::optional<LetterRecord> OwnRecord(const fs::path& drives, char letter)
{
    auto record = ReadRecord(drives, letter);
    std::error_code error;
    if (!record || fs::read_symlink(LinkOf(drives, letter), error).string() != record->Target || error)
        return std::nullopt;
    return record;
}

// The letters, A to Z, whose links are still the ones the carrier made.
std::vector<std::pair<char, LetterRecord>> OwnLetters(const fs::path& drives)
{
    std::vector<std::pair<char, LetterRecord>> letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (auto record = OwnRecord(drives, letter))
            letters.emplace_back(letter, std::move(*record));
    }
    return letters;
}

bool AnyPersistent(const fs::path& drives)
{
    const auto letters = OwnLetters(drives);
    return std::any_of(letters.begin(), letters.end(), [](const auto& own) { return own.second.Persistent; });
}

// Letters other than this one whose links lie on the share of key; with
// mountedOnly, only those on a mount the carrier made.
bool OtherLetterOnShare(const fs::path& drives, char letter, const std::string& key, bool mountedOnly)
{
    for (const auto& [other, record] : OwnLetters(drives)) {
        const auto unc = ParseUnc(record.Path);
        if (other != letter && unc && ShareKey(*unc) == key && (record.Mounted || !mountedOnly))
            return true;
    }
    return false;
}

// Puts the link in place in one step, over a dangling one of ours if need be.
bool PlaceLink(const fs::path& target, const fs::path& entry)
{
    std::random_device random;
    const auto temporary = entry.parent_path() / ("." + entry.filename().string() + ".link-" + std::to_string(random()));
    if (symlink(target.c_str(), temporary.c_str()) != 0)
        return false;
    if (std::rename(temporary.c_str(), entry.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

void LetGoOfShare(const UncPath& share, bool mountedNow)
{
    std::string ignored;
    if (mountedNow)
        UnmountShare(share, ignored);
}

CarrierOutcome Attach(char letter, const std::string& path, const std::optional<Credentials>& credentials,
                      bool persistent, const fs::path& drives)
{
    std::error_code error;
    fs::create_directories(drives, error);
    const auto entry = LinkOf(drives, letter);
    // A letter of ours whose share has gone (a log-out, a server restart) may be attached anew.
    if (EntryExists(entry) && (!OwnRecord(drives, letter) || FolderAnswers(entry, AnswerTimeLimit)))
        return Fail(NetStatus::DeviceInUse, "The local device name is already in use.");

    LetterRecord record{persistent, path, credentials ? std::optional(credentials->User) : std::nullopt, {}, false};
    std::optional<UncPath> share;
    bool mountedNow = false;
    fs::path target;
    if (path.starts_with("\\\\")) {
        share = ParseUnc(path);
        if (!share)
            return Fail(NetStatus::NameNotFound, "The network name cannot be found.");
        // No user name is no login: the share is asked for as a guest.
        const auto login = credentials && !credentials->User.empty() ? credentials : std::nullopt;
        const auto mounted = MountShare(*share, login, persistent);
        if (!mounted.Share)
            return mounted.Failure;
        mountedNow = mounted.Share->MountedNow;
        target = mounted.Share->Folder;
        for (const auto& folder : share->Folders)
            target /= folder;
        if (!share->Folders.empty() && !FolderAnswers(target, AnswerTimeLimit)) {
            LetGoOfShare(*share, mountedNow);
            return Fail(NetStatus::NameNotFound, "The network name cannot be found.");
        }
        record.Mounted = mountedNow || OtherLetterOnShare(drives, letter, ShareKey(*share), true);
    } else {
        target = path;
        if (path.empty() || !fs::is_directory(target, error))
            return Fail(NetStatus::PathNotFound, "The network path was not found.");
        target = fs::absolute(target, error);
    }

    record.Target = target.string();
    if (!PlaceLink(target, entry)) {
        const std::error_code why(errno, std::generic_category());
        if (share)
            LetGoOfShare(*share, mountedNow);
        return Fail(NetStatus::Failed, "The drive could not be made: " + why.message());
    }
    if (!WriteRecord(drives, letter, record)) {
        const std::error_code why(errno, std::generic_category());
        unlink(entry.c_str());
        if (share)
            LetGoOfShare(*share, mountedNow);
        return Fail(NetStatus::Failed, "The drive could not be recorded: " + why.message());
    }
    if (persistent && !KeepAutostart(true))
        return {NetStatus::Done, "The drive will not be attached again at the next login: " + AutostartEntry().string()
                                     + " could not be written.", {}};
    return {};
}

CarrierOutcome Detach(char letter, const fs::path& drives)
{
    const auto entry = LinkOf(drives, letter);
    if (!EntryExists(entry))
        return Fail(NetStatus::NotConnected, "The network connection could not be found.");
    const auto record = OwnRecord(drives, letter);
    if (!record)
        return Fail(NetStatus::Failed, "The drive is not a connection this program made; it is left as it is.");

    // A share stays mounted while another letter still uses it, and one the
    // carrier did not mount stays mounted always.
    if (const auto share = ParseUnc(record->Path);
        share && record->Mounted && !OtherLetterOnShare(drives, letter, ShareKey(*share), false)) {
        std::string reason;
        if (!UnmountShare(*share, reason))
            return Fail(NetStatus::Failed, "The share could not be let go.\n" + reason);
    }
    if (unlink(entry.c_str()) != 0) {
        const std::error_code why(errno, std::generic_category());
        return Fail(NetStatus::Failed, "The drive could not be removed: " + why.message());
    }
    RemoveRecord(drives, letter);
    KeepAutostart(AnyPersistent(drives));
    return {};
}

CarrierOutcome List(const fs::path& drives)
{
    std::string listing;
    for (const auto& [letter, record] : OwnLetters(drives)) {
        std::string status = FolderAnswers(LinkOf(drives, letter), AnswerTimeLimit) ? "OK" : "Unavailable";
        status.resize(13, ' ');
        listing += status + letter + ":        " + record.Path + "\n";
    }
    if (listing.empty())
        return {NetStatus::Done, {}, "There are no entries in the list.\n\n"};
    return {NetStatus::Done, {},
            "Status       Local     Remote\n"
            "-------------------------------------------------------------------------------\n"
                + listing};
}

CarrierOutcome Restore(const fs::path& drives)
{
    std::string failures;
    for (const auto& [letter, record] : OwnLetters(drives)) {
        CarrierOutcome outcome;
        if (!record.Persistent) {
            outcome = Detach(letter, drives);
        } else if (!FolderAnswers(LinkOf(drives, letter), AnswerTimeLimit)) {
            // Nobody is there to ask: a password comes from the keyring or not at all.
            const auto login = record.User ? std::optional(Credentials{*record.User, std::nullopt}) : std::nullopt;
            outcome = Attach(letter, record.Path, login, true, drives);
        }
        if (outcome.Status != NetStatus::Done)
            failures += std::string(1, letter) + ": " + record.Path + " (" + std::to_string(outcome.Status) + "): "
                        + outcome.Reason + "\n";
    }
    KeepAutostart(AnyPersistent(drives));
    if (!failures.empty())
        return Fail(NetStatus::Failed, "Not every drive could be attached again:\n" + failures);
    return {};
}

} // namespace

CarrierOutcome RunCarrier(const std::vector<std::string>& arguments, const fs::path& drives,
                          const PasswordReader& readPassword)
{
    const auto size = arguments.size();
    if (size == 1 && EqualsIgnoringCase(arguments[0], "restore"))
        return Restore(drives);
    if (size == 0 || !EqualsIgnoringCase(arguments[0], "use"))
        return Fail(NetStatus::Failed, Usage);
    if (size == 1)
        return List(drives);
    if (size != 3 && size != 4 && size != 6)
        return Fail(NetStatus::Failed, Usage);
    const auto letter = DriveLetter(arguments[1]);
    if (!letter)
        return Fail(NetStatus::Failed, Usage);

    if (size == 3) {
        if (!EqualsIgnoringCase(arguments[2], "/DELETE"))
            return Fail(NetStatus::Failed, Usage);
        return Detach(*letter, drives);
    }

    const auto& persistence = arguments.back();
    if (!EqualsIgnoringCase(persistence, "/PERSISTENT:YES") && !EqualsIgnoringCase(persistence, "/PERSISTENT:NO"))
        return Fail(NetStatus::Failed, Usage);
    std::optional<Credentials> credentials;
    if (size == 6) {
        if (!StartsWithIgnoringCase(arguments[4], "/USER:"))
            return Fail(NetStatus::Failed, Usage);
        credentials = Credentials{arguments[4].substr(6), arguments[3] == "*" ? readPassword() : arguments[3]};
        if (HoldsLineEnd(credentials->User))
            return Fail(NetStatus::Failed, "A user name holds no line end.");
    }
    // The record keeps one value a line.
    if (HoldsLineEnd(arguments[2]))
        return Fail(NetStatus::PathNotFound, "The network path was not found.");
    return Attach(*letter, arguments[2], credentials, EqualsIgnoringCase(persistence, "/PERSISTENT:YES"), drives);
}
