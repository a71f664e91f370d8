#pragma once
// Every section and key of Settings.ini, with the default its readers pass.
// No other key is read or written anywhere in the program.

namespace lumetra::settings {

struct StringKey {
    const char* section;
    const char* name;
    const char* defaultValue;
};
struct IntKey {
    const char* section;
    const char* name;
    int defaultValue;
};
struct BoolKey {
    const char* section;
    const char* name;
    bool defaultValue;
};

// Main
inline constexpr StringKey kLanguage{"Main", "Language", "Deutsch"};
inline constexpr IntKey kFlashWarning{"Main", "FlashWarning", 0};

// FTP (SubDir's default is the language text frmFTP/DefaultDirName)
inline constexpr BoolKey kFtpSaveData{"FTP", "SaveData", false};
inline constexpr StringKey kFtpHost{"FTP", "Host", ""};
inline constexpr StringKey kFtpUser{"FTP", "User", ""};
inline constexpr StringKey kFtpPass{"FTP", "Pass", ""};
inline constexpr StringKey kFtpSubDir{"FTP", "SubDir", ""};
inline constexpr StringKey kFtpPort{"FTP", "Port", "21"};
inline constexpr StringKey kFtpHomepage{"FTP", "Homepage", ""};
inline constexpr BoolKey kFtpPassive{"FTP", "Passive", false};  // written only, never read
// "Auto" (TLS when the server offers it), "Required" or "Off"; entered by hand.
inline constexpr StringKey kFtpEncryption{"FTP", "Encryption", "Auto"};

// Proxy (only read; entered in the file by hand)
inline constexpr BoolKey kProxyHttp{"Proxy", "HTTP", false};
inline constexpr StringKey kProxyHttpHost{"Proxy", "HTTPProxy", ""};
inline constexpr IntKey kProxyHttpPort{"Proxy", "HTTPPort", 8080};
inline constexpr StringKey kProxyHttpUser{"Proxy", "HTTPUser", ""};
inline constexpr StringKey kProxyHttpPassword{"Proxy", "HTTPPW", ""};
inline constexpr BoolKey kProxyFtp{"Proxy", "FTP", false};
inline constexpr StringKey kProxyFtpHost{"Proxy", "FTPProxy", ""};
inline constexpr IntKey kProxyFtpPort{"Proxy", "FTPPort", 3128};
inline constexpr StringKey kProxyFtpUser{"Proxy", "FTPUser", ""};
inline constexpr StringKey kProxyFtpPassword{"Proxy", "FTPPW", ""};

// Update (date-time in the user's locale; written only)
inline constexpr StringKey kUpdateLastCheck{"Update", "LastCheck", ""};

// Dialog: what happens after a show is created
inline constexpr BoolKey kDialogBrowser{"Dialog", "chkBrowser", true};
inline constexpr BoolKey kDialogFtp{"Dialog", "chkFTP", false};
inline constexpr BoolKey kDialogOpenDir{"Dialog", "chkOpenDir", false};

}  // namespace lumetra::settings
