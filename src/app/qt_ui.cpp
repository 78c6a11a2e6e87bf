#include "qt_ui.h"

#include "ui/display_text.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtUi::ShowMessage(const Message& message)
{
    const bool plain = message.Kind != MessageKind::Box;
    QMessageBox box(plain ? QMessageBox::NoIcon : BoxIcon(message.Icon),
                    ToDisplay(plain ? std::string_view(ApplicationTitle) : std::string_view(message.Caption)),
                    ToDisplay(message.Text),
                    message.Buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                             : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (message.Kind == MessageKind::Exception)
        box.setIcon(QMessageBox::Critical);
    box.setTextFormat(Qt::PlainText);
    if (!message.Details.empty())
        box.setDetailedText(ToDisplay(message.Details));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return message.Buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

int QtUi::RunModal(QDialog& dialog)
{
    return dialog.exec();
}
