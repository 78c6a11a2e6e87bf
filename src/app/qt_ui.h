#pragma once

#include "ui/ui_services.h"

// The real message windows and modal dialogs.
class QtUi final : public UiServices {
public:
    MessageAnswer ShowMessage(const Message& message) override;
    int RunModal(QDialog& dialog) override;
};
