#pragma once

#include "ui/ui_services.h"

#include <functional>

// Runs the program's body. An error escaping it is shown in the exception
// message window and the program still ends with exit code 0.
int RunProgram(UiServices& ui, const std::function<void()>& body);
