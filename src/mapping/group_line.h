#pragma once

#include <string>
#include <string_view>

// A group line binds a drive letter to a path: "E: \\server\share".

inline std::string MakeGroupLine(char letter, std::string_view path)
{
    std::string line{letter};
    line += ": ";
    line += path;
    return line;
}

// The line's letter, its first character (0 for an empty line).
inline char GroupLineLetter(std::string_view line)
{
    return line.empty() ? '\0' : line.front();
}

// The line's path, from its fourth character on.
inline std::string_view GroupLinePath(std::string_view line)
{
    return line.size() > 3 ? line.substr(3) : std::string_view{};
}

// Whether the line names a drive letter and a path: "X: " and more. Any
// other line is never run.
inline bool HasLetterAndPath(std::string_view line)
{
    const char letter = GroupLineLetter(line);
    return line.size() > 3 && ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')) && line[1] == ':'
        && line[2] == ' ';
}

// The group's order: ascending text, ASCII letters without case.
bool GroupLineLess(std::string_view left, std::string_view right);
