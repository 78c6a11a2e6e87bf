#pragma once

#include <string>

class QDialog;

enum class MessageKind {
    Box,        // text, caption, icon and buttons of the caller's choice
    Plain,      // OK only, no icon, captioned with the application title
    Exception,  // an error that escaped start-up
};

enum class MessageIcon { None, Information, Warning, Stop, Error, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    MessageKind Kind = MessageKind::Box;
    std::string Text;
    std::string Caption;
    MessageIcon Icon = MessageIcon::None;
    MessageButtons Buttons = MessageButtons::Ok;
    // Offered behind a button of the message window; empty for none.
    std::string Details;
};

// The user's side of the program: message windows and modal dialogs.
class UiServices {
public:
    virtual ~UiServices() = default;
    virtual MessageAnswer ShowMessage(const Message& message) = 0;
    // Runs dialog modally; its result code.
    virtual int RunModal(QDialog& dialog) = 0;
};

inline constexpr const char* ApplicationTitle = " Corvane V 2.0";

inline MessageAnswer ShowBox(UiServices& ui, const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons = MessageButtons::Ok)
{
    return ui.ShowMessage({MessageKind::Box, text, caption, icon, buttons, {}});
}

// OK only, no icon, captioned with the application title.
inline void ShowPlain(UiServices& ui, const std::string& text)
{
    ui.ShowMessage({MessageKind::Plain, text, ApplicationTitle, MessageIcon::None, MessageButtons::Ok, {}});
}
