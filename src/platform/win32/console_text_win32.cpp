#include "platform/console_text.h"

#include "text_code_page.h"

#include <windows.h>

#include <io.h>
#include <shellapi.h>

#include <memory>

namespace {

UINT CodePageBefore = 0;

// Ctrl+C, Ctrl+Break or the console's closing end the program from another
// thread; the console gets its code page back first.
BOOL WINAPI PutCodePageBack(DWORD)
{
    SetConsoleOutputCP(CodePageBefore);
    return FALSE;  // and the next handler, at last the system's, ends the program
}

} // namespace

ConsoleTextScope::ConsoleTextScope()
{
    DWORD mode = 0;
    if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)
        && !GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode))
        return;  // written to a file or a pipe: the bytes as they are
    const UINT before = GetConsoleOutputCP();
    if (before == GetACP())
        return;
    CodePageBefore = before;
    SetConsoleCtrlHandler(PutCodePageBack, TRUE);
    if (SetConsoleOutputCP(GetACP()))
        Before = before;
    else
        SetConsoleCtrlHandler(PutCodePageBack, FALSE);
}

ConsoleTextScope::~ConsoleTextScope()
{
    if (Before == 0)
        return;
    SetConsoleOutputCP(Before);
    SetConsoleCtrlHandler(PutCodePageBack, FALSE);
}

bool StreamIsTerminal(std::FILE* stream)
{
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode) != 0;
}

std::string TerminalSafe(std::string_view text)
{
    // The console shows the ANSI code page, where bytes from 0x80 on are letters.
    static const char Digits[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7F) {
            shown += "\\x";
            shown += Digits[byte >> 4];
            shown += Digits[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Utf8FromArgument(std::string_view argument, std::size_t position)
{
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> given(CommandLineToArgvW(GetCommandLineW(), &count), LocalFree);
    if (given && position < static_cast<std::size_t>(count)) {
        std::wstring_view whole = given.get()[position];
        if (const auto equals = whole.find(L'='); whole.starts_with(L"--") && equals != std::wstring_view::npos)
            whole.remove_prefix(equals + 1);
        // It is the argument meant when the C runtime made the same of it.
        if (Narrow(whole, CP_ACP) == argument)
            return Narrow(whole, CP_UTF8);
    }
    return Narrow(Widen(argument, CP_ACP), CP_UTF8);
}
