#include "app/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/IniFile.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

const fs::path kGerman = fs::path("Orvand") / "Lumetra" / "Settings.ini";
const fs::path kEnglish = fs::path("Tesmor") / "Lumetra" / "Settings.ini";

struct LocationCase {
    const char* name;
    bool userGerman, userEnglish, commonGerman, commonEnglish;
    fs::path expected;
    bool expectCopy;
};

TEST(SetSettingsPath, ChoosesByTheFiveRules) {
    const LocationCase cases[] = {
        {"only German user file", true, false, false, false, kGerman, false},
        {"both user files: English wins", true, true, false, false, kEnglish, false},
        {"only English user file", false, true, true, true, kEnglish, false},
        {"German template copied", false, false, true, true, kGerman, true},
        {"English template copied", false, false, false, true, kEnglish, true},
        {"nothing anywhere", false, false, false, false, kEnglish, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestFolder dir;
        fs::path user = dir / "config", common = dir / "xdg";
        fs::create_directories(user);
        if (c.userGerman) dir.write(fs::path("config") / kGerman, "[Main]\nLanguage=Deutsch\n");
        if (c.userEnglish) dir.write(fs::path("config") / kEnglish, "[Main]\nLanguage=English\n");
        if (c.commonGerman) dir.write(fs::path("xdg") / kGerman, "[FTP]\nHost=template-de\n");
        if (c.commonEnglish) dir.write(fs::path("xdg") / kEnglish, "[FTP]\nHost=template-en\n");

        fs::path chosen = SetSettingsPath(user, common);
        EXPECT_EQ(chosen, user / c.expected);
        if (c.expectCopy) {
            EXPECT_EQ(dir.read(fs::path("xdg") / c.expected),
                      dir.read(fs::path("config") / c.expected));
            struct stat st {};
            ASSERT_EQ(stat(chosen.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u);
        }
        if (!c.userGerman && !c.commonGerman) {
            EXPECT_FALSE(fs::exists(user / kGerman));
        }
        if (std::string(c.name) == "nothing anywhere") {
            EXPECT_FALSE(fs::exists(chosen.parent_path()));  // the folder is not created
        }
    }
}

TEST(SetSettingsPath, CopyNeverOverwritesAndTemplateStaysUntouched) {
    test::TestFolder dir;
    fs::path user = dir / "config", common = dir / "xdg";
    dir.write(fs::path("xdg") / kGerman, "[FTP]\nHost=template\n");
    fs::path chosen = SetSettingsPath(user, common);
    Settings settings(chosen);
    settings.write(settings::kFtpHost, "mine");
    EXPECT_EQ(settings.read(settings::kFtpHost), "mine");
    EXPECT_EQ(dir.read(fs::path("xdg") / kGerman), "[FTP]\nHost=template\n");
}

TEST(Settings, DefaultsWithoutAnyFileAndFailedWriteNamesTheFile) {
    test::TestFolder dir;
    Settings settings(SetSettingsPath(dir / "config", dir / "xdg"));
    EXPECT_EQ(settings.read(settings::kLanguage), "Deutsch");
    EXPECT_EQ(settings.read(settings::kFlashWarning), 0);
    EXPECT_EQ(settings.read(settings::kFtpPort), "21");
    EXPECT_EQ(settings.read(settings::kProxyHttpPort), 8080);
    EXPECT_EQ(settings.read(settings::kProxyFtpPort), 3128);
    EXPECT_TRUE(settings.read(settings::kDialogBrowser));
    EXPECT_FALSE(settings.read(settings::kDialogFtp));
    try {
        settings.write(settings::kFlashWarning, 1);
        FAIL() << "write succeeded without a folder";
    } catch (const ini::WriteError& e) {
        EXPECT_NE(std::string(e.what()).find(settings.SettingsFile().string()), std::string::npos);
    }
    EXPECT_EQ(settings.read(settings::kFlashWarning), 0);
}

TEST(Settings, DateTimeInTheLocalesForm) {
    test::TestFolder dir;
    Settings settings(dir / "Settings.ini");
    settings.writeDateTime(settings::kUpdateLastCheck, 86400 * (365 + 180));
    std::string text = settings.read(settings::kUpdateLastCheck);
    EXPECT_EQ(text, FormatLocalDateTime(86400 * (365 + 180)));
    EXPECT_NE(text.find("71"), std::string::npos);  // the year, in any short date form
}

}  // namespace
}  // namespace lumetra
