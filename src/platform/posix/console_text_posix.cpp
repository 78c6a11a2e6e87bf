#include "platform/console_text.h"

#include <glib.h>

#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

// A terminal shows the bytes as they are.
ConsoleTextScope::ConsoleTextScope() = default;
ConsoleTextScope::~ConsoleTextScope() = default;

bool StreamIsTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) != 0;
}

namespace {

void AppendEscaped(std::string& shown, unsigned char byte)
{
    static const char Digits[] = "0123456789abcdef";
    shown += "\\x";
    shown += Digits[byte >> 4];
    shown += Digits[byte & 0xF];
}

// The length of the UTF-8 character text starts with; 0 when it is none.
std::size_t Utf8Length(std::string_view text, gunichar& character)
{
    character = g_utf8_get_char_validated(text.data(), static_cast<gssize>(text.size()));
    if (character == static_cast<gunichar>(-1) || character == static_cast<gunichar>(-2))
        return 0;
    return static_cast<std::size_t>(g_utf8_skip[static_cast<unsigned char>(text[0])]);
}

} // namespace

std::string TerminalSafe(std::string_view text)
{
    const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const bool control = (byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F;
        gunichar character = byte;
        const auto length = utf8 ? Utf8Length(text.substr(at), character) : 1;
        // C1 controls: U+0080 to U+009F in UTF-8, the bytes themselves in other character sets.
        const bool c1 = character >= 0x80 && character < 0xA0;
        if (control || length == 0 || c1) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i)
                AppendEscaped(shown, static_cast<unsigned char>(text[at + i]));
            at += std::max<std::size_t>(length, 1);
        } else {
            shown.append(text.substr(at, length));
            at += length;
        }
    }
    return shown;
}

std::string Utf8FromArgument(std::string_view argument, std::size_t)
{
    return std::string(argument);  // as the terminal's locale typed it
}
