#include "gio_handles.h"

#include <cstdlib>
#include <filesystem>

bool HaveSessionBus()
{
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code error;
    return runtime && *runtime && std::filesystem::exists(std::filesystem::path(runtime) / "bus", error);
}

void AnswerWithLogin(GMountOperation* operation, const std::string& user, const Secret& password, bool save)
{
    std::string name = user;
    std::string domain;
    if (const auto split = name.find_first_of("\\;"); split != std::string::npos) {
        domain = name.substr(0, split);
        name.erase(0, split + 1);
    }
    g_mount_operation_set_anonymous(operation, FALSE);
    g_mount_operation_set_username(operation, name.c_str());
    g_mount_operation_set_domain(operation, domain.c_str());
    g_mount_operation_set_password(operation, password.Text().c_str());
    g_mount_operation_set_password_save(operation, save ? G_PASSWORD_SAVE_PERMANENTLY : G_PASSWORD_SAVE_NEVER);
}
