#include "help_file_engine.h"

#include <filesystem>
#include <system_error>

void HelpFileEngine::ShowTopic(const std::string& helpFile, int)
{
    // The viewer opens the file at its start: no viewer of today takes a
    // topic number of this old format.
    std::error_code error;
    if (!std::filesystem::is_regular_file(helpFile, error)) {
        Ui.ShowMessage({MessageKind::Box, "The help file\n" + helpFile + "\nwas not found.", " Help",
                        MessageIcon::Information, MessageButtons::Ok, {}});
        return;
    }
    Shell.Open(helpFile);
}
