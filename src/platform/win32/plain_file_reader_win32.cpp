#include "platform/plain_file_reader.h"

#include <windows.h>

#include <string>

FileReadStatus ReadPlainFileBlocks(const std::filesystem::path& path, std::uint64_t limit,
                                    const std::function<void(std::string_view)>& take)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const auto error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadStatus::Missing
                                                                              : FileReadStatus::Unreadable;
    }
    auto status = FileReadStatus::Unreadable;
    LARGE_INTEGER size{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size)
        && static_cast<std::uint64_t>(size.QuadPart) <= limit) {
        std::string block(std::size_t{1} << 16, '\0');
        std::uint64_t total = 0;
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &got, nullptr))
                break;
            if (got == 0) {
                status = FileReadStatus::Read;
                break;
            }
            if ((total += got) > limit)
                break;
            take(std::string_view(block.data(), got));
        }
    }
    CloseHandle(file);
    return status;
}
