#include "platform/system_text.h"

#include <climits>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <optional>

namespace {

// The text as wide characters in the current locale; nothing when it holds a
// sequence the locale cannot read (or a NUL, which ends a wide text).
std::optional<std::wstring> Widen(std::string_view text)
{
    std::wstring wide;
    std::mbstate_t state{};
    for (std::size_t at = 0; at < text.size();) {
        wchar_t c = 0;
        const auto used = std::mbrtowc(&c, text.data() + at, text.size() - at, &state);
        if (used == 0 || used > text.size() - at)
            return std::nullopt;
        wide += c;
        at += used;
    }
    return wide;
}

// Each readable character mapped through caseMap; one whose mapped form has
// another length in bytes keeps its own bytes, so names keep their length.
std::string MapCase(std::string_view text, std::wint_t (*caseMap)(std::wint_t))
{
    std::string mapped;
    mapped.reserve(text.size());
    std::mbstate_t in{};
    for (std::size_t at = 0; at < text.size();) {
        wchar_t c = 0;
        auto used = std::mbrtowc(&c, text.data() + at, text.size() - at, &in);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2)) {
            in = {};
            mapped += text[at++];
            continue;
        }
        if (used == 0)
            used = 1;
        char bytes[MB_LEN_MAX];
        std::mbstate_t out{};
        const auto length = std::wcrtomb(bytes, static_cast<wchar_t>(caseMap(static_cast<std::wint_t>(c))), &out);
        if (length == used)
            mapped.append(bytes, length);
        else
            mapped.append(text.substr(at, used));
        at += used;
    }
    return mapped;
}

} // namespace

std::string UpperCaseText(std::string_view text)
{
    return MapCase(text, std::towupper);
}

std::string LowerCaseText(std::string_view text)
{
    return MapCase(text, std::towlower);
}

std::string SortKeyIgnoringCase(std::string_view text)
{
    const auto upper = UpperCaseText(text);
    std::string key;
    if (const auto wide = Widen(upper)) {
        std::wstring collated(std::wcsxfrm(nullptr, wide->c_str(), 0) + 1, L'\0');
        collated.resize(std::wcsxfrm(collated.data(), wide->c_str(), collated.size()));
        // Readable texts first, each collation weight as four bytes, highest first.
        key += '\1';
        for (const wchar_t weight : collated) {
            const auto value = static_cast<std::uint32_t>(weight);
            for (int shift = 24; shift >= 0; shift -= 8)
                key += static_cast<char>((value >> shift) & 0xFF);
        }
        key.append(4, '\0');
    } else {
        key += '\2';
    }
    // Names the locale cannot tell apart keep one order all the same.
    return key + upper;
}
