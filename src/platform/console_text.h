#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// While it lives, a console shows the program's 8-bit texts in the code page
// they are in. Windows' consoles take another one (the OEM code page) unless
// told; it is put back for whatever runs there next.
class ConsoleTextScope {
public:
    ConsoleTextScope();
    ~ConsoleTextScope();
    ConsoleTextScope(const ConsoleTextScope&) = delete;
    ConsoleTextScope& operator=(const ConsoleTextScope&) = delete;

private:
    unsigned Before = 0;
};

// Whether a stream is shown on a terminal or console, which would act on the
// control bytes in a text rather than show them.
bool StreamIsTerminal(std::FILE* stream);

// A text as a terminal can show it without acting on it: control characters
// (but the tab and line end) and, in a UTF-8 terminal, bytes that are no
// UTF-8 stand as \xHH. A name written by someone else cannot retitle the
// window, move the cursor or set the clipboard.
std::string TerminalSafe(std::string_view text);

// A command-line argument in UTF-8, as credentials travel; position is its
// place in the program's argv. Windows gives argv in the ANSI code page, which
// loses what it cannot hold: there the argument is taken from the command
// line as it was given, a "--name=value" one by its value.
std::string Utf8FromArgument(std::string_view argument, std::size_t position);
