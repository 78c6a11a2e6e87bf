#pragma once

#include "ui/ui_services.h"
#include "platform/platform.h"

// Opens the help file with the system's viewer for it; without one, says
// that it was not found and where it was looked for.
class HelpFileEngine final : public HelpEngine {
public:
    HelpFileEngine(UiServices& ui, ShellOpener& shell) : Ui(ui), Shell(shell) {}

    void ShowTopic(const std::string& helpFile, int context) override;

private:
    UiServices& Ui;
    ShellOpener& Shell;
};
