#include "base/ask_within.h"
#include "base/host_name.h"
#include "platform/posix/gio_handles.h"
#include "platform/share_lister.h"
#include "platform/system_services.h"

#include <chrono>
#include <future>
#include <memory>
#include <string_view>

namespace {

using namespace ShareStatus;

// One list, on a thread of its own with a main context of its own: the mount
// of the server's browsing root, then its entries. GVfs keeps a browsing
// mount, which no call of GIO finds to unmount, for the session: one made
// with a login is the login's own (its location names the user), and serves
// no guest.
// GVfs answers a second enumeration made asynchronously in one process only
// on the context of the first, so the entries are read synchronously; the
// caller's cancel ends a read that waits for a stalled server.
class Listing {
public:
    Listing(const std::string& server, std::optional<ShareLogin> login)
        : Login(std::move(login)), Root(g_file_new_for_uri(BrowsingRoot(server, Login).c_str())),
          Cancel(g_cancellable_new())
    {
    }

    GCancellable* Cancellable() const { return Cancel.get(); }

    ShareList Run()
    {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        auto list = MountAndRead(context);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
        return list;
    }

private:
    static std::string Escaped(std::string_view text)
    {
        const std::string copy(text);
        const std::unique_ptr<char, decltype(&g_free)> escaped(g_uri_escape_string(copy.c_str(), nullptr, FALSE), g_free);
        return escaped.get();
    }

    // smb://server/, or smb://domain;user@server/ for a login.
    static std::string BrowsingRoot(const std::string& server, const std::optional<ShareLogin>& login)
    {
        std::string user;
        if (login) {
            const std::string_view name = login->User;
            const auto split = name.find_first_of("\\;");
            user = split == std::string_view::npos ? Escaped(name)
                                                   : Escaped(name.substr(0, split)) + ";" + Escaped(name.substr(split + 1));
            user += '@';
        }
        return "smb://" + user + Escaped(server) + "/";
    }

    ShareList MountAndRead(GMainContext* context)
    {
        const GObjectPtr<GMountOperation> operation(g_mount_operation_new());
        g_signal_connect(operation.get(), "ask-password", G_CALLBACK(AnswerPassword), this);
        g_signal_connect(operation.get(), "ask-question", G_CALLBACK(RefuseQuestion), this);
        g_file_mount_enclosing_volume(Root.get(), G_MOUNT_MOUNT_NONE, operation.get(), Cancel.get(), Mounted, this);
        while (!Done)
            g_main_context_iteration(context, TRUE);
        g_signal_handlers_disconnect_by_data(operation.get(), this);
        if (Error && !g_error_matches(Error.get(), G_IO_ERROR, G_IO_ERROR_ALREADY_MOUNTED))
            return Failure(Error.get());
        return Read();
    }

    static void Mounted(GObject* source, GAsyncResult* result, gpointer data)
    {
        auto* self = static_cast<Listing*>(data);
        GError* error = nullptr;
        g_file_mount_enclosing_volume_finish(G_FILE(source), result, &error);
        self->Error.reset(error);
        self->Done = true;
    }

    static void AnswerPassword(GMountOperation* operation, const gchar*, const gchar*, const gchar*,
                               GAskPasswordFlags flags, gpointer data)
    {
        auto* self = static_cast<Listing*>(data);
        // Asked again, the server refused what we answered.
        if (++self->Questions > 1 || (!self->Login && !(flags & G_ASK_PASSWORD_ANONYMOUS_SUPPORTED))) {
            self->Refused = true;
            g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
            return;
        }
        if (self->Login)
            AnswerWithLogin(operation, self->Login->User, self->Login->Password, false);
        else
            g_mount_operation_set_anonymous(operation, TRUE);
        g_mount_operation_reply(operation, G_MOUNT_OPERATION_HANDLED);
    }

    static void RefuseQuestion(GMountOperation* operation, const gchar*, const GStrv, gpointer)
    {
        g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
    }

    ShareList Read()
    {
        GError* error = nullptr;
        const GObjectPtr<GFileEnumerator> entries(g_file_enumerate_children(
            Root.get(), G_FILE_ATTRIBUTE_STANDARD_NAME "," G_FILE_ATTRIBUTE_STANDARD_TYPE, G_FILE_QUERY_INFO_NONE,
            Cancel.get(), &error));
        const ErrorPtr failed(error);
        if (!entries)
            return Failure(error);
        ShareList list;
        while (GFileInfo* entry = g_file_enumerator_next_file(entries.get(), Cancel.get(), &error)) {
            const GObjectPtr<GFileInfo> info(entry);
            // Shares are what GVfs lets one mount; the rest are its own entries.
            const char* name = g_file_info_get_name(info.get());
            if (g_file_info_get_file_type(info.get()) == G_FILE_TYPE_MOUNTABLE && name && list.Names.size() < MostShares
                && IsOfferedShareName(name))
                list.Names.emplace_back(name);
        }
        const ErrorPtr stopped(error);
        g_file_enumerator_close(entries.get(), nullptr, nullptr);
        return stopped ? Failure(stopped.get()) : list;
    }

    ShareList Failure(const GError* error) const
    {
        const bool denied = Refused || g_error_matches(error, G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED);
        if (denied && !Login)
            return {AccessDenied, "The server lists its shares only after a login.", true, {}};
        if (denied)
            return {WrongPassword, "The user name or password is not right.", false, {}};
        const std::string said = error && error->message && *error->message ? error->message : "";
        if (error && error->domain == G_IO_ERROR) {
            switch (error->code) {
            case G_IO_ERROR_HOST_NOT_FOUND:
            case G_IO_ERROR_HOST_UNREACHABLE:
            case G_IO_ERROR_NETWORK_UNREACHABLE:
            case G_IO_ERROR_CONNECTION_REFUSED:
            case G_IO_ERROR_TIMED_OUT:
            case G_IO_ERROR_NOT_FOUND:
            case G_IO_ERROR_FAILED:
                return {BadNetPath, said.empty() ? "The network path was not found." : said, false, {}};
            default:
                break;
            }
        }
        return {Failed, said.empty() ? "The server's shares could not be listed." : said, false, {}};
    }

    std::optional<ShareLogin> Login;
    GObjectPtr<GFile> Root;
    GObjectPtr<GCancellable> Cancel;
    int Questions = 0;
    bool Refused = false;
    bool Done = false;
    ErrorPtr Error;
};

class GvfsShareLister final : public ShareLister {
public:
    ShareList List(const std::string& server, const std::optional<ShareLogin>& login) override
    {
        if (!NamesHostText(server))
            return {BadNetPath, "The network path was not found.", false, {}};
        if (!HaveSessionBus())
            return {Failed, "Shares are listed through GVfs, which needs the session bus of a desktop login; there is none here.",
                    false, {}};
        const auto listing = std::make_shared<Listing>(server, login);
        auto answer = AskOffThread([listing] { return listing->Run(); });
        if (answer.wait_for(ShareListLimit) == std::future_status::ready)
            return answer.get();
        // Its thread ends once GVfs has heard the cancel; nobody waits for it.
        g_cancellable_cancel(listing->Cancellable());
        return NoAnswerInTime();
    }
};

} // namespace

std::unique_ptr<ShareLister> MakeSystemShareLister()
{
    return std::make_unique<GvfsShareLister>();
}
