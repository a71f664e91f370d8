#include "support/TestFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "app/FileOps.h"

namespace lumetra::test {

TestFolder::TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumetra-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    path_ = buf.data();
}

TestFolder::~TestFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TestFolder::write(const std::filesystem::path& rel,
                                        std::string_view bytes) const {
    auto p = path_ / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

std::string TestFolder::read(const std::filesystem::path& rel) const {
    std::ifstream in(path_ / rel, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeLanguageFile(const std::filesystem::path& programFolder, const std::string& language,
                       std::string_view content) {
    auto dir = programFolder / "lng";
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / (language + ".lng"), std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file())
            files[fs::relative(it->path(), folder).generic_string()] = ReadWholeFile(it->path());
    return files;
}

}  // namespace lumetra::test
