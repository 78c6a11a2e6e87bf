#pragma once

#include <string_view>

// Whether text can name a host, as the server part of a \\server\share path:
// a name or an address of at most 255 bytes, its labels of letters, digits,
// '-' and '_' (bytes beyond ASCII too, for names in other scripts), none
// empty (a last dot aside), none starting with '-'. Blanks, slashes, "..", a user part or a NUL
// name none.
bool NamesHostText(std::string_view server);
