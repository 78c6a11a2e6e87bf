#include "group_line.h"

#include "store/text_file.h"

bool GroupLineLess(std::string_view left, std::string_view right)
{
    return AsciiCaseLess(left, right);
}
