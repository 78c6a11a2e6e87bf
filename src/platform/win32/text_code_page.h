#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Text between a code page's bytes and the system's wide characters.
std::wstring Widen(std::string_view text, UINT codePage);
std::string Narrow(std::wstring_view text, UINT codePage);
