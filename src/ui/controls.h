#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The window's controls, each made with its object name and place.
template <typename Widget>
Widget* Make(QWidget* parent, const char* name, QRect geometry)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1StringView(name));
    widget->setGeometry(geometry);
    return widget;
}

inline QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, bool bold = false)
{
    auto* label = Make<QLabel>(parent, name, geometry);
    label->setText(text);
    if (bold) {
        auto font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

inline QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                               bool enabled = true)
{
    auto* button = Make<QPushButton>(parent, name, geometry);
    button->setText(caption);
    button->setEnabled(enabled);
    return button;
}

inline QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name, QRect geometry, QLabel* label)
{
    auto* edit = Make<QLineEdit>(parent, name, geometry);
    edit->setReadOnly(true);
    label->setBuddy(edit);
    edit->setAccessibleName(label->text());
    return edit;
}

// One of the window's three sunken panels.
inline void MakePanel(QFrame* panel, const char* name, QRect geometry)
{
    panel->setObjectName(QLatin1StringView(name));
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}
