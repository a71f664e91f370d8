#include "generator/FileCopy.h"

#include <system_error>

#include "app/ReplaceFile.h"

namespace lumetra {

namespace fs = std::filesystem;

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
    try {
        ReplaceFileWith(path, bytes);
    } catch (const std::system_error& e) {
        throw std::system_error(e.code(), "Cannot write " + path.string());
    }
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to, bool ownFile) {
    try {
        if (ownFile)
            ReplaceFileWithOwnFile(from, to);
        else
            ReplaceFileWithCopy(from, to);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace lumetra
