#include "autostart.h"

#include "platform/posix/drives_folder.h"

#include <gio/gdesktopappinfo.h>

#include <cstdlib>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
struct StringFree {
    void operator()(gchar* text) const { g_free(text); }
};
using Text = std::unique_ptr<gchar, StringFree>;

constexpr const char* Group = "Desktop Entry";

fs::path ConfigHome()
{
    // Relative values are to be ignored, as for every XDG base directory.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return config;
    return HomeFolder() / ".config";
}

// One argument of an Exec line: quoted, with the characters that quoting
// leaves special escaped, and a percent sign doubled as no field code.
std::string ExecArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + '"';
}

bool IsDefaultFolder(const fs::path& drives)
{
    return fs::absolute(drives).lexically_normal() == DefaultDrivesFolderPath().lexically_normal();
}

std::string ExecLine(const fs::path& drives)
{
    std::error_code error;
    const auto program = fs::read_symlink("/proc/self/exe", error);
    std::string line = ExecArgument(program.string()) + " restore --watch";
    if (!IsDefaultFolder(drives))
        line += " --drives " + ExecArgument(fs::absolute(drives).lexically_normal().string());
    return line;
}

} // namespace

fs::path AutostartEntry(const fs::path& drives)
{
    std::string name = "corvane-net-restore";
    if (!IsDefaultFolder(drives)) {
        const Text sum(g_compute_checksum_for_string(G_CHECKSUM_SHA256,
                                                     fs::absolute(drives).lexically_normal().c_str(), -1));
        name += "-" + std::string(sum.get(), 16);
    }
    return ConfigHome() / "autostart" / (name + ".desktop");
}

bool KeepAutostart(const fs::path& drives, bool wanted, std::string& reason)
{
    const auto entry = AutostartEntry(drives);
    std::error_code error;
    if (!wanted) {
        fs::remove(entry, error);
        if (error)
            reason = entry.string() + " could not be removed: " + error.message();
        return !error;
    }

    // What the user set in the entry (X-GNOME-Autostart-enabled=false, say) stays.
    const std::unique_ptr<GKeyFile, KeyFileFree> file(g_key_file_new());
    gchar* before = nullptr;
    gsize size = 0;
    if (!fs::is_symlink(entry, error) && g_file_get_contents(entry.c_str(), &before, &size, nullptr))
        g_key_file_load_from_data(file.get(), before, size, static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS),
                                  nullptr);
    const Text old(before);
    g_key_file_set_string(file.get(), Group, "Type", "Application");
    g_key_file_set_string(file.get(), Group, "Name", "Corvane network drives");
    g_key_file_set_string(file.get(), Group, "Comment",
                          "Attaches the drive letters that were attached to be restored at the next login");
    g_key_file_set_string(file.get(), Group, "Exec", ExecLine(drives).c_str());
    g_key_file_set_boolean(file.get(), Group, "NoDisplay", TRUE);
    g_key_file_set_boolean(file.get(), Group, "Terminal", FALSE);
    g_key_file_set_string(file.get(), Group, "X-GNOME-Autostart-Phase", "Applications");
    gsize length = 0;
    const Text text(g_key_file_to_data(file.get(), &length, nullptr));
    if (old && std::string_view(old.get(), size) == std::string_view(text.get(), length))
        return true;

    fs::create_directories(entry.parent_path(), error);
    GError* failure = nullptr;
    if (!g_file_set_contents_full(entry.c_str(), text.get(), static_cast<gssize>(length), G_FILE_SET_CONTENTS_CONSISTENT,
                                  0644, &failure)) {
        reason = entry.string() + " could not be written: " + failure->message;
        g_error_free(failure);
        return false;
    }
    // Entries the desktop's own loader refuses would never run.
    if (GDesktopAppInfo* loaded = g_desktop_app_info_new_from_filename(entry.c_str())) {
        g_object_unref(loaded);
        return true;
    }
    fs::remove(entry, error);
    reason = "The desktop would not run " + entry.string() + " for this program's place: " + ExecLine(drives);
    return false;
}
