#include "platform/console_text.h"

#include <windows.h>

ConsoleTextScope::ConsoleTextScope()
{
    DWORD mode = 0;
    if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)
        && !GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode))
        return;  // written to a file or a pipe: the bytes as they are
    const UINT before = GetConsoleOutputCP();
    if (before != GetACP() && SetConsoleOutputCP(GetACP()))
        Before = before;
}

ConsoleTextScope::~ConsoleTextScope()
{
    if (Before != 0)
        SetConsoleOutputCP(Before);
}
