#include "host_name.h"

#include <algorithm>

bool NamesHostText(std::string_view server)
{
    if (server.empty() || server.size() > 255)
        return false;
    // A full name may end with its root's dot.
    if (server.size() > 1 && server.back() == '.')
        server.remove_suffix(1);
    for (std::size_t start = 0; start <= server.size();) {
        const auto end = std::min(server.find('.', start), server.size());
        const auto label = server.substr(start, end - start);
        if (label.empty() || label.front() == '-')
            return false;
        const bool allowed = std::all_of(label.begin(), label.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')
                || (c >= 'a' && c <= 'z') || c == '-' || c == '_';
        });
        if (!allowed)
            return false;
        start = end + 1;
    }
    return true;
}
