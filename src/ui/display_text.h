#pragma once

#include <QString>

#include <string>
#include <string_view>

// The program's texts are bytes of the system's 8-bit character set; widgets
// show them converted, and the bytes themselves stay in the program's lists.
inline QString ToDisplay(std::string_view bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string FromDisplay(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}
