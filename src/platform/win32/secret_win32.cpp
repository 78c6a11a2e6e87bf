#include "platform/secret.h"

#include "text_code_page.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HANDLE Input()
{
    return GetStdHandle(STD_INPUT_HANDLE);
}

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void Prompt(std::string_view prompt)
{
    std::fwrite(prompt.data(), 1, prompt.size(), stderr);
    std::fflush(stderr);
}

HANDLE HiddenConsole = nullptr;
DWORD ShownMode = 0;

// Ctrl+C, Ctrl+Break or the console's closing end the program from another
// thread; the shell gets its echo back first.
BOOL WINAPI PutEchoBack(DWORD)
{
    SetConsoleMode(HiddenConsole, ShownMode);
    std::fputc('\n', stderr);
    return FALSE;  // and the next handler, at last the system's, ends the program
}

// A line typed at the console, in UTF-8 whatever the code pages; echo off hides it.
std::optional<std::string> ReadConsoleLine(bool echo, std::size_t largest, bool& tooLong)
{
    const HANDLE console = Input();
    DWORD shown = 0;
    GetConsoleMode(console, &shown);
    if (!echo) {
        HiddenConsole = console;
        ShownMode = shown;
        SetConsoleCtrlHandler(PutEchoBack, TRUE);
        SetConsoleMode(console, shown & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    std::wstring typed;
    bool ended = false;
    for (;;) {
        wchar_t c = 0;
        DWORD got = 0;
        if (!ReadConsoleW(console, &c, 1, &got, nullptr)) {
            // Ctrl+C breaks the read off: it ends the program, or it is ignored and typing goes on.
            if (GetLastError() == ERROR_OPERATION_ABORTED)
                continue;
            break;
        }
        if (got == 0)
            break;
        if (c == L'\n') {
            ended = true;
            break;
        }
        if (typed.size() > largest)
            tooLong = true;
        else
            typed += c;
    }
    if (!echo) {
        SetConsoleMode(console, shown);
        SetConsoleCtrlHandler(PutEchoBack, FALSE);
        std::fputc('\n', stderr);
    }
    if (!typed.empty() && typed.back() == L'\r')
        typed.pop_back();
    auto line = Narrow(typed, CP_UTF8);
    SecureZeroMemory(typed.data(), typed.size() * sizeof(wchar_t));
    if (!ended && line.empty())
        return std::nullopt;
    return line;
}

} // namespace

void WipeMemory(void* data, std::size_t size)
{
    SecureZeroMemory(data, size);
}

Secret::~Secret()
{
    Bytes.resize(Bytes.capacity());
    WipeMemory(Bytes.data(), Bytes.size());
}

bool StandardInputIsTerminal()
{
    return IsConsole(Input());
}

std::optional<Secret> ReadPasswordLine(std::string_view prompt, std::string& problem)
{
    std::string line;
    bool tooLong = false;
    bool moreLines = false;
    if (IsConsole(Input())) {
        Prompt(prompt);
        line = ReadConsoleLine(false, Secret::Largest, tooLong).value_or(std::string());
    } else {
        // One byte a read: what follows the line stays unread.
        for (;;) {
            char c = 0;
            DWORD got = 0;
            if (!ReadFile(Input(), &c, 1, &got, nullptr) || got == 0 || c == '\n')
                break;
            if (line.size() > Secret::Largest) {
                tooLong = true;
                break;
            }
            line += c;
        }
        DWORD waiting = 0;
        moreLines = !tooLong && PeekNamedPipe(Input(), nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
    // A pipe's bytes that are UTF-8 are taken as such (what most scripting tools
    // write); others in the console's input code page (what cmd's echo writes).
    bool readable = true;
    if (!IsConsole(Input()) && !WidenExactly(line, CP_UTF8)) {
        const UINT codePage = GetConsoleCP() != 0 ? GetConsoleCP() : GetOEMCP();
        auto wide = WidenExactly(line, codePage);
        readable = wide.has_value();
        SecureZeroMemory(line.data(), line.size());
        line = wide ? Narrow(*wide, CP_UTF8) : std::string();
        if (wide)
            SecureZeroMemory(wide->data(), wide->size() * sizeof(wchar_t));
    }
    std::optional<Secret> password;
    if (!readable)
        problem = "The password is neither UTF-8 nor text of the console's code page.";
    else if (tooLong || line.size() > Secret::Largest)
        problem = "The password is longer than " + std::to_string(Secret::Largest) + " bytes.";
    else if (moreLines)
        problem = "The password holds a line end.";
    else if (line.find('\0') != std::string::npos)
        problem = "The password holds a NUL character.";
    else
        password.emplace(line);
    SecureZeroMemory(line.data(), line.size());
    return password;
}

std::optional<std::string> ReadTypedLine(std::string_view prompt)
{
    if (!IsConsole(Input()))
        return std::nullopt;
    Prompt(prompt);
    bool tooLong = false;
    return ReadConsoleLine(true, 4096, tooLong);
}

void KeepMemoryPrivate()
{
    // Another user's process cannot read this one's memory on Windows; nothing to do.
}
