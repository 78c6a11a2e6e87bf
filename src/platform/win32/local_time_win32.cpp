#include "platform/local_time.h"

#include <ctime>

std::chrono::sys_days LocalToday()
{
    using namespace std::chrono;
    // The C runtime's local time follows TZ where it is set, the system's zone otherwise.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    _tzset();
    if (localtime_s(&local, &now) != 0)
        return floor<days>(system_clock::now());
    return sys_days(year(local.tm_year + 1900) / month(static_cast<unsigned>(local.tm_mon + 1))
                    / day(static_cast<unsigned>(local.tm_mday)));
}
