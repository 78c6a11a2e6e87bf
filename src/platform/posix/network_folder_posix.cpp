#include "platform/network_folder.h"

#include <gio/gio.h>

#include <memory>
#include <string_view>

namespace {

struct Freed {
    void operator()(gpointer data) const { g_free(data); }
};
using GText = std::unique_ptr<char, Freed>;

} // namespace

std::optional<std::string> NetworkPathOfFolder(const std::string& folder)
{
    // GVfs gives a folder of its FUSE mount the location it was mounted from.
    const std::unique_ptr<GFile, decltype(&g_object_unref)> file(g_file_new_for_path(folder.c_str()), g_object_unref);
    const GText uri(g_file_get_uri(file.get()));
    if (!uri)
        return std::nullopt;
    const std::unique_ptr<GUri, decltype(&g_uri_unref)> parsed(g_uri_parse(uri.get(), G_URI_FLAGS_ENCODED, nullptr),
                                                                g_uri_unref);
    if (!parsed || g_strcmp0(g_uri_get_scheme(parsed.get()), "smb") != 0 || !g_uri_get_host(parsed.get()))
        return std::nullopt;
    const GText host(g_uri_unescape_string(g_uri_get_host(parsed.get()), nullptr));
    // The share and the folders in it, each taken back from its escapes; a
    // slash or a NUL inside one would make another path.
    std::string path = std::string("\\\\") + (host ? host.get() : "");
    std::string_view rest = g_uri_get_path(parsed.get());
    std::size_t names = 0;
    while (!rest.empty()) {
        const auto end = rest.find('/');
        const std::string piece(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (piece.empty())
            continue;
        const GText name(g_uri_unescape_string(piece.c_str(), "/\\"));
        if (!name)
            return std::nullopt;
        path += '\\';
        path += name.get();
        ++names;
    }
    if (!host || names == 0)
        return std::nullopt;
    return path;
}
