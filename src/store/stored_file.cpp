#include "stored_file.h"

#include "store/atomic_file.h"

bool StoredFile::Write(const std::filesystem::path& path, std::string_view bytes)
{
    if (Status == FileReadStatus::Unreadable)
        return false;
    if (Damaged) {
        if (!SaveFileAtomically(std::filesystem::path(path) += ".bak", OriginalBytes))
            return false;
        *this = {FileReadStatus::Read, false, {}};
    }
    return SaveFileAtomically(path, bytes);
}
