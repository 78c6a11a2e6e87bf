#pragma once

#include <string>
#include <string_view>
#include <vector>

// One argument quoted so that the C runtime of the started program splits it
// back out whole, as CommandLineToArgvW does.
std::string QuoteWindowsArgument(std::string_view argument);

// The command line of CreateProcess: each argument quoted, joined by blanks.
std::string WindowsCommandLine(const std::vector<std::string>& arguments);
