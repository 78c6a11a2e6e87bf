#pragma once

#include <algorithm>
#include <chrono>

// The pauses between tries while a server cannot be reached, as at login:
// 1, 2, 4 ... and then 30 s each.
class RetryPauses {
public:
    std::chrono::milliseconds Next()
    {
        const auto pause = Coming;
        Coming = std::min(Coming * 2, Longest);
        return pause;
    }

private:
    static constexpr std::chrono::milliseconds Longest{30000};
    std::chrono::milliseconds Coming{1000};
};
