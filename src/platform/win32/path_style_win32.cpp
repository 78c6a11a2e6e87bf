#include "platform/path_style.h"

#include "text_code_page.h"

#include <windows.h>

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
