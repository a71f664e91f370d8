#pragma once
// A fresh temporary folder for one test, removed with everything in it.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace lumetra::test {

class TestFolder {
  public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& rel) const { return path_ / rel; }

    // Writes bytes to a file below the folder, creating its parent folders.
    std::filesystem::path write(const std::filesystem::path& rel, std::string_view bytes) const;
    std::string read(const std::filesystem::path& rel) const;

  private:
    std::filesystem::path path_;
};

// Every regular file below folder by its path relative to it ('/'-separated),
// with its bytes; empty when the folder cannot be read.
std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder);

// Writes a minimal language file lng/<language>.lng below programFolder.
void writeLanguageFile(const std::filesystem::path& programFolder, const std::string& language,
                       std::string_view content);

}  // namespace lumetra::test
