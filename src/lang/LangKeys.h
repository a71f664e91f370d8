#pragma once
// Every language text the program asks for outside the translation of its
// windows (the window texts are in TranslationTables.h), with the placeholders
// its caller replaces. The language files must hold each of them, carrying
// exactly these placeholders: a missing one would reach the user as the raw
// token or as an empty spot in the sentence.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumetra {
class Language;
}

namespace lumetra::lang {

// Placeholder tokens as a bit set.
using Tokens = std::uint8_t;
inline constexpr Tokens kNoTokens = 0;
inline constexpr Tokens kToken1 = 1;      // "%1%"
inline constexpr Tokens kToken2 = 2;      // "%2%"
inline constexpr Tokens kToken3 = 4;      // "%3%"
inline constexpr Tokens kTokenBreak = 8;  // "%br%"

struct TokenInfo {
    Tokens bit;
    std::string_view text;
};
inline constexpr std::array<TokenInfo, 4> kTokens{{
    {kToken1, "%1%"},
    {kToken2, "%2%"},
    {kToken3, "%3%"},
    {kTokenBreak, "%br%"},
}};

// The tokens that occur in text (letter case counts, as for the replacement).
Tokens TokensIn(std::string_view text);

struct LangKey {
    std::string_view section;
    std::string_view key;
    Tokens tokens = kNoTokens;
};

// The text of key in the current language (Language::GetLangString).
std::string GetLangString(Language& language, const LangKey& key);

// The one host of every address in section Internet, of the update window's
// links and of the version file. It is the project's own placeholder host.
inline constexpr std::string_view kInternetHost = "https://lumetra.example.org";
inline constexpr std::string_view kVersionFileAddress = "https://lumetra.example.org/version.dat";

namespace gui {
inline constexpr LangKey kTitle{"GUI", "Title"};
inline constexpr LangKey kDefaultDir{"GUI", "DefaultDir"};
inline constexpr LangKey kDefaultShowName{"GUI", "DefaultShowName"};
inline constexpr LangKey kDataDirName{"GUI", "DataDirName"};
inline constexpr LangKey kHTMLCommentStart{"GUI", "HTMLCommentStart"};
inline constexpr LangKey kHTMLCommentEnd{"GUI", "HTMLCommentEnd"};
inline constexpr LangKey kImgFileFilter{"GUI", "ImgFileFilter"};
inline constexpr LangKey kSelectDir{"GUI", "SelectDir"};
inline constexpr LangKey kAudio{"GUI", "Audio"};
inline constexpr LangKey kHTMLFilter{"GUI", "HTMLFilter"};
inline constexpr LangKey kProjFileFilter{"GUI", "ProjFileFilter"};
}  // namespace gui

namespace internet {
inline constexpr LangKey kHomepage{"Internet", "Homepage"};
// "&v=0" or "&v=1" is appended, so the address must already carry a query.
inline constexpr LangKey kHTMLIntegration{"Internet", "HTMLIntegration"};
inline constexpr LangKey kFlashDownload{"Internet", "FlashDownload"};
}  // namespace internet

namespace messages {
inline constexpr LangKey kAudioDoesntExist{"Messages", "AudioDoesntExist", kToken1};
inline constexpr LangKey kCantCopyFile{"Messages", "CantCopyFile", kToken1};
inline constexpr LangKey kCantCreateOutDir{"Messages", "CantCreateOutDir", kToken1};
inline constexpr LangKey kDirAccDenied{"Messages", "DirAccDenied", kToken1};
inline constexpr LangKey kDirAccDenied2{"Messages", "DirAccDenied2", kToken1};
inline constexpr LangKey kDirAccDenied3{"Messages", "DirAccDenied3"};
// Also the text of the preview area, where "%br%" would not be replaced.
inline constexpr LangKey kFileDoesntExist{"Messages", "FileDoesntExist", kToken1};
// "%br%" first, then "%1%" = Internet/FlashDownload.
inline constexpr LangKey kFlashNotFound{"Messages", "FlashNotFound", kTokenBreak | kToken1};
inline constexpr LangKey kFTPDisconnect{"Messages", "FTPDisconnect"};
inline constexpr LangKey kHomepageInaccessible{"Messages", "HomepageInaccessible"};
inline constexpr LangKey kImgErr{"Messages", "ImgErr", kToken1};
// "%br%" first, then "%1%" = number of selected slides.
inline constexpr LangKey kImgEffectInfo{"Messages", "imgEffectInfo", kTokenBreak | kToken1};
inline constexpr LangKey kInvalidPort{"Messages", "InvalidPort", kToken1};
inline constexpr LangKey kLoadingImages{"Messages", "LoadingImages"};
inline constexpr LangKey kNoConnection{"Messages", "NoConnection"};
inline constexpr LangKey kNoImagesAdded{"Messages", "NoImagesAdded"};
inline constexpr LangKey kPrjLoadErr{"Messages", "PrjLoadErr", kToken1};
// "%1%" = project file, "%2%" = version in the file, "%3%" = program version.
inline constexpr LangKey kPrjTooNew{"Messages", "PrjTooNew", kToken1 | kToken2 | kToken3};
inline constexpr LangKey kResizeLargeImg{"Messages", "ResizeLargeImg", kTokenBreak};
inline constexpr LangKey kSaveChanges{"Messages", "SaveChanges"};
inline constexpr LangKey kUpdateCheckConnErr{"Messages", "UpdateCheckConnErr"};
// A question (Yes/No): "%1%" = FTP server, "%2%" = why the certificate failed, then "%br%".
inline constexpr LangKey kFTPCertUnverified{"Messages", "FTPCertUnverified",
                                            kToken1 | kToken2 | kTokenBreak};
// FTP/Encryption is Required and the server "%1%" offers no TLS.
inline constexpr LangKey kFTPNoEncryption{"Messages", "FTPNoEncryption", kToken1};
// A show created without some pictures: "%br%", then "%1%" = their paths, one a line.
inline constexpr LangKey kShowIncomplete{"Messages", "ShowIncomplete", kTokenBreak | kToken1};
// Another program builds the show "%1%" (its page) right now.
inline constexpr LangKey kShowBusy{"Messages", "ShowBusy", kToken1};
}  // namespace messages

namespace frmMiscProgress {
// "%1%" = the time still needed, as m:ss.
inline constexpr LangKey kRemaining{"frmMiscProgress", "Remaining", kToken1};
}  // namespace frmMiscProgress

namespace frmMain {
// Shown in the empty own-music field; a field holding it counts as empty.
inline constexpr LangKey kTxtAudio{"frmMain", "txtAudio"};
inline constexpr LangKey kSecondsShort{"frmMain", "SecondsShort"};
inline constexpr LangKey kLblImgEditInfo0{"frmMain", "lblImgEditInfo0"};
inline constexpr LangKey kLblImgEditInfo1a{"frmMain", "lblImgEditInfo1a"};
inline constexpr LangKey kLblImgEditInfo1b{"frmMain", "lblImgEditInfo1b"};
inline constexpr LangKey kLblImgEditInfo1c{"frmMain", "lblImgEditInfo1c"};
}  // namespace frmMain

namespace frmFTP {
// Status lines; lblAct4 to lblAct6 are followed by ' "name" ...'.
inline constexpr LangKey kLblAct2{"frmFTP", "lblAct2"};  // transfer finished
inline constexpr LangKey kLblAct3{"frmFTP", "lblAct3"};  // connecting
inline constexpr LangKey kLblAct4{"frmFTP", "lblAct4"};  // entering a remote folder
inline constexpr LangKey kLblAct5{"frmFTP", "lblAct5"};  // a folder level or a file at work
inline constexpr LangKey kLblAct6{"frmFTP", "lblAct6"};  // creating a remote folder
inline constexpr LangKey kLblAct7{"frmFTP", "lblAct7"};  // before the transfer starts
inline constexpr LangKey kDefaultDirName{"frmFTP", "DefaultDirName"};
inline constexpr LangKey kListParent{"frmFTP", "ListParent"};
inline constexpr LangKey kListNew{"frmFTP", "ListNew"};
// "%br%", then "%1%" = total MB, "%2%" = MB already on the server, "%3%" = percent.
inline constexpr LangKey kLblSyncTrue{"frmFTP", "lblSyncTrue",
                                      kTokenBreak | kToken1 | kToken2 | kToken3};
// "%1%" = remote folder, "%2%" = FTP server.
inline constexpr LangKey kLblRelativeHTML{"frmFTP", "lblRelativeHTML", kToken1 | kToken2};
inline constexpr LangKey kCmdCancel2{"frmFTP", "cmdCancel2"};
inline constexpr LangKey kCmdShowLink{"frmFTP", "cmdShowLink"};
// Status lines after connecting: encrypted, encrypted without a checked
// certificate, or in the clear.
inline constexpr LangKey kLblActTLS{"frmFTP", "lblActTLS"};
inline constexpr LangKey kLblActTLSUnverified{"frmFTP", "lblActTLSUnverified"};
inline constexpr LangKey kLblActPlain{"frmFTP", "lblActPlain"};
// The encryption choice of the connection page (FTP/Encryption).
inline constexpr LangKey kCboEncryption{"frmFTP", "cboEncryption"};
inline constexpr LangKey kEncryptionAuto{"frmFTP", "EncryptionAuto"};
inline constexpr LangKey kEncryptionRequired{"frmFTP", "EncryptionRequired"};
inline constexpr LangKey kEncryptionOff{"frmFTP", "EncryptionOff"};
}  // namespace frmFTP

namespace frmUpdate {
inline constexpr LangKey kCurVersion{"frmUpdate", "CurVersion"};
inline constexpr LangKey kRecVersion{"frmUpdate", "RecVersion"};
inline constexpr LangKey kNewVersion{"frmUpdate", "NewVersion"};
inline constexpr LangKey kNoNewVersion{"frmUpdate", "NoNewVersion"};
inline constexpr LangKey kCmdCancel2{"frmUpdate", "cmdCancel2"};
// Their captions are the addresses the links open (set by the translation).
inline constexpr LangKey kLblDownload{"frmUpdate", "lblDownload"};
inline constexpr LangKey kLblHistory{"frmUpdate", "lblHistory"};
}  // namespace frmUpdate

// Section TransitionEffectNames: keys "0" to "44", in the order of the effect list.
inline constexpr std::string_view kEffectNamesSection = "TransitionEffectNames";
inline constexpr int kEffectCount = 45;
inline constexpr std::array<std::string_view, kEffectCount> kEffectNameKeys{
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14",
    "15", "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29",
    "30", "31", "32", "33", "34", "35", "36", "37", "38", "39", "40", "41", "42", "43", "44"};

// The name of effect number n; an out-of-range number gives an empty key, which
// the lookup reports like any missing key.
constexpr LangKey EffectNameKey(int n) {
    if (n < 0 || n >= kEffectCount) return {kEffectNamesSection, ""};
    return {kEffectNamesSection, kEffectNameKeys[static_cast<std::size_t>(n)]};
}

// The fitting hint of the settings page: lblImgEditInfo0 with fitting off,
// else 1a, 1b or 1c for fitting mode 0, 1 or 2.
constexpr LangKey FittingHintKey(bool fitImages, int fitMode) {
    if (!fitImages) return frmMain::kLblImgEditInfo0;
    if (fitMode == 1) return frmMain::kLblImgEditInfo1b;
    if (fitMode == 2) return frmMain::kLblImgEditInfo1c;
    return frmMain::kLblImgEditInfo1a;
}

// Every key above except the effect names, for the checks of the language files.
inline constexpr std::array kKeysOutsideTranslation{
    gui::kTitle,
    gui::kDefaultDir,
    gui::kDefaultShowName,
    gui::kDataDirName,
    gui::kHTMLCommentStart,
    gui::kHTMLCommentEnd,
    gui::kImgFileFilter,
    gui::kSelectDir,
    gui::kAudio,
    gui::kHTMLFilter,
    gui::kProjFileFilter,
    internet::kHomepage,
    internet::kHTMLIntegration,
    internet::kFlashDownload,
    messages::kAudioDoesntExist,
    messages::kCantCopyFile,
    messages::kCantCreateOutDir,
    messages::kDirAccDenied,
    messages::kDirAccDenied2,
    messages::kDirAccDenied3,
    messages::kFileDoesntExist,
    messages::kFlashNotFound,
    messages::kFTPDisconnect,
    messages::kHomepageInaccessible,
    messages::kImgErr,
    messages::kImgEffectInfo,
    messages::kInvalidPort,
    messages::kLoadingImages,
    messages::kNoConnection,
    messages::kNoImagesAdded,
    messages::kPrjLoadErr,
    messages::kPrjTooNew,
    messages::kResizeLargeImg,
    messages::kSaveChanges,
    messages::kUpdateCheckConnErr,
    frmMain::kTxtAudio,
    frmMain::kSecondsShort,
    frmMain::kLblImgEditInfo0,
    frmMain::kLblImgEditInfo1a,
    frmMain::kLblImgEditInfo1b,
    frmMain::kLblImgEditInfo1c,
    frmFTP::kLblAct2,
    frmFTP::kLblAct3,
    frmFTP::kLblAct4,
    frmFTP::kLblAct5,
    frmFTP::kLblAct6,
    frmFTP::kLblAct7,
    frmFTP::kDefaultDirName,
    frmFTP::kListParent,
    frmFTP::kListNew,
    frmFTP::kLblSyncTrue,
    frmFTP::kLblRelativeHTML,
    frmFTP::kCmdCancel2,
    frmFTP::kCmdShowLink,
    frmUpdate::kCurVersion,
    frmUpdate::kRecVersion,
    frmUpdate::kNewVersion,
    frmUpdate::kNoNewVersion,
    frmUpdate::kCmdCancel2,
    messages::kFTPCertUnverified,
    messages::kFTPNoEncryption,
    frmFTP::kLblActTLS,
    frmFTP::kLblActTLSUnverified,
    frmFTP::kLblActPlain,
    frmFTP::kCboEncryption,
    frmFTP::kEncryptionAuto,
    frmFTP::kEncryptionRequired,
    frmFTP::kEncryptionOff,
    messages::kShowIncomplete,
    messages::kShowBusy,
    frmMiscProgress::kRemaining,
};

// Texts that are web addresses under kInternetHost.
inline constexpr std::array kAddressKeys{
    internet::kHomepage,     internet::kHTMLIntegration, internet::kFlashDownload,
    frmUpdate::kLblDownload, frmUpdate::kLblHistory,
};

}  // namespace lumetra::lang
