#pragma once
// Where Lumetra keeps its files on Linux, and the few operating-system
// services the core needs (temporary files, the instance marker).

#include <filesystem>
#include <string>

namespace lumetra::platform {

namespace fs = std::filesystem;

// Where an installation keeps data/ and lng/ ("../share/lumetra") and the
// program's loadable modules ("../lib/lumetra"), relative to the folder of its
// executables; the install layout decides them at configuration.
extern const char* const kInstalledProgramFolder;
extern const char* const kInstalledModuleFolder;

// Folder of the running executable.
fs::path executableFolder();

// The folder that holds data/ and lng/ for an executable in exeFolder: the
// executable's own folder when either lies there (the build tree), else the
// installed share folder when either lies there, else the executable's folder
// again (so what is missing is reported where the build tree would hold it).
fs::path programFolderOf(const fs::path& exeFolder);

// programFolderOf(executableFolder()).
fs::path programFolder();

// A loadable module of the program: beside the executable when it is there
// (the build tree), else in the installed module folder.
fs::path moduleFileOf(const fs::path& exeFolder, const std::string& name);
fs::path moduleFile(const std::string& name);

// Per-user configuration folder: $XDG_CONFIG_HOME, else ~/.config.
fs::path userConfigFolder();

// System-wide configuration folder: first entry of $XDG_CONFIG_DIRS, else /etc/xdg.
fs::path commonConfigFolder();

// The user's documents folder: XDG_DOCUMENTS_DIR from ~/.config/user-dirs.dirs,
// else ~/Documents when it exists, else the home folder.
fs::path documentsFolder();

// A folder private to the user for temporary files: $XDG_RUNTIME_DIR when set
// and usable, else ${TMPDIR:-/tmp}/lumetra-<uid> (created with mode 0700).
// Throws std::runtime_error when the folder is not safely ours.
fs::path userTempFolder();

// LMT3TMP/<pid> below the user's temporary folder, created on demand. Each
// running instance has its own so one closing never deletes another's files.
fs::path instanceTempFolder();

// Deletes this instance's subfolder, then LMT3TMP itself when it is empty.
void removeInstanceTempFolder();

// Makes an interrupt, hang-up or termination remove this instance's temporary
// folder before the process ends (with status 128 + the signal's number).
// Blocks those signals in this and every later thread and waits for them on a
// thread of its own, so call it before any other thread starts.
void removeInstanceTempFolderOnSignal();

// Creates a new empty file "<prefix>XXXXXX" in folder and returns its path.
fs::path makeTempFile(const fs::path& folder, const std::string& prefix);

// True when a directory search finds the file (no exception on errors).
bool fileExists(const fs::path& path);

// Home folder of the user ($HOME, else the password database).
fs::path homeFolder();

// Holds the named semaphore "/Lumetra" for the life of the process. It marks a
// running instance for outside tools; the program itself never waits on it.
class InstanceMarker {
  public:
    InstanceMarker();
    ~InstanceMarker();
    InstanceMarker(const InstanceMarker&) = delete;
    InstanceMarker& operator=(const InstanceMarker&) = delete;
    bool held() const { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;
};

}  // namespace lumetra::platform
