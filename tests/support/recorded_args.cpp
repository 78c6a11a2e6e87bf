#include "recorded_args.h"

RecordedArgs ParseRecordedArgs(const std::string& output)
{
    RecordedArgs recorded;
    std::size_t at = 0;
    while (at < output.size()) {
        if (output.compare(at, 6, "stdin:") == 0) {
            const auto colon = output.find(':', at + 6);
            recorded.Input = output.substr(colon + 1, std::stoul(output.substr(at + 6, colon - at - 6)));
            break;
        }
        const auto colon = output.find(':', at);
        const auto length = std::stoul(output.substr(at, colon - at));
        recorded.Arguments.push_back(output.substr(colon + 1, length));
        at = colon + 1 + length + 1;
    }
    return recorded;
}
