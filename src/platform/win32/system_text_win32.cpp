#include "platform/system_text.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

std::string MapCase(std::string_view text, DWORD(WINAPI* caseMap)(LPSTR, DWORD))
{
    std::string mapped(text);
    // In pieces the call can count, NULs included.
    for (std::size_t at = 0; at < mapped.size();) {
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(mapped.size() - at, INT_MAX));
        caseMap(mapped.data() + at, piece);
        at += piece;
    }
    return mapped;
}

} // namespace

std::string UpperCaseText(std::string_view text)
{
    return MapCase(text, CharUpperBuffA);
}

std::string LowerCaseText(std::string_view text)
{
    return MapCase(text, CharLowerBuffA);
}

std::string SortKeyIgnoringCase(std::string_view text)
{
    const auto upper = UpperCaseText(text);
    std::string key;
    if (text.size() <= INT_MAX / 8) {
        const auto length = static_cast<int>(text.size());
        const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
        if (const int size = LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0); size > 0) {
            key.resize(static_cast<std::size_t>(size));
            key.resize(static_cast<std::size_t>(
                LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, key.data(), size)));
        }
    }
    // The system's key ends with a NUL; names it cannot tell apart keep one
    // order all the same.
    if (key.empty() || key.back() != '\0')
        key.push_back('\0');
    return key + upper;
}
