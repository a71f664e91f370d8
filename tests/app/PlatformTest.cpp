#include "app/Platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestFolder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and restores them afterwards.
class EnvGuard {
  public:
    void set(const char* name, const std::string& value) {
        remember(name);
        setenv(name, value.c_str(), 1);
    }
    void unset(const char* name) {
        remember(name);
        unsetenv(name);
    }
    ~EnvGuard() {
        for (auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

  private:
    void remember(const char* name) {
        const char* v = std::getenv(name);
        saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(Platform, ConfigFolders) {
    test::TestFolder dir;
    EnvGuard env;
    env.set("HOME", dir.path().string());
    env.set("XDG_CONFIG_HOME", (dir / "cfg").string());
    env.set("XDG_CONFIG_DIRS", (dir / "sys1").string() + ":" + (dir / "sys2").string());
    EXPECT_EQ(platform::userConfigFolder(), dir / "cfg");
    EXPECT_EQ(platform::commonConfigFolder(), dir / "sys1");
    env.set("XDG_CONFIG_HOME", "relative/path");  // not absolute: ignored
    env.unset("XDG_CONFIG_DIRS");
    EXPECT_EQ(platform::userConfigFolder(), dir / ".config");
    EXPECT_EQ(platform::commonConfigFolder(), "/etc/xdg");
}

TEST(Platform, DocumentsFolder) {
    struct {
        const char* name;
        const char* userDirs;  // nullptr: no user-dirs.dirs
        bool documentsExists;
        const char* expected;  // relative to home; "" = home
    } cases[] = {
        {"user dirs with HOME", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", false, "Dokumente"},
        {"user dirs pointing at home", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", true, "Documents"},
        {"no user dirs, Documents exists", nullptr, true, "Documents"},
        {"nothing", nullptr, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestFolder dir;
        EnvGuard env;
        env.set("HOME", dir.path().string());
        env.unset("XDG_CONFIG_HOME");
        if (c.userDirs) dir.write(".config/user-dirs.dirs", c.userDirs);
        if (c.documentsExists) fs::create_directories(dir / "Documents");
        fs::path expected = std::string(c.expected).empty() ? dir.path() : dir / c.expected;
        EXPECT_EQ(platform::documentsFolder().lexically_normal(), expected.lexically_normal());
    }
}

TEST(Platform, PrivateTemporaryFolder) {
    test::TestFolder dir;
    EnvGuard env;
    env.unset("XDG_RUNTIME_DIR");
    env.set("TMPDIR", dir.path().string());
    const fs::path own = dir / ("lumetra-" + std::to_string(getuid()));

    fs::path made = platform::userTempFolder();
    EXPECT_EQ(made, own);
    struct stat st {};
    ASSERT_EQ(lstat(made.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Someone else's name in a shared folder is refused, never used.
    fs::remove(own);
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", own);
    EXPECT_THROW(platform::userTempFolder(), std::runtime_error);
    fs::remove(own);
    fs::create_directory(own);
    fs::permissions(own, fs::perms::all);
    EXPECT_THROW(platform::userTempFolder(), std::runtime_error);

    // A usable runtime folder is preferred.
    fs::create_directories(dir / "run");
    fs::permissions(dir / "run", fs::perms::owner_all, fs::perm_options::replace);
    env.set("XDG_RUNTIME_DIR", (dir / "run").string());
    EXPECT_EQ(platform::userTempFolder(), dir / "run");
}

TEST(Platform, InstanceFolderLeavesOtherInstancesAlone) {
    test::TestFolder dir;
    EnvGuard env;
    fs::create_directories(dir / "run");
    fs::permissions(dir / "run", fs::perms::owner_all, fs::perm_options::replace);
    env.set("XDG_RUNTIME_DIR", (dir / "run").string());

    fs::path mine = platform::instanceTempFolder();
    EXPECT_EQ(mine, dir / "run" / "LMT3TMP" / std::to_string(getpid()));
    fs::path temp = platform::makeTempFile(mine, "LMT");
    EXPECT_EQ(temp.filename().string().rfind("LMT", 0), 0u);
    EXPECT_TRUE(fs::exists(temp));

    dir.write("run/LMT3TMP/999999/other.jpg", "x");
    platform::removeInstanceTempFolder();
    EXPECT_FALSE(fs::exists(mine));
    EXPECT_TRUE(fs::exists(dir / "run" / "LMT3TMP" / "999999" / "other.jpg"));
    fs::remove_all(dir / "run" / "LMT3TMP" / "999999");
    platform::instanceTempFolder();
    platform::removeInstanceTempFolder();
    EXPECT_FALSE(fs::exists(dir / "run" / "LMT3TMP"));
}

TEST(Platform, ProgramFolderIsTheExecutablesFolderInTheBuildTree) {
    EXPECT_EQ(platform::programFolder(), fs::read_symlink("/proc/self/exe").parent_path());
    platform::InstanceMarker marker;
    EXPECT_TRUE(marker.held());
}

// A build tree keeps data/ and lng/ beside the executables, an installation
// below ../share/lumetra; a build tree wins where both would hold them.
TEST(Platform, ProgramFolderBesideTheExecutableElseInstalled) {
    struct {
        std::vector<std::string> dirs;  // below the tree's root
        const char* expected;           // "bin" or "installed"
    } cases[] = {
        {{"bin/data", "bin/lng"}, "bin"},
        {{"bin/data", "bin/lng", "share/lumetra/data", "share/lumetra/lng"}, "bin"},
        {{"bin/lng", "share/lumetra/data", "share/lumetra/lng"}, "bin"},
        {{"share/lumetra/data", "share/lumetra/lng"}, "installed"},
        {{"share/lumetra/lng"}, "installed"},
        // Nothing anywhere: beside the executable, where messages then look.
        {{}, "bin"},
        {{"share/lumetra"}, "bin"},
    };
    for (const auto& c : cases) {
        test::TestFolder tree;
        fs::create_directories(tree / "bin");
        for (const auto& d : c.dirs) fs::create_directories(tree / d);
        const fs::path installed =
            (tree / "bin" / platform::kInstalledProgramFolder).lexically_normal();
        const fs::path expected = std::string(c.expected) == "bin" ? tree / "bin" : installed;
        const fs::path found = platform::programFolderOf(tree / "bin");
        EXPECT_EQ(found, expected) << testing::PrintToString(c.dirs);
        // A plain path, for the messages that name files below it.
        EXPECT_EQ(found.string().find(".."), std::string::npos) << found;
    }
}

TEST(Platform, ModuleBesideTheExecutableElseInstalled) {
    test::TestFolder tree;
    fs::create_directories(tree / "bin");
    const fs::path installed =
        (tree / "bin" / platform::kInstalledModuleFolder / "libm.so").lexically_normal();
    EXPECT_EQ(platform::moduleFileOf(tree / "bin", "libm.so"), installed);
    EXPECT_EQ(installed.string().find(".."), std::string::npos);
    tree.write("bin/libm.so", "");
    EXPECT_EQ(platform::moduleFileOf(tree / "bin", "libm.so"), tree / "bin" / "libm.so");
}

}  // namespace
}  // namespace lumetra
