#include "net_status.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, std::string_view>, 6> Texts{{
    {NetStatus::PathNotFound, "The network path was not found."},
    {NetStatus::NameNotFound, "The network name cannot be found."},
    {NetStatus::DeviceInUse, "The local device name is already in use."},
    {NetStatus::WrongPassword, "The specified network password is not correct."},
    {NetStatus::OtherUserConnected,
     "Multiple connections to a server or shared resource by the same user, using more than one user name, are not "
     "allowed. Disconnect all previous connections to the server or shared resource and try again."},
    {NetStatus::NotConnected, "The network connection could not be found."},
}};

} // namespace

std::string_view StatusText(int status)
{
    for (const auto& [number, text] : Texts) {
        if (number == status)
            return text;
    }
    return {};
}

CarrierOutcome Fail(int status, std::string_view detail)
{
    std::string reason(StatusText(status));
    if (!reason.empty() && !detail.empty())
        reason += '\n';
    reason += detail;
    return {status, std::move(reason), {}};
}
