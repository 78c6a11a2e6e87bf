#pragma once

#include "platform/secret.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 whatever the code page of the stored files: they are never stored,
// and must reach the server exactly as typed.
struct Credentials {
    Credentials() = default;
    Credentials(std::string userName, Secret password) : UserName(std::move(userName)), Password(std::move(password)) {}
    Credentials(std::string userName, std::string_view password) : UserName(std::move(userName)), Password(password) {}

    std::string UserName;
    Secret Password;
};

// The arguments of "net use" that attach a group line's path to its letter:
// net use E: <path> [<password> /USER:<user>] /PERSISTENT:YES|NO.
// Each piece is one argument, however many blanks or quotes it holds.
std::vector<std::string> AttachArguments(std::string_view groupLine, const std::optional<Credentials>& credentials,
                                         bool persistent);

// net use K: /DELETE
std::vector<std::string> DetachArguments(char letter);

// The arguments as one line, joined by single blanks.
std::string JoinArguments(const std::vector<std::string>& arguments);
