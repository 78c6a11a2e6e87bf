#include "app/mainform.h"

#include <QHelpEvent>
#include <QShortcut>

void TMainPRGForm::HelpBtnClick()
{
    ShowBox(UserInterface, "No help is available in this version!\nA new version requires a sponsor!", " Help",
            MessageIcon::Question);
}

std::optional<int> TMainPRGForm::HelpContextOf(QWidget* widget) const
{
    for (; widget; widget = widget->parentWidget()) {
        if (const auto context = widget->property("helpContext"); context.isValid())
            return context.toInt();
        if (widget == this)
            break;
    }
    return std::nullopt;
}

void TMainPRGForm::ShowContextHelp(QWidget* widget)
{
    if (const auto context = HelpContextOf(widget))
        Services.Help.ShowTopic(HelpFilePath, *context);
}

void TMainPRGForm::SetUpContextHelp()
{
    // Shift+F1 asks about the control that has the focus; the title bar's
    // help button (What's This mode) about the control clicked next.
    auto* ask = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(ask, &QShortcut::activated, this, [this] { ShowContextHelp(focusWidget() ? focusWidget() : this); });
    for (auto* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool TMainPRGForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::QueryWhatsThis || event->type() == QEvent::WhatsThis) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && HelpContextOf(widget)) {
            if (event->type() == QEvent::WhatsThis)
                ShowContextHelp(widget);
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
