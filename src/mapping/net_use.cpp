#include "net_use.h"

#include "group_line.h"

std::vector<std::string> AttachArguments(std::string_view groupLine, const std::optional<Credentials>& credentials,
                                         bool persistent)
{
    std::vector<std::string> arguments{"net", "use", {GroupLineLetter(groupLine), ':'},
                                       std::string(GroupLinePath(groupLine))};
    if (credentials) {
        arguments.push_back(credentials->Password.Text());
        arguments.push_back("/USER:" + credentials->UserName);
    }
    arguments.emplace_back(persistent ? "/PERSISTENT:YES" : "/PERSISTENT:NO");
    return arguments;
}

std::vector<std::string> DetachArguments(char letter)
{
    return {"net", "use", {letter, ':'}, "/DELETE"};
}

std::string JoinArguments(const std::vector<std::string>& arguments)
{
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            line += ' ';
        line += arguments[i];
    }
    return line;
}
