#include "share_lister.h"

#include "base/host_name.h"
#include "platform/network_connections.h"

#include <algorithm>

ShareList NoAnswerInTime()
{
    return {ShareStatus::BadNetPath, "The server did not answer in time.", false, {}};
}

bool IsOfferedShareName(const std::string& name)
{
    if (name.empty() || name.size() > LongestShareName || name.back() == '$')
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '\\' || c == '/';
    });
}

namespace {

constexpr auto AccessDenied = static_cast<std::uint32_t>(ShareStatus::AccessDenied);
constexpr auto BadNetPath = static_cast<std::uint32_t>(ShareStatus::BadNetPath);

class EnumeratingShareLister final : public ShareLister {
public:
    EnumeratingShareLister(std::unique_ptr<ShareEnumeration> shares, std::unique_ptr<NetworkConnections> connections)
        : Shares(std::move(shares)), Connections(std::move(connections))
    {
    }

    ShareList List(const std::string& server, const std::optional<ShareLogin>& login) override
    {
        if (!NamesHostText(server))
            return {static_cast<int>(BadNetPath), Shares->ErrorText(BadNetPath), false, {}};
        const auto ipc = "\\\\" + server + "\\IPC$";
        if (login) {
            const auto status = Connections->Add({}, ipc, login->User, login->Password.Text(), 0);
            if (status != 0)
                return {static_cast<int>(status), Connections->ErrorText(status), false, {}};
        }
        std::vector<ShareEnumeration::Entry> entries;
        const auto status = Shares->Enumerate(server, entries);
        if (login)
            Connections->Cancel(ipc, 0, true);
        if (status != 0)
            return {static_cast<int>(status), Shares->ErrorText(status), status == AccessDenied && !login, {}};
        ShareList list;
        for (auto& entry : entries) {
            if ((entry.Type & ShareEnumeration::TypeMask) == ShareEnumeration::DiskTree
                && !(entry.Type & ShareEnumeration::Special) && entry.Name && IsOfferedShareName(*entry.Name)
                && list.Names.size() < MostShares)
                list.Names.push_back(std::move(*entry.Name));
        }
        return list;
    }

private:
    std::unique_ptr<ShareEnumeration> Shares;
    std::unique_ptr<NetworkConnections> Connections;
};

} // namespace

std::unique_ptr<ShareLister> MakeEnumeratingShareLister(std::unique_ptr<ShareEnumeration> shares,
                                                        std::unique_ptr<NetworkConnections> connections)
{
    return std::make_unique<EnumeratingShareLister>(std::move(shares), std::move(connections));
}
