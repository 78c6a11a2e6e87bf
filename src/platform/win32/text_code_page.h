#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Text between a code page's bytes and the system's wide characters.
std::wstring Widen(std::string_view text, UINT codePage);
std::string Narrow(std::wstring_view text, UINT codePage);

// The text of a code page's bytes, or nothing when they are not text of it:
// nothing is guessed or best-fitted.
std::optional<std::wstring> WidenExactly(std::string_view text, UINT codePage);
