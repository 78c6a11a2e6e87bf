#pragma once

#include "unc_path.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

// The system error numbers that "net use" reports.
namespace NetStatus {
inline constexpr int Done = 0;
inline constexpr int Failed = 2;
inline constexpr int PathNotFound = 53;
inline constexpr int NameNotFound = 67;
inline constexpr int DeviceInUse = 85;
inline constexpr int WrongPassword = 86;
inline constexpr int NotConnected = 2250;
} // namespace NetStatus

struct CarrierOutcome {
    int Status = NetStatus::Done;
    std::string Reason;   // for standard error
    std::string Listing;  // for standard output
};

struct Credentials {
    std::string User;                     // DOMAIN\user or user
    std::optional<std::string> Password;  // none: only what the desktop's keyring holds
};

struct MountedShare {
    std::filesystem::path Folder;  // the local folder of the share itself
    bool MountedNow = false;       // this call mounted it; it was not mounted before
};

struct MountOutcome {
    std::optional<MountedShare> Share;
    CarrierOutcome Failure;  // when there is no share
};

// Mounts the share of path through GVfs, or finds it mounted already in this
// session, and waits until its local folder answers. Without credentials the
// share is asked for anonymously; savePassword keeps the password in the
// desktop's keyring for a later login. A failure leaves nothing mounted that
// was not mounted before.
MountOutcome MountShare(const UncPath& path, const std::optional<Credentials>& credentials, bool savePassword);

// Unmounts the share of path when it is mounted; true when it is not mounted afterwards.
bool UnmountShare(const UncPath& path, std::string& reason);

// Whether a folder can be listed within the time limit. A folder of a stalled
// server does not answer; the listing is left behind rather than waited for.
bool FolderAnswers(const std::filesystem::path& folder, std::chrono::milliseconds limit);

// Library warnings are no reasons of ours; they would end up in what the
// program shows of a failure.
void SilenceLibraryLogs();
