#pragma once

#include "platform/posix/drives_folder.h"

#include <filesystem>
#include <string>
#include <vector>

// The system error numbers that "net use" reports.
namespace NetStatus {
inline constexpr int Done = 0;
inline constexpr int Failed = 2;
inline constexpr int PathNotFound = 53;
inline constexpr int NameNotFound = 67;
inline constexpr int DeviceInUse = 85;
inline constexpr int WrongPassword = 86;
inline constexpr int NotConnected = 2250;
} // namespace NetStatus

struct CarrierOutcome {
    int Status = NetStatus::Done;
    std::string Reason;
};

// Carries out one "net use" argument list (without the program's name).
CarrierOutcome RunCarrier(const std::vector<std::string>& arguments, const std::filesystem::path& drives);
