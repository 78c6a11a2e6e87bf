#pragma once

#include "net_status.h"
#include "platform/secret.h"
#include "unc_path.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

struct Login {
    std::string User;                // DOMAIN\user or user
    std::optional<Secret> Password;  // none: only what the desktop's keyring holds
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
// session, and waits until its local folder answers. Without a login the
// share is asked for anonymously; savePassword keeps the password in the
// desktop's keyring for a later login. A share mounted already for another
// user (or for a guest) is refused for a login, as Windows refuses it (1219).
// A failure leaves nothing mounted that was not mounted before.
MountOutcome MountShare(const UncPath& path, const std::optional<Login>& login, bool savePassword);

// Unmounts the mount of the share of path that folder lies in, when it is
// mounted; true when it is not mounted afterwards.
bool UnmountShare(const UncPath& path, const std::filesystem::path& folder, std::string& reason);


// What ended a wait: its time, the system saying the network changed, or the
// end of the desktop session (or there being none).
enum class Wake { Time, Network, SessionEnd };

// Waits up to limit for the network to change or the session to end.
Wake WaitForChange(std::chrono::milliseconds limit);

// Library warnings are no reasons of ours; they would end up in what the
// program shows of a failure.
void SilenceLibraryLogs();
