#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A password in memory that is wiped when it goes. Its room is taken once, so
// that no growing leaves a copy behind.
class Secret {
public:
    // The room taken at first, and the longest password read from input.
    static constexpr std::size_t Largest = 1024;

    Secret() { Bytes.reserve(Largest); }
    explicit Secret(std::string_view text)
    {
        Bytes.reserve(std::max(Largest, text.size()));
        Bytes.assign(text);
    }
    Secret(const Secret& other) : Secret(std::string_view(other.Bytes)) {}
    Secret& operator=(const Secret& other)
    {
        // The old room goes, wiped, with the copy.
        Secret copy(other);
        Bytes.swap(copy.Bytes);
        return *this;
    }
    ~Secret();

    const std::string& Text() const { return Bytes; }
    bool Empty() const { return Bytes.empty(); }

private:
    std::string Bytes;
};

// Overwrites memory that held a secret, as the compiler may not leave out
// for memory that is not read again.
void WipeMemory(void* data, std::size_t size);

// Whether standard input is a terminal somebody types at.
bool StandardInputIsTerminal();

// Reads one line of a password from standard input, nothing buffered beyond
// it: typed unseen at a terminal after prompt on standard error (the terminal
// is put back however the program ends), else as the line it is given. The
// line end, LF or CR LF, is taken off. Nothing, with the reason, for a line
// holding a NUL, followed at once by another, or longer than Secret::Largest.
std::optional<Secret> ReadPasswordLine(std::string_view prompt, std::string& problem);

// One line typed at the terminal after prompt, shown as it is typed (a user
// name); nothing when standard input is no terminal or ends first.
std::optional<std::string> ReadTypedLine(std::string_view prompt);

// Keeps core dumps and other processes of this user from reading this
// process's memory from now on.
void KeepMemoryPrivate();
