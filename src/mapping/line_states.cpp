#include "mapping/line_states.h"

#include "base/ascii.h"

LineState StateOfLine(std::string_view path, const std::optional<DriveConnection>& connection)
{
    // A probe that did not answer in time lies on a stalled server.
    if (!connection)
        return LineState::NotAnswering;
    if (!connection->Present)
        return LineState::NotAttached;
    if (!connection->RemotePath || !EqualsIgnoringAsciiCase(*connection->RemotePath, path))
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
