#include "platform/local_time.h"

#include <ctime>

std::chrono::sys_days LocalToday()
{
    using namespace std::chrono;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    tzset();
    if (localtime_r(&now, &local) == nullptr)
        return floor<days>(system_clock::now());
    return sys_days(year(local.tm_year + 1900) / month(static_cast<unsigned>(local.tm_mon + 1))
                    / day(static_cast<unsigned>(local.tm_mday)));
}
