#include "program.h"

#include <exception>

int RunProgram(UiServices& ui, const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        ui.ShowMessage({MessageKind::Exception, error.what(), ApplicationTitle, MessageIcon::Error,
                        MessageButtons::Ok, {}});
    }
    return 0;
}
