// Ctrl+C at the password prompt, in a console of its own: the program asked
// ends, and the console echoes and shows its code page as before.

#include "platform/console_text.h"
#include "platform/secret.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

constexpr UINT ShellCodePage = 437;

HANDLE OpenConsoleInput()
{
    return CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

DWORD ModeOf(HANDLE console)
{
    DWORD mode = 0;
    GetConsoleMode(console, &mode);
    return mode;
}

// What a user at the keyboard sends: the key down and up, Ctrl held.
void PressCtrlC(HANDLE input)
{
    INPUT_RECORD keys[2]{};
    for (int i = 0; i < 2; ++i) {
        KEY_EVENT_RECORD& key = keys[i].Event.KeyEvent;
        keys[i].EventType = KEY_EVENT;
        key.bKeyDown = i == 0;
        key.wRepeatCount = 1;
        key.wVirtualKeyCode = 'C';
        key.uChar.UnicodeChar = 3;
        key.dwControlKeyState = LEFT_CTRL_PRESSED;
    }
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(input, keys, 2, &written));
}

TEST(ConsoleInterrupt, CtrlCAtThePasswordPromptPutsBackEchoAndTheCodePage)
{
    const HANDLE input = OpenConsoleInput();
    ASSERT_NE(ModeOf(input), 0U) << "no console: this test runs on a terminal";
    ASSERT_NE(GetACP(), ShellCodePage);
    ASSERT_TRUE(SetConsoleOutputCP(ShellCodePage));
    const DWORD shown = ModeOf(input);
    ASSERT_NE(shown & ENABLE_ECHO_INPUT, 0U);

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --prompt";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    SetConsoleCtrlHandler(nullptr, TRUE);  // this one stays to look

    // Typing is unseen and the program's code page shown once the prompt waits.
    bool prompting = false;
    for (int i = 0; i < 600 && !prompting; ++i) {
        prompting = (ModeOf(input) & ENABLE_ECHO_INPUT) == 0 && GetConsoleOutputCP() == GetACP();
        Sleep(50);
    }
    ASSERT_TRUE(prompting) << "the prompt did not hide the typing";
    PressCtrlC(input);
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetConsoleCtrlHandler(nullptr, FALSE);
    EXPECT_TRUE(ended) << "Ctrl+C did not end the program";
    EXPECT_EQ(ModeOf(input), shown);
    EXPECT_EQ(GetConsoleOutputCP(), ShellCodePage);
    CloseHandle(input);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--prompt") {
        const ConsoleTextScope console;
        std::string problem;
        ReadPasswordLine("Password: ", problem);
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
