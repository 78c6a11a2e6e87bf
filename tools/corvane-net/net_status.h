#pragma once

#include <string>
#include <string_view>

// The system error numbers that "net use" reports, and their texts.
namespace NetStatus {
inline constexpr int Done = 0;
inline constexpr int Failed = 2;
inline constexpr int PathNotFound = 53;
inline constexpr int NameNotFound = 67;
inline constexpr int DeviceInUse = 85;
inline constexpr int WrongPassword = 86;
inline constexpr int OtherUserConnected = 1219;
inline constexpr int NotConnected = 2250;
} // namespace NetStatus

struct CarrierOutcome {
    int Status = NetStatus::Done;
    std::string Reason;   // for standard error; with status 0 a warning
    std::string Listing;  // for standard output
};

// The system's text for a status; empty for 0 and 2, whose reason is all there is.
std::string_view StatusText(int status);

// A failure with its status's text, and what more is known on a line of its own.
CarrierOutcome Fail(int status, std::string_view detail = {});
