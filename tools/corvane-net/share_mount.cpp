#include "share_mount.h"

#include "platform/posix/folder_probe.h"
#include "platform/posix/gio_handles.h"

#include <gio/gio.h>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// A server that takes the connection and then says nothing is given this long.
constexpr auto MountTimeLimit = std::chrono::seconds(30);
// GVfs reports a mount before its FUSE folder answers.
constexpr auto ReadyTimeLimit = std::chrono::seconds(10);
// GVfs's FUSE daemon learns of a new mount a few milliseconds after the mount
// has ended, and nothing tells when: until the folder answers, it is asked
// again after pauses growing from the first to the last.
constexpr auto FirstReadyPause = std::chrono::milliseconds(2);
constexpr auto LastReadyPause = std::chrono::milliseconds(200);
constexpr auto UnmountTimeLimit = std::chrono::seconds(20);
constexpr auto CancelTimeLimit = std::chrono::seconds(3);

struct StringFree {
    void operator()(gchar* text) const { g_free(text); }
};

CarrierOutcome NoSessionBus()
{
    return {NetStatus::Failed, "Network shares are mounted through GVfs, which needs the session bus of a desktop login; "
                               "there is none here.", {}};
}

// Runs the main context until done turns true or the time runs out.
bool RunUntil(const bool& done, Clock::duration limit)
{
    bool timedOut = false;
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(limit).count();
    const guint timer = g_timeout_add(static_cast<guint>(std::max<long long>(milliseconds, 1)), [](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
    }, &timedOut);
    while (!done && !timedOut)
        g_main_context_iteration(nullptr, TRUE);
    if (!timedOut)
        g_source_remove(timer);
    return done;
}

// Waits for connections to leave the session bus, from its making on.
class BusLeaving {
public:
    BusLeaving() : Bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr))
    {
        if (Bus)
            Subscription = g_dbus_connection_signal_subscribe(
                Bus.get(), "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged", "/org/freedesktop/DBus",
                nullptr, G_DBUS_SIGNAL_FLAGS_NONE, NameOwnerChanged, &Left, nullptr);
    }
    ~BusLeaving()
    {
        if (Bus)
            g_dbus_connection_signal_unsubscribe(Bus.get(), Subscription);
    }
    BusLeaving(const BusLeaving&) = delete;
    BusLeaving& operator=(const BusLeaving&) = delete;

    // Runs the main context until a connection leaves or limit has passed; whether one left.
    bool WaitFor(Clock::duration limit)
    {
        const bool left = RunUntil(Left, limit);
        Left = false;
        return left;
    }

private:
    static void NameOwnerChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                 GVariant* parameters, gpointer left)
    {
        const gchar* newOwner = "";
        g_variant_get_child(parameters, 2, "&s", &newOwner);
        if (*newOwner == '\0')
            *static_cast<bool*>(left) = true;
    }

    GObjectPtr<GDBusConnection> Bus;
    guint Subscription = 0;
    bool Left = false;
};

// A share mounted again soon after it was let go gives input/output errors in
// its FUSE folder for one to two seconds: GVfs's FUSE daemon goes on asking
// the backend of the earlier mount, which leaves the bus only on a timer of
// its own. The folder is asked again when a connection leaves the bus, and
// after growing pauses besides.
bool WaitUntilAnswers(const fs::path& folder)
{
    const auto deadline = Clock::now() + ReadyTimeLimit;
    const auto left = [&] { return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()); };
    BusLeaving leaving;
    Clock::duration pause = FirstReadyPause;
    while (!FolderAnswersWithin(folder, left())) {
        if (left().count() <= 0)
            return false;
        if (leaving.WaitFor(std::min<Clock::duration>(pause, left())))
            pause = FirstReadyPause;
        else
            pause = std::min<Clock::duration>(pause * 3 / 2, LastReadyPause);
    }
    return true;
}

// An SMB2 NEGOTIATE request in its session frame: the first thing a client
// says, which every SMB server answers (in SMB2 or by closing).
constexpr unsigned char Negotiate[] = {
    0x00, 0x00, 0x00, 0x68,                                  // session message, 104 bytes
    0xFE, 'S', 'M', 'B', 0x40, 0x00, 0x00, 0x00,             // SMB2, header size, credit charge
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,          // status, NEGOTIATE, one credit
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,          // flags, next command
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,          // message id
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,          // process id, tree id
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,          // session id
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,          // signature
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x24, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00,          // size 36, two dialects, signing enabled
    0x00, 0x00, 0x00, 0x00,                                  // capabilities
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,          // client guid
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,          // start time
    0x02, 0x02, 0x10, 0x02,                                  // SMB 2.0.2 and 2.1
};

// Whether an SMB server on the host answers within a short time. GVfs gives
// one error code for a host that refused and for a share that is not there,
// and its text for a server that took the connection and then said nothing
// is a translated one; only the server itself can tell them apart. A server
// that is stopped (paused, swapped out, hung) still has its connections
// taken by the system, so the answer that counts is the server's own to a
// request.
bool HostAnswers(const std::string& server)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(server.c_str(), nullptr, &hints, &found) != 0)
        return false;
    std::vector<pollfd> tries;
    for (auto* address = found; address; address = address->ai_next) {
        for (const std::uint16_t port : {445, 139}) {
            sockaddr_storage target{};
            std::memcpy(&target, address->ai_addr, address->ai_addrlen);
            if (address->ai_family == AF_INET)
                reinterpret_cast<sockaddr_in&>(target).sin_port = htons(port);
            else if (address->ai_family == AF_INET6)
                reinterpret_cast<sockaddr_in6&>(target).sin6_port = htons(port);
            else
                continue;
            const int socket = ::socket(address->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (socket < 0)
                continue;
            if (connect(socket, reinterpret_cast<sockaddr*>(&target), address->ai_addrlen) == 0 || errno == EINPROGRESS)
                tries.push_back({socket, POLLOUT, 0});
            else
                close(socket);
        }
    }
    freeaddrinfo(found);

    bool answered = false;
    const auto deadline = Clock::now() + AnswerTimeLimit;
    while (!answered && !tries.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || poll(tries.data(), tries.size(), static_cast<int>(left.count())) <= 0)
            break;
        for (auto attempt = tries.begin(); attempt != tries.end();) {
            if (attempt->revents == 0) {
                ++attempt;
                continue;
            }
            bool goesOn = false;
            if (attempt->events == POLLOUT) {
                // Connected, or refused: a connection goes on with the request.
                int failure = 0;
                socklen_t size = sizeof failure;
                goesOn = getsockopt(attempt->fd, SOL_SOCKET, SO_ERROR, &failure, &size) == 0 && failure == 0
                      && send(attempt->fd, Negotiate, sizeof Negotiate, MSG_NOSIGNAL) == sizeof Negotiate;
                attempt->events = POLLIN;
                attempt->revents = 0;
            } else {
                // A reply, or the server closing: either way it acted.
                answered = true;
            }
            if (goesOn) {
                ++attempt;
            } else {
                close(attempt->fd);
                attempt = tries.erase(attempt);
            }
        }
    }
    for (const auto& attempt : tries)
        close(attempt.fd);
    return answered;
}

struct MountState {
    const std::optional<Login>* Given = nullptr;
    bool SavePassword = false;
    int Questions = 0;
    bool Refused = false;
    bool Done = false;
    ErrorPtr Error;
};

void AnswerPassword(GMountOperation* operation, const gchar* /*message*/, const gchar* /*defaultUser*/,
                    const gchar* /*defaultDomain*/, GAskPasswordFlags flags, gpointer data)
{
    auto& state = *static_cast<MountState*>(data);
    const auto& given = *state.Given;
    // Asked again, the server refused what we answered; without credentials
    // and no guest access there is nothing to answer.
    if (++state.Questions > 1 || (!given && !(flags & G_ASK_PASSWORD_ANONYMOUS_SUPPORTED))
        || (given && !given->Password)) {
        state.Refused = true;
        g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
        return;
    }
    if (given)
        AnswerWithLogin(operation, given->User, *given->Password, state.SavePassword);
    else
        g_mount_operation_set_anonymous(operation, TRUE);
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_HANDLED);
}

void RefuseQuestion(GMountOperation* operation, const gchar* /*message*/, const GStrv /*choices*/, gpointer /*data*/)
{
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
}

void Mounted(GObject* source, GAsyncResult* result, gpointer data)
{
    auto& state = *static_cast<MountState*>(data);
    GError* error = nullptr;
    g_file_mount_enclosing_volume_finish(G_FILE(source), result, &error);
    state.Error.reset(error);
    state.Done = true;
}

CarrierOutcome Failure(int status, const GError* error, std::string_view detail = {})
{
    std::string reason(detail);
    if (error && error->message && *error->message)
        reason += (reason.empty() ? "" : "\n") + std::string(error->message);
    return Fail(status, reason);
}

CarrierOutcome HostNotFound(const GError* error)
{
    return Failure(NetStatus::PathNotFound, error);
}

CarrierOutcome MountFailure(const MountState& state, const UncPath& path)
{
    const GError* error = state.Error.get();
    if (state.Refused)
        return Fail(NetStatus::WrongPassword);
    if (!error || error->domain != G_IO_ERROR)
        return Failure(NetStatus::Failed, error, "The share could not be mounted.");
    switch (error->code) {
    case G_IO_ERROR_PERMISSION_DENIED:
        return Failure(NetStatus::WrongPassword, error);
    case G_IO_ERROR_HOST_NOT_FOUND:
    case G_IO_ERROR_HOST_UNREACHABLE:
    case G_IO_ERROR_NETWORK_UNREACHABLE:
    case G_IO_ERROR_CONNECTION_REFUSED:
    case G_IO_ERROR_TIMED_OUT:
        return HostNotFound(error);
    case G_IO_ERROR_FAILED:
    case G_IO_ERROR_NOT_FOUND:
        if (!HostAnswers(path.Server))
            return HostNotFound(error);
        return Failure(NetStatus::NameNotFound, error);
    default:
        return Failure(NetStatus::Failed, error, "The share could not be mounted.");
    }
}

GObjectPtr<GMount> MountOf(GFile* share)
{
    return GObjectPtr<GMount>(g_file_find_enclosing_mount(share, nullptr, nullptr));
}

// The user part of a DOMAIN\user or DOMAIN;user name, and its domain.
std::pair<std::string, std::string> UserAndDomain(std::string_view name)
{
    const auto split = name.find_first_of("\\;");
    if (split == std::string_view::npos)
        return {std::string(name), {}};
    return {std::string(name.substr(split + 1)), std::string(name.substr(0, split))};
}

// Who a mount logs in as: GVfs keeps the user of the location it mounted
// (smb://DOMAIN;user@server/share/) in its root; none for a guest's.
std::string MountUser(GMount* mount)
{
    const GObjectPtr<GFile> root(g_mount_get_root(mount));
    const std::unique_ptr<gchar, StringFree> location(g_file_get_uri(root.get()));
    GUri* uri = g_uri_parse(location.get(), G_URI_FLAGS_NONE, nullptr);
    std::string user = uri && g_uri_get_userinfo(uri) ? g_uri_get_userinfo(uri) : "";
    if (uri)
        g_uri_unref(uri);
    return user;
}

// User names compare without regard to case, as Windows compares them, and
// domains only where both name one.
bool SameUser(std::string_view a, std::string_view b)
{
    const auto [userA, domainA] = UserAndDomain(a);
    const auto [userB, domainB] = UserAndDomain(b);
    return g_ascii_strcasecmp(userA.c_str(), userB.c_str()) == 0
        && (domainA.empty() || domainB.empty() || g_ascii_strcasecmp(domainA.c_str(), domainB.c_str()) == 0);
}

// GVfs keeps server and share names in lower case, beyond ASCII too.
bool SameName(std::string_view a, std::string_view b)
{
    const std::unique_ptr<gchar, StringFree> foldedA(g_utf8_casefold(a.data(), static_cast<gssize>(a.size())));
    const std::unique_ptr<gchar, StringFree> foldedB(g_utf8_casefold(b.data(), static_cast<gssize>(b.size())));
    return std::strcmp(foldedA.get(), foldedB.get()) == 0;
}

// The mounts of this session on the share of path, whoever they log in as.
std::vector<GObjectPtr<GMount>> MountsOfShare(const UncPath& path)
{
    std::vector<GObjectPtr<GMount>> found;
    const GObjectPtr<GVolumeMonitor> monitor(g_volume_monitor_get());
    GList* mounts = g_volume_monitor_get_mounts(monitor.get());
    for (GList* item = mounts; item; item = item->next) {
        GObjectPtr<GMount> mount(G_MOUNT(item->data));
        const GObjectPtr<GFile> root(g_mount_get_root(mount.get()));
        const std::unique_ptr<gchar, StringFree> location(g_file_get_uri(root.get()));
        GUri* uri = g_uri_parse(location.get(), G_URI_FLAGS_NONE, nullptr);
        if (!uri)
            continue;
        const char* host = g_uri_get_host(uri);
        std::string_view share = g_uri_get_path(uri);
        share.remove_prefix(std::min<std::size_t>(share.find_first_not_of('/'), share.size()));
        share = share.substr(0, share.find('/'));
        if (g_strcmp0(g_uri_get_scheme(uri), "smb") == 0 && host && SameName(host, path.Server)
            && SameName(share, path.Share))
            found.push_back(std::move(mount));
        g_uri_unref(uri);
    }
    g_list_free(mounts);
    return found;
}

struct UnmountState {
    bool Done = false;
    ErrorPtr Error;
};

void Unmounted(GObject* source, GAsyncResult* result, gpointer data)
{
    auto& state = *static_cast<UnmountState*>(data);
    GError* error = nullptr;
    g_mount_unmount_with_operation_finish(G_MOUNT(source), result, &error);
    state.Error.reset(error);
    state.Done = true;
}

bool Unmount(GMount* mount, std::string& reason)
{
    UnmountState state;
    g_mount_unmount_with_operation(mount, G_MOUNT_UNMOUNT_NONE, nullptr, nullptr, Unmounted, &state);
    if (!RunUntil(state.Done, UnmountTimeLimit)) {
        reason = "The share did not let go in time.";
        return false;
    }
    if (state.Error && !g_error_matches(state.Error.get(), G_IO_ERROR, G_IO_ERROR_NOT_MOUNTED)) {
        reason = state.Error->message;
        return false;
    }
    return true;
}

} // namespace

MountOutcome MountShare(const UncPath& path, const std::optional<Login>& login, bool savePassword)
{
    if (!IsHostName(path.Server))
        return {std::nullopt, HostNotFound(nullptr)};
    if (!HaveSessionBus())
        return {std::nullopt, NoSessionBus()};

    // A share mounted already serves a login as the same user, or none given; Windows refuses another user.
    const auto mounts = MountsOfShare(path);
    const auto serving = std::find_if(mounts.begin(), mounts.end(), [&](const GObjectPtr<GMount>& mount) {
        return !login || SameUser(MountUser(mount.get()), login->User);
    });
    if (serving == mounts.end() && login && !mounts.empty())
        return {std::nullopt, Fail(NetStatus::OtherUserConnected)};
    const GObjectPtr<GFile> share(serving != mounts.end() ? g_mount_get_root(serving->get())
                                                          : g_file_new_for_uri(ShareUri(path, login ? login->User : "").c_str()));
    bool mountedNow = false;
    if (serving == mounts.end()) {
        auto state = std::make_unique<MountState>();
        state->Given = &login;
        state->SavePassword = savePassword;
        const GObjectPtr<GMountOperation> operation(g_mount_operation_new());
        g_signal_connect(operation.get(), "ask-password", G_CALLBACK(AnswerPassword), state.get());
        g_signal_connect(operation.get(), "ask-question", G_CALLBACK(RefuseQuestion), state.get());
        const GObjectPtr<GCancellable> cancel(g_cancellable_new());
        g_file_mount_enclosing_volume(share.get(), G_MOUNT_MOUNT_NONE, operation.get(), cancel.get(), Mounted,
                                      state.get());
        if (!RunUntil(state->Done, MountTimeLimit)) {
            g_cancellable_cancel(cancel.get());
            RunUntil(state->Done, CancelTimeLimit);
            // Should the mount have come through after all, it is not left behind.
            std::string ignored;
            if (const auto late = MountOf(share.get()))
                Unmount(late.get(), ignored);
            if (!state->Done) {
                // A late answer still finds its state; the program ends soon.
                g_signal_handlers_disconnect_by_data(operation.get(), state.get());
                static_cast<void>(state.release());
            }
            return {std::nullopt, Fail(NetStatus::PathNotFound, "The server did not answer in time.")};
        }
        if (state->Error && !g_error_matches(state->Error.get(), G_IO_ERROR, G_IO_ERROR_ALREADY_MOUNTED))
            return {std::nullopt, MountFailure(*state, path)};
        mountedNow = !state->Error;
    }

    const auto undo = [&](CarrierOutcome failure) -> MountOutcome {
        if (mountedNow) {
            std::string ignored;
            if (const auto mount = MountOf(share.get()))
                Unmount(mount.get(), ignored);
        }
        return {std::nullopt, std::move(failure)};
    };
    const std::unique_ptr<gchar, StringFree> local(g_file_get_path(share.get()));
    if (!local)
        return undo({NetStatus::Failed, "The share was mounted but has no local folder (is gvfs-fuse installed?).", {}});
    const fs::path folder(local.get());
    if (!WaitUntilAnswers(folder))
        return undo({NetStatus::Failed, "The share was mounted but its local folder does not answer.", {}});
    return {MountedShare{folder, mountedNow}, {}};
}

Wake WaitForChange(std::chrono::milliseconds limit)
{
    // Set once, by the signals, for as long as the program runs; woken by either.
    static bool networkChanged = false;
    static bool sessionEnded = false;
    static bool woken = false;
    static GDBusConnection* session = nullptr;
    static bool watching = false;
    if (!watching) {
        watching = true;
        g_signal_connect(g_network_monitor_get_default(), "network-changed",
                         G_CALLBACK(+[](GNetworkMonitor*, gboolean, gpointer) { networkChanged = woken = true; }), nullptr);
        session = HaveSessionBus() ? g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr) : nullptr;
        if (session) {
            g_dbus_connection_set_exit_on_close(session, FALSE);
            g_signal_connect(session, "closed",
                             G_CALLBACK(+[](GDBusConnection*, gboolean, GError*, gpointer) { sessionEnded = woken = true; }),
                             nullptr);
        }
    }
    if (session && !sessionEnded) {
        woken = networkChanged;
        RunUntil(woken, limit);
    }
    if (sessionEnded || !session)
        return Wake::SessionEnd;
    const bool changed = std::exchange(networkChanged, false);
    return changed ? Wake::Network : Wake::Time;
}

void SilenceLibraryLogs()
{
    g_log_set_writer_func([](GLogLevelFlags, const GLogField*, gsize, gpointer) { return G_LOG_WRITER_HANDLED; },
                          nullptr, nullptr);
}

bool UnmountShare(const UncPath& path, const fs::path& folder, std::string& reason)
{
    if (!HaveSessionBus()) {
        reason = NoSessionBus().Reason;
        return false;
    }
    for (const auto& mount : MountsOfShare(path)) {
        const GObjectPtr<GFile> root(g_mount_get_root(mount.get()));
        const std::unique_ptr<gchar, StringFree> local(g_file_get_path(root.get()));
        const auto relative = local ? folder.lexically_relative(local.get()) : fs::path();
        if (!relative.empty() && *relative.begin() != "..")
            return Unmount(mount.get(), reason);
    }
    return true;
}
