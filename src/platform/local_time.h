#pragma once

#include <chrono>

// Today's date where the user is: the local calendar day, not the UTC one.
std::chrono::sys_days LocalToday();
