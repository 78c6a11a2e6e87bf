#include "platform/console_text.h"

// A terminal shows the bytes as they are.
ConsoleTextScope::ConsoleTextScope() = default;
ConsoleTextScope::~ConsoleTextScope() = default;
