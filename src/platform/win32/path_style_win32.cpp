#include "platform/path_style.h"

#include "text_code_page.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <climits>
#include <vector>

PathStyle NativePathStyle()
{
    return {'\\', true, {}};
}

bool IsHiddenOrSystem(const std::filesystem::path& entry)
{
    const DWORD attributes = GetFileAttributesW(entry.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

std::string PathText(const std::filesystem::path& path)
{
    return Narrow(path.native(), CP_ACP);
}

std::filesystem::path TextPath(const std::string& text)
{
    return Widen(text, CP_ACP);
}

bool SameFileName(const std::string& left, const std::string& right)
{
    // The file system's own rule: each character's upper case, no locale.
    const auto a = TextPath(left).native();
    const auto b = TextPath(right).native();
    if (a.size() > INT_MAX || b.size() > INT_MAX)
        return a == b;
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE)
        == CSTR_EQUAL;
}

std::filesystem::path UserConfigDirectory()
{
    PWSTR folder = nullptr;
    std::filesystem::path found;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder)))
        found = folder;
    CoTaskMemFree(folder);
    return found;
}

std::string CurrentDirectoryText()
{
    // Asked again with the size the system says it needs, however long.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return {};
        if (length < buffer.size())
            return PathText(std::filesystem::path(std::wstring(buffer.data(), length)));
        buffer.resize(length + 1);
    }
}

std::filesystem::path RunningProgramDirectory()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}
