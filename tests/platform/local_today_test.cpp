#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

using namespace std::chrono;

namespace {

// Sets TZ for the test and puts the old one back.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            Saved = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (Saved.empty())
            unsetenv("TZ");
        else
            setenv("TZ", Saved.c_str(), 1);
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::string Saved;
};

} // namespace

TEST(LocalToday, TodayIsTheDayWhereTheUserIsNotInGreenwich)
{
    // Fourteen hours ahead of UTC and twelve behind: at most one of them shares the UTC day.
    for (const auto& [zone, offset] : {std::pair{"KIR-14", hours(14)}, std::pair{"BIT+12", hours(-12)}}) {
        SCOPED_TRACE(zone);
        const TimeZone set(zone);
        const auto before = floor<days>(system_clock::now() + offset);
        const auto today = LocalToday();
        const auto after = floor<days>(system_clock::now() + offset);
        EXPECT_TRUE(today == before || today == after);
    }
}
