#include "carrier.h"

#include "base/ascii.h"
#include "base/retry_pauses.h"
#include "autostart.h"
#include "drives_folder.h"
#include "platform/posix/folder_probe.h"

#include <glib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const Usage =
    "usage: corvane-net use X: <path> [<password>|* /USER:<user>] /PERSISTENT:YES|NO\n"
    "       corvane-net use X: /DELETE\n"
    "       corvane-net use\n"
    "       corvane-net restore [--drives <folder>] [--wait <seconds>] [--watch]";

const char* const NoEntries = "There are no entries in the list.\n\n";

using Clock = std::chrono::steady_clock;

// The watcher looks at the letters this often, and at once when the network changes;
// then a host gets this long to come back.
constexpr auto WatchPause = std::chrono::milliseconds(10000);
constexpr auto WatchRetries = std::chrono::seconds(60);

std::string ErrnoText()
{
    return std::error_code(errno, std::generic_category()).message();
}

// Holds the folder's lock for as long as it lives.
class Locked {
public:
    explicit Locked(const DrivesFolder& drives) : Drives(drives) { Drives.Lock(); }
    ~Locked() { Drives.Unlock(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    const DrivesFolder& Drives;
};

bool AnyPersistent(const DrivesFolder& drives)
{
    const auto letters = drives.OwnLetters();
    return std::any_of(letters.begin(), letters.end(), [](const auto& own) { return own.second.Persistent; });
}

// Brings the autostart entry in line with the letters; what went wrong is added to warning.
void KeepAutostartFor(const DrivesFolder& drives, std::string& warning)
{
    std::string reason;
    if (!KeepAutostart(drives.Path(), AnyPersistent(drives), reason))
        warning += (warning.empty() ? "" : "\n") + reason;
}

// Letters other than this one whose links lie on the share of key; with
// mountedOnly, only those on a mount the carrier made.
bool OtherLetterOnShare(const DrivesFolder& drives, char letter, const std::string& key, bool mountedOnly)
{
    for (const auto& [other, record] : drives.OwnLetters()) {
        const auto unc = ParseUnc(record.Path);
        if (other != letter && unc && ShareKey(*unc) == key && (record.Mounted || !mountedOnly))
            return true;
    }
    return false;
}

// Attaches path to a letter that is free, or was ours and does not answer
// (silent, with its record as it was then). The share is mounted and waited
// for before the folder is locked: a stalled server holds up no other
// command. Under the lock the letter must still be as it was; the record is
// written before the link, so that no signal between the two leaves a link
// without its record, which nothing could remove.
CarrierOutcome AttachOver(const DrivesFolder& drives, char letter, const std::optional<LetterRecord>& silent,
                          const std::string& path, const std::optional<Login>& login, bool persistent)
{
    // The record keeps one value a line.
    if (path.find_first_of("\r\n") != std::string::npos)
        return Fail(NetStatus::PathNotFound);
    LetterRecord record{persistent, path, login ? std::optional(login->User) : std::nullopt, {}, false};
    std::optional<UncPath> share;
    bool mountedNow = false;
    fs::path target;
    if (path.starts_with("\\\\")) {
        share = ParseUnc(path);
        if (!share)
            return Fail(NetStatus::NameNotFound);
        // Windows refuses blank passwords over the network; GVfs would report a missing share.
        if (login && login->Password && login->Password->Empty())
            return Fail(NetStatus::WrongPassword, "No password was given.");
        const auto mounted = MountShare(*share, login, persistent);
        if (!mounted.Share)
            return mounted.Failure;
        mountedNow = mounted.Share->MountedNow;
        target = mounted.Share->Folder;
        for (const auto& folder : share->Folders)
            target /= folder;
    } else {
        // Relative paths would depend on where the carrier happened to be started.
        std::error_code error;
        if (!path.starts_with('/') || !fs::is_directory(path, error))
            return Fail(NetStatus::PathNotFound);
        target = path;
    }
    record.Target = target.string();

    const auto letGo = [&] {
        std::string ignored;
        if (share && mountedNow)
            UnmountShare(*share, record.Target, ignored);
    };
    if (share && !share->Folders.empty() && !FolderAnswersWithin(target, AnswerTimeLimit)) {
        letGo();
        return Fail(NetStatus::NameNotFound);
    }

    const Locked locked(drives);
    const auto now = drives.OwnRecord(letter);
    // Something took the letter, or attached it anew, while the share was mounted.
    if (drives.Taken(letter) && !(silent && now && now->Target == silent->Target)) {
        letGo();
        return Fail(NetStatus::DeviceInUse);
    }
    if (share) {
        const auto key = ShareKey(*share);
        // A mount made for this letter before it dangled is still ours to let go.
        const bool oursBefore = now && now->Mounted && ParseUnc(now->Path) && ShareKey(*ParseUnc(now->Path)) == key;
        record.Mounted = mountedNow || oursBefore || OtherLetterOnShare(drives, letter, key, true);
    }
    // A letter that is to come back and cannot is no success: the entry comes first.
    std::string reason;
    if (persistent && !KeepAutostart(drives.Path(), true, reason)) {
        letGo();
        return Fail(NetStatus::Failed, "The drive would not be attached again at the next login.\n" + reason);
    }
    // From here a failure gives back the mount, and the login entry unless another letter needs it.
    const auto giveBack = [&] {
        letGo();
        KeepAutostartFor(drives, reason);
    };
    // Our dangling letter may already point where the share came back: then only the record changes.
    const bool relink = !(now && now->Target == record.Target);
    if (relink && now && !drives.RemoveLink(letter, now->Target)) {
        giveBack();
        return Fail(NetStatus::DeviceInUse);
    }
    if (!drives.WriteRecord(letter, record, reason)) {
        giveBack();
        return Fail(NetStatus::Failed, "The drive could not be recorded: " + reason);
    }
    if (relink && !drives.MakeLink(letter, record.Target)) {
        // Something took the letter since it was looked at.
        const auto status = errno == EEXIST ? NetStatus::DeviceInUse : NetStatus::Failed;
        const auto why = "The drive could not be made: " + ErrnoText();
        drives.RemoveRecord(letter);
        giveBack();
        return Fail(status, status == NetStatus::DeviceInUse ? std::string() : why);
    }
    return {};
}

CarrierOutcome Attach(const DrivesFolder& drives, char letter, const std::string& path, const std::optional<Login>& login,
                      bool persistent)
{
    // A letter of ours whose share has gone (a log-out, a server restart) may be attached anew.
    const auto previous = drives.OwnRecord(letter);
    if (drives.Taken(letter) && (!previous || FolderAnswersWithin(drives.LinkPath(letter), AnswerTimeLimit)))
        return Fail(NetStatus::DeviceInUse);
    return AttachOver(drives, letter, previous, path, login, persistent);
}

CarrierOutcome Detach(const DrivesFolder& drives, char letter)
{
    if (!drives.Taken(letter))
        return Fail(NetStatus::NotConnected);
    const auto record = drives.OwnRecord(letter);
    const char* const NotOurs = "The drive is not a connection this program made; it is left as it is.";
    if (!record)
        return Fail(NetStatus::Failed, NotOurs);
    // The link goes first: whatever the share does, the letter is free afterwards.
    if (!drives.RemoveLink(letter, record->Target))
        return Fail(NetStatus::Failed, errno == EBUSY ? NotOurs : "The drive could not be removed: " + ErrnoText());
    drives.RemoveRecord(letter);

    CarrierOutcome outcome;
    // A share stays mounted while another letter still uses it, and one the
    // carrier did not mount stays mounted always.
    if (const auto share = ParseUnc(record->Path);
        share && record->Mounted && !OtherLetterOnShare(drives, letter, ShareKey(*share), false)) {
        std::string reason;
        if (!UnmountShare(*share, record->Target, reason))
            outcome.Reason = "The drive was removed, but its share could not be let go: " + reason;
    }
    KeepAutostartFor(drives, outcome.Reason);
    return outcome;
}

CarrierOutcome List(const DrivesFolder& drives)
{
    std::string listing;
    for (const auto& [letter, record] : drives.OwnLetters()) {
        std::string status = FolderAnswersWithin(drives.LinkPath(letter), AnswerTimeLimit) ? "OK" : "Unavailable";
        status.resize(13, ' ');
        listing += status + letter + ":        " + record.Path + "\n";
    }
    if (listing.empty())
        return {NetStatus::Done, {}, NoEntries};
    return {NetStatus::Done, {},
            "Status       Local     Remote\n"
            "-------------------------------------------------------------------------------\n"
                + listing};
}

struct RestoreChoice {
    fs::path Folder;
    std::chrono::seconds Wait{300};
    bool Watch = false;
};

// restore [--drives <folder>] [--wait <seconds>] [--watch]
std::optional<RestoreChoice> ParseRestore(const std::vector<std::string>& arguments, const fs::path& folder)
{
    RestoreChoice choice{folder};
    for (std::size_t at = 1; at < arguments.size(); ++at) {
        const auto& argument = arguments[at];
        const bool valued = at + 1 < arguments.size() && !arguments[at + 1].empty();
        if (argument == "--drives" && valued) {
            choice.Folder = arguments[++at];
        } else if (argument == "--wait" && valued && arguments[at + 1].size() <= 5
                   && arguments[at + 1].find_first_not_of("0123456789") == std::string::npos) {
            choice.Wait = std::chrono::seconds(std::stoi(arguments[++at]));
        } else if (argument == "--watch") {
            choice.Watch = true;
        } else {
            return std::nullopt;
        }
    }
    return choice;
}

std::optional<Login> LoginOf(const LetterRecord& record)
{
    // Nobody is there to ask: a password comes from the keyring or not at all.
    return record.User ? std::optional(Login{*record.User, std::nullopt}) : std::nullopt;
}

// Whether waiting may mend an attach of path that ended with outcome: a
// network path whose server names a host that could not be reached yet.
bool WorthWaiting(const std::string& path, const CarrierOutcome& outcome)
{
    const auto share = ParseUnc(path);
    return outcome.Status == NetStatus::PathNotFound && share && IsHostName(share->Server);
}

// A letter, its record as it was looked at, and how its attach ended.
struct LetterOutcome {
    char Letter;
    LetterRecord Record;
    CarrierOutcome Outcome;
};

// Attaches the persistent letters of ours among letters that do not answer
// again: each once, then those whose host cannot be reached yet, together,
// with growing pauses until deadline, so that no server that is down holds
// back the letters of another. A letter the user detached meanwhile is left
// alone. Each letter's last outcome; an answering one's is done.
std::vector<LetterOutcome> Reattach(const DrivesFolder& drives, std::vector<std::pair<char, LetterRecord>> letters,
                                    Clock::time_point deadline)
{
    std::vector<LetterOutcome> ended;
    RetryPauses pauses;
    for (;;) {
        const auto pause = pauses.Next();
        std::vector<LetterOutcome> waiting;
        for (auto& [letter, looked] : letters) {
            const auto record = drives.OwnRecord(letter);
            if (!record || !record->Persistent || FolderAnswersWithin(drives.LinkPath(letter), AnswerTimeLimit)) {
                ended.push_back({letter, std::move(looked), {}});
                continue;
            }
            auto outcome = AttachOver(drives, letter, record, record->Path, LoginOf(*record), true);
            (WorthWaiting(record->Path, outcome) ? waiting : ended).push_back({letter, std::move(looked), std::move(outcome)});
        }
        if (waiting.empty() || Clock::now() + pause > deadline || WaitForChange(pause) == Wake::SessionEnd) {
            std::move(waiting.begin(), waiting.end(), std::back_inserter(ended));
            return ended;
        }
        letters.clear();
        for (auto& waited : waiting)
            letters.emplace_back(waited.Letter, std::move(waited.Record));
    }
}

std::string FailureLine(char letter, const LetterRecord& record, const CarrierOutcome& outcome)
{
    return std::string(1, letter) + ": " + record.Path + " (" + std::to_string(outcome.Status) + "): " + outcome.Reason
         + "\n";
}

// Keeps the persistent letters attached for as long as the session lasts: a
// letter that stops answering is attached again once its host answers.
// A refused password or a missing share is not tried again until the letter
// is attached anew, which writes its record anew; the reason goes to the
// session's log.
void Watch(const DrivesFolder& drives)
{
    std::set<std::string> givenUp;  // letter and record stamp
    for (;;) {
        const auto woken = WaitForChange(WatchPause);
        if (woken == Wake::SessionEnd)
            return;
        std::vector<std::pair<char, LetterRecord>> watched;
        std::map<char, std::string> keys;
        {
            const Locked locked(drives);
            for (auto& [letter, record] : drives.OwnLetters()) {
                auto key = std::string(1, letter) + drives.RecordStamp(letter).value_or("");
                if (record.Persistent && !givenUp.contains(key)) {
                    keys[letter] = std::move(key);
                    watched.emplace_back(letter, std::move(record));
                }
            }
        }
        const auto deadline = Clock::now() + (woken == Wake::Network ? WatchRetries : Clock::duration());
        for (const auto& [letter, record, outcome] : Reattach(drives, std::move(watched), deadline)) {
            if (outcome.Status != NetStatus::WrongPassword && outcome.Status != NetStatus::NameNotFound)
                continue;
            givenUp.insert(keys[letter]);
            std::fputs(("Not attached again until attached anew: " + FailureLine(letter, record, outcome)).c_str(), stderr);
        }
    }
}

CarrierOutcome Restore(const DrivesFolder& drives, const RestoreChoice& choice)
{
    const auto deadline = Clock::now() + choice.Wait;
    std::string failures;
    std::vector<std::pair<char, LetterRecord>> persistent;
    {
        const Locked locked(drives);
        for (auto& [letter, record] : drives.OwnLetters()) {
            if (record.Persistent) {
                persistent.emplace_back(letter, std::move(record));
            } else if (const auto outcome = Detach(drives, letter); outcome.Status != NetStatus::Done) {
                failures += FailureLine(letter, record, outcome);
            }
        }
    }
    for (const auto& [letter, record, outcome] : Reattach(drives, std::move(persistent), deadline)) {
        if (outcome.Status != NetStatus::Done)
            failures += FailureLine(letter, record, outcome);
    }
    std::string warning;
    {
        const Locked locked(drives);
        KeepAutostartFor(drives, warning);
    }
    if (!failures.empty())
        return Fail(NetStatus::Failed, "Not every drive could be attached again:\n" + failures + warning);
    return {NetStatus::Done, warning, {}};
}

// The drives folder, held and locked for a change. Nothing with the outcome
// in failure; a folder that is not there holds no letter.
std::optional<DrivesFolder> OpenForChange(const fs::path& folder, bool make, CarrierOutcome& failure)
{
    auto drives = DrivesFolder::Open(folder, make, failure);
    if (drives)
        drives->Lock();
    return drives;
}

CarrierOutcome RunRestore(const RestoreChoice& choice)
{
    CarrierOutcome failure;
    const auto drives = DrivesFolder::Open(choice.Folder, false, failure);
    if (!drives && failure.Status == NetStatus::NotConnected) {
        std::string reason;
        KeepAutostart(choice.Folder, false, reason);
        return {NetStatus::Done, reason, {}};
    }
    if (!drives)
        return failure;
    // One watcher a folder: a second one started at the same login has nothing to do.
    if (choice.Watch && !drives->BecomeWatcher())
        return {NetStatus::Done, "Another corvane-net keeps the letters of " + choice.Folder.string() + " attached.", {}};
    auto outcome = Restore(*drives, choice);
    if (choice.Watch)
        Watch(*drives);
    return outcome;
}

std::optional<Login> GivenLogin(const std::vector<std::string>& arguments, const PasswordReader& readPassword,
                                CarrierOutcome& failure)
{
    if (arguments.size() != 6)
        return std::nullopt;
    Login login{arguments[4].substr(6), std::nullopt};
    if (arguments[3] == "*") {
        std::string problem;
        login.Password = readPassword(problem);
        if (!login.Password) {
            failure = Fail(NetStatus::WrongPassword, problem);
            return std::nullopt;
        }
    } else if (arguments[3].size() > Secret::Largest) {
        failure = Fail(NetStatus::WrongPassword, "The password is longer than " + std::to_string(Secret::Largest) + " bytes.");
        return std::nullopt;
    } else {
        login.Password.emplace(arguments[3]);
    }
    if (login.User.find_first_of("\r\n") != std::string::npos) {
        failure = Fail(NetStatus::Failed, "A user name holds no line end.");
        return std::nullopt;
    }
    // No user name is no login: the share is asked for as a guest. A password
    // that came with it is never dropped unsaid.
    if (login.User.empty()) {
        if (!login.Password->Empty())
            failure = Fail(NetStatus::WrongPassword, "A password was given without a user name.");
        return std::nullopt;
    }
    return login;
}

} // namespace

CarrierOutcome RunCarrier(const std::vector<std::string>& arguments, const fs::path& folder,
                          const PasswordReader& readPassword)
{
    const auto size = arguments.size();
    if (size >= 1 && EqualsIgnoringAsciiCase(arguments[0], "restore")) {
        const auto choice = ParseRestore(arguments, folder);
        return choice ? RunRestore(*choice) : Fail(NetStatus::Failed, Usage);
    }
    if (size == 0 || !EqualsIgnoringAsciiCase(arguments[0], "use"))
        return Fail(NetStatus::Failed, Usage);
    CarrierOutcome failure;
    if (size == 1) {
        const auto drives = DrivesFolder::Open(folder, false, failure);
        if (!drives && failure.Status == NetStatus::NotConnected)
            return {NetStatus::Done, {}, NoEntries};
        return drives ? List(*drives) : failure;
    }
    const auto letter = size == 3 || size == 4 || size == 6 ? DeviceLetter(arguments[1]) : std::nullopt;
    if (!letter)
        return Fail(NetStatus::Failed, Usage);
    if (size == 3) {
        if (!EqualsIgnoringAsciiCase(arguments[2], "/DELETE"))
            return Fail(NetStatus::Failed, Usage);
        const auto drives = OpenForChange(folder, false, failure);
        return drives ? Detach(*drives, *letter) : failure;
    }

    const auto& persistence = arguments.back();
    const bool switchesRight = std::none_of(arguments.begin() + 2, arguments.end() - 1, [](const std::string& argument) {
        return EqualsIgnoringAsciiCase(argument, "/DELETE") || StartsWithIgnoringAsciiCase(argument, "/PERSISTENT:");
    });
    if (!switchesRight || (size == 6 && !StartsWithIgnoringAsciiCase(arguments[4], "/USER:"))
        || (!EqualsIgnoringAsciiCase(persistence, "/PERSISTENT:YES") && !EqualsIgnoringAsciiCase(persistence, "/PERSISTENT:NO")))
        return Fail(NetStatus::Failed, Usage);
    const auto login = GivenLogin(arguments, readPassword, failure);
    if (failure.Status != NetStatus::Done)
        return failure;
    // Locked only for the change itself, once the share has answered.
    const auto drives = DrivesFolder::Open(folder, true, failure);
    return drives ? Attach(*drives, *letter, arguments[2], login, EqualsIgnoringAsciiCase(persistence, "/PERSISTENT:YES"))
                  : failure;
}
