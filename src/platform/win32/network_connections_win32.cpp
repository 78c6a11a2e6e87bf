#include "platform/network_connections.h"

#include "text_code_page.h"

#include <windows.h>

#include <wincred.h>
#include <winnetwk.h>

#include <string_view>

namespace {

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

class Win32NetworkConnections final : public NetworkConnections {
public:
    std::uint32_t Add(const std::string& local, const std::string& remote, const std::optional<std::string>& user,
                      const std::optional<std::string>& password, std::uint32_t flags) override
    {
        auto localName = Widen(local, CP_ACP);
        auto remoteName = Widen(remote, CP_ACP);
        // Credentials are UTF-8, so that they reach the server exactly as typed.
        const auto userName = user ? WidenExactly(*user, CP_UTF8) : std::nullopt;
        auto secret = password ? WidenExactly(*password, CP_UTF8) : std::nullopt;
        if ((user && !userName) || (password && !secret))
            return Remember(ERROR_INVALID_PARAMETER);
        NETRESOURCEW resource{};
        resource.dwType = RESOURCETYPE_DISK;
        resource.lpLocalName = localName.data();
        resource.lpRemoteName = remoteName.data();
        const DWORD code = WNetAddConnection2W(&resource, secret ? secret->c_str() : nullptr,
                                               userName ? userName->c_str() : nullptr, flags);
        if (secret)
            SecureZeroMemory(secret->data(), secret->size() * sizeof(wchar_t));
        return Remember(code);
    }

    std::uint32_t Cancel(const std::string& local, std::uint32_t flags, bool force) override
    {
        return Remember(WNetCancelConnection2W(Widen(local, CP_ACP).c_str(), flags, force));
    }

    std::string ErrorText(std::uint32_t code) override
    {
        if (code == ERROR_EXTENDED_ERROR && !Extended.empty())
            return Extended;
        wchar_t* text = nullptr;
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                                | FORMAT_MESSAGE_IGNORE_INSERTS,
                                            nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::string said = length ? Trimmed(Narrow(std::wstring_view(text, length), CP_ACP)) : std::string();
        LocalFree(text);
        if (said.empty())
            said = "System error " + std::to_string(code) + ".";
        return said;
    }

    std::optional<std::string> RemoteOf(const std::string& local) override
    {
        wchar_t remote[4096];
        DWORD length = 4096;
        if (const DWORD got = WNetGetConnectionW(Widen(local, CP_ACP).c_str(), remote, &length);
            got != NO_ERROR && got != ERROR_CONNECTION_UNAVAIL)
            return std::nullopt;
        return Narrow(remote, CP_ACP);
    }

    std::vector<std::pair<std::string, std::string>> RememberedConnections() override
    {
        std::vector<std::pair<std::string, std::string>> remotes;
        HANDLE listing = nullptr;
        if (WNetOpenEnumW(RESOURCE_REMEMBERED, RESOURCETYPE_DISK, 0, nullptr, &listing) != NO_ERROR)
            return remotes;
        std::vector<std::uint64_t> buffer(16384 / sizeof(std::uint64_t));
        for (;;) {
            DWORD count = static_cast<DWORD>(-1);
            DWORD size = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
            if (WNetEnumResourceW(listing, &count, buffer.data(), &size) != NO_ERROR)
                break;
            const auto* resources = reinterpret_cast<const NETRESOURCEW*>(buffer.data());
            for (DWORD i = 0; i < count; ++i) {
                if (resources[i].lpLocalName && resources[i].lpRemoteName)
                    remotes.emplace_back(Narrow(resources[i].lpLocalName, CP_ACP), Narrow(resources[i].lpRemoteName, CP_ACP));
            }
        }
        WNetCloseEnum(listing);
        return remotes;
    }

private:
    // A provider's own error comes with its text, which only this moment can ask for.
    std::uint32_t Remember(DWORD code)
    {
        Extended.clear();
        if (code == ERROR_EXTENDED_ERROR) {
            DWORD providerCode = 0;
            wchar_t text[1024] = {};
            wchar_t provider[256] = {};
            if (WNetGetLastErrorW(&providerCode, text, 1024, provider, 256) == NO_ERROR)
                Extended = Trimmed(Narrow(std::wstring_view(text), CP_ACP) + " (" + Narrow(provider, CP_ACP) + ", "
                                   + std::to_string(providerCode) + ")");
        }
        return code;
    }

    std::string Extended;
};

// What tells a credential this program kept from the user's own.
constexpr const wchar_t* OurMark = L"Kept by Corvane for its drive letters that come back at login";

class Win32CredentialStore final : public CredentialStore {
public:
    Keeper KeeperOf(const std::string& server) override
    {
        PCREDENTIALW credential = nullptr;
        if (!CredReadW(Widen(server, CP_ACP).c_str(), CRED_TYPE_DOMAIN_PASSWORD, 0, &credential))
            return Keeper::Nobody;
        const bool ours = credential->Comment && std::wstring_view(credential->Comment) == OurMark;
        CredFree(credential);
        return ours ? Keeper::Us : Keeper::Someone;
    }

    std::uint32_t Keep(const std::string& server, const std::string& user, const std::string& password) override
    {
        auto target = Widen(server, CP_ACP);
        auto userName = WidenExactly(user, CP_UTF8);
        auto secret = WidenExactly(password, CP_UTF8);
        if (!userName || !secret)
            return ERROR_INVALID_PARAMETER;
        std::wstring mark = OurMark;
        CREDENTIALW credential{};
        credential.Type = CRED_TYPE_DOMAIN_PASSWORD;
        credential.TargetName = target.data();
        credential.UserName = userName->data();
        credential.Comment = mark.data();
        credential.CredentialBlob = reinterpret_cast<LPBYTE>(secret->data());
        credential.CredentialBlobSize = static_cast<DWORD>(secret->size() * sizeof(wchar_t));
        credential.Persist = CRED_PERSIST_ENTERPRISE;
        const DWORD code = CredWriteW(&credential, 0) ? NO_ERROR : GetLastError();
        SecureZeroMemory(secret->data(), secret->size() * sizeof(wchar_t));
        return code;
    }

    void Forget(const std::string& server) override
    {
        if (KeeperOf(server) == Keeper::Us)
            CredDeleteW(Widen(server, CP_ACP).c_str(), CRED_TYPE_DOMAIN_PASSWORD, 0);
    }
};

} // namespace

std::unique_ptr<CredentialStore> MakeSystemCredentialStore()
{
    return std::make_unique<Win32CredentialStore>();
}

std::unique_ptr<NetworkConnections> MakeSystemNetworkConnections()
{
    return std::make_unique<Win32NetworkConnections>();
}
