#pragma once

#include <string>

inline std::string DetachQuestion(char letter)
{
    return std::string("Do you want to dettach the drive ") + letter + ":?";
}
