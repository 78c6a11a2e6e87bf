#pragma once

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
