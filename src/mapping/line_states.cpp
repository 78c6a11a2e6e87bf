#include "mapping/line_states.h"

namespace {

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

LineState StateOfLine(std::string_view path, const std::optional<DriveConnection>& connection)
{
    // A probe that did not answer in time lies on a stalled server.
    if (!connection)
        return LineState::NotAnswering;
    if (!connection->Present)
        return LineState::NotAttached;
    if (!connection->RemotePath || !SameIgnoringAsciiCase(*connection->RemotePath, path))
        return LineState::Taken;
    return connection->Answers ? LineState::Attached : LineState::NotAnswering;
}

const char* LineStateText(LineState state)
{
    switch (state) {
    case LineState::Attached:
        return "Attached";
    case LineState::NotAnswering:
        return "Attached, not answering";
    case LineState::NotAttached:
        return "Not attached";
    case LineState::Taken:
        return "Taken by another drive or path";
    }
    return "";
}
