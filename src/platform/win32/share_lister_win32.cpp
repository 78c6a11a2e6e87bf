#include "platform/network_connections.h"
#include "platform/share_lister.h"
#include "platform/system_services.h"
#include "text_code_page.h"

#include <windows.h>

#include <lm.h>

namespace {

// A name in the ANSI code page, or nothing when it holds a character the
// code page lacks: a best-fitted name would name another share.
std::optional<std::string> NarrowExactly(std::wstring_view name)
{
    if (name.empty())
        return std::string();
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), static_cast<int>(name.size()),
                                         nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), static_cast<int>(name.size()), text.data(), size,
                        nullptr, &usedDefault);
    if (usedDefault)
        return std::nullopt;
    return text;
}

class NetShareEnumeration final : public ShareEnumeration {
public:
    std::uint32_t Enumerate(const std::string& server, std::vector<Entry>& entries) override
    {
        auto name = Widen("\\\\" + server, CP_ACP);
        DWORD resume = 0;
        NET_API_STATUS status = NERR_Success;
        do {
            SHARE_INFO_1* shares = nullptr;
            DWORD read = 0;
            DWORD total = 0;
            status = NetShareEnum(name.data(), 1, reinterpret_cast<LPBYTE*>(&shares), MAX_PREFERRED_LENGTH, &read,
                                  &total, &resume);
            if (status == NERR_Success || status == ERROR_MORE_DATA) {
                for (DWORD i = 0; i < read; ++i)
                    entries.push_back({NarrowExactly(shares[i].shi1_netname ? shares[i].shi1_netname : L""),
                                       shares[i].shi1_type});
            }
            if (shares)
                NetApiBufferFree(shares);
        } while (status == ERROR_MORE_DATA);
        return status;
    }

    std::string ErrorText(std::uint32_t code) override { return Texts->ErrorText(code); }

private:
    std::unique_ptr<NetworkConnections> Texts = MakeSystemNetworkConnections();
};

} // namespace

std::unique_ptr<ShareLister> MakeSystemShareLister()
{
    return MakeEnumeratingShareLister(std::make_unique<NetShareEnumeration>(), MakeSystemNetworkConnections());
}
