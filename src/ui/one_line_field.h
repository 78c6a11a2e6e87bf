#pragma once

#include <QLineEdit>
#include <QValidator>

// A field whose text becomes one line of a stored file: a line end typed or
// pasted into it becomes a blank, so that it can never split the line.
class OneLineValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        for (auto& c : input) {
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
                || c == QChar::ParagraphSeparator)
                c = QLatin1Char(' ');
        }
        return Acceptable;
    }
};

inline void KeepOnOneLine(QLineEdit* field)
{
    field->setValidator(new OneLineValidator(field));
}
