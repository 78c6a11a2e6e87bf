#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

// Skips a test that this machine cannot run (no superuser, no Samba, no mount
// namespaces), but fails it under CI, whose machine can always run it: a
// skipped check there would say "safe" with nothing checked.
#define CORVANE_SKIP_OUTSIDE_CI(why)                                                                                    \
    do {                                                                                                               \
        if (const char* ci = std::getenv("CI"); ci && *ci)                                                             \
            FAIL() << "not run under CI: " << (why);                                                                   \
        else                                                                                                           \
            GTEST_SKIP() << (why);                                                                                     \
    } while (false)
