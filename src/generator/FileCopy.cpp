#include "generator/FileCopy.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace lumetra {

namespace fs = std::filesystem;

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
    const auto fail = [&](int error) {
        throw std::system_error(error, std::generic_category(), "Cannot write " + path.string());
    };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) fail(errno);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        fail(errno ? errno : EIO);
    // A full disk often shows only when the buffer is flushed.
    if (std::fclose(file.release()) != 0) fail(errno ? errno : EIO);
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

}  // namespace lumetra
