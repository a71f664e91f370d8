#include "app/Platform.h"
#include "app/StopRequest.h"

#include <fcntl.h>
#include <pthread.h>
#include <pwd.h>
#include <semaphore.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace lumetra::platform {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// Expands "$HOME" at the start of a user-dirs.dirs value and removes its quotes.
std::string parseUserDirsValue(std::string value, const fs::path& home) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home.string() + value.substr(5);
    return value;
}

bool usablePrivateFolder(const fs::path& dir) {
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 0077) == 0;
}

}  // namespace

fs::path homeFolder() {
    std::string home = env("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

const char* const kInstalledProgramFolder = LUMETRA_INSTALLED_PROGRAM_FOLDER;
const char* const kInstalledModuleFolder = LUMETRA_INSTALLED_MODULE_FOLDER;

fs::path executableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path();
    return exe.parent_path();
}

fs::path programFolderOf(const fs::path& exeFolder) {
    const auto holdsProgramFiles = [](const fs::path& folder) {
        std::error_code ec;
        return fs::is_directory(folder / "data", ec) || fs::is_directory(folder / "lng", ec);
    };
    if (holdsProgramFiles(exeFolder)) return exeFolder;
    // The executable's path is resolved, so ".." can be taken lexically.
    const fs::path installed = (exeFolder / kInstalledProgramFolder).lexically_normal();
    return holdsProgramFiles(installed) ? installed : exeFolder;
}

fs::path programFolder() {
    return programFolderOf(executableFolder());
}

fs::path moduleFileOf(const fs::path& exeFolder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(exeFolder / name, ec)) return exeFolder / name;
    return (exeFolder / kInstalledModuleFolder / name).lexically_normal();
}

fs::path moduleFile(const std::string& name) {
    return moduleFileOf(executableFolder(), name);
}

fs::path userConfigFolder() {
    std::string xdg = env("XDG_CONFIG_HOME");
    if (!xdg.empty() && fs::path(xdg).is_absolute()) return xdg;
    return homeFolder() / ".config";
}

fs::path commonConfigFolder() {
    std::string dirs = env("XDG_CONFIG_DIRS");
    std::string first = dirs.substr(0, dirs.find(':'));
    if (!first.empty() && fs::path(first).is_absolute()) return first;
    return "/etc/xdg";
}

fs::path documentsFolder() {
    fs::path home = homeFolder();
    std::ifstream in(userConfigFolder() / "user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_DOCUMENTS_DIR=";
        if (line.rfind(key, 0) != 0) continue;
        fs::path dir =
            fs::path(parseUserDirsValue(line.substr(key.size()), home)).lexically_normal();
        if (!dir.empty() && dir.filename().empty()) dir = dir.parent_path();
        // "$HOME/" means the desktop has no documents folder of its own.
        if (dir.is_absolute() && dir != home.lexically_normal()) return dir;
    }
    std::error_code ec;
    if (fs::is_directory(home / "Documents", ec)) return home / "Documents";
    return home;
}

fs::path userTempFolder() {
    std::string runtime = env("XDG_RUNTIME_DIR");
    if (!runtime.empty() && fs::path(runtime).is_absolute() && usablePrivateFolder(runtime) &&
        access(runtime.c_str(), W_OK | X_OK) == 0)
        return runtime;

    std::string base = env("TMPDIR");
    if (base.empty()) base = "/tmp";
    fs::path dir = fs::path(base) / ("lumetra-" + std::to_string(getuid()));
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::system_error(errno, std::generic_category(),
                                "Cannot create the temporary folder " + dir.string());
    // Someone else may have created the name first in a shared /tmp: refuse it.
    if (!usablePrivateFolder(dir))
        throw std::runtime_error("The temporary folder " + dir.string() +
                                 " is not a private folder of this user; remove it and try again.");
    return dir;
}

fs::path instanceTempFolder() {
    fs::path dir = userTempFolder() / "LMT3TMP" / std::to_string(getpid());
    fs::create_directories(dir);
    return dir;
}

void removeInstanceTempFolder() {
    std::error_code ec;
    fs::path base = userTempFolder() / "LMT3TMP";
    fs::remove_all(base / std::to_string(getpid()), ec);
    fs::remove(base, ec);  // only succeeds when no other instance still uses it
}

void removeInstanceTempFolderOnSignal() {
    WatchStopSignals(std::chrono::milliseconds(0));
}

fs::path makeTempFile(const fs::path& folder, const std::string& prefix) {
    std::string pattern = (folder / (prefix + "XXXXXX")).string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = mkstemp(buf.data());
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(),
                                "Cannot create a temporary file in " + folder.string());
    close(fd);
    return fs::path(buf.data());
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

InstanceMarker::InstanceMarker() {
    sem_t* sem = sem_open("/Lumetra", O_CREAT, 0600, 0);
    if (sem != SEM_FAILED) handle_ = sem;
}

InstanceMarker::~InstanceMarker() {
    if (handle_) sem_close(static_cast<sem_t*>(handle_));
}

}  // namespace lumetra::platform
