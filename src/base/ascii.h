#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

// Case as the network commands, drive letters and switches know it: ASCII
// letters only, whatever the locale says of the other bytes.

constexpr char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowered(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
    return lowered;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && EqualsIgnoringAsciiCase(text.substr(0, start.size()), start);
}

// The number of a drive letter, 0 for A (or a) to 25 for Z; -1 for any other byte.
constexpr int DriveLetterIndex(char letter)
{
    const char upper = AsciiUpper(letter);
    return upper >= 'A' && upper <= 'Z' ? upper - 'A' : -1;
}

// The letter, upper-cased, of a device written "X:"; nothing for anything else.
constexpr std::optional<char> DeviceLetter(std::string_view device)
{
    if (device.size() != 2 || device[1] != ':' || DriveLetterIndex(device[0]) < 0)
        return std::nullopt;
    return AsciiUpper(device[0]);
}
