#include "publish/AccessData.h"

#include <algorithm>
#include <charconv>

#include "app/Application.h"
#include "app/Settings.h"
#include "app/SettingsKeys.h"

namespace lumetra::publish {

namespace keys = settings;

ConnectionFields LoadConnectionFields(Application& app) {
    ConnectionFields fields;
    const Settings& s = app.settings;
    const std::string defaultDir = app.GetLangString(lang::frmFTP::kDefaultDirName);
    fields.saveData = s.read(keys::kFtpSaveData);
    if (!fields.saveData) {
        fields.subDir = defaultDir;
        return fields;
    }
    fields.user = s.read(keys::kFtpUser);
    fields.password = s.read(keys::kFtpPass);
    fields.host = s.read(keys::kFtpHost);
    fields.subDir = s.read(keys::kFtpSubDir, defaultDir);
    fields.port = s.read(keys::kFtpPort);
    fields.homepage = s.read(keys::kFtpHomepage);
    return fields;
}

void RememberAccessData(Application& app, const ConnectionFields& fields) {
    const Settings& s = app.settings;
    s.write(keys::kFtpUser, fields.user);
    s.write(keys::kFtpPass, fields.password);
    s.write(keys::kFtpHost, fields.host);
    s.write(keys::kFtpSubDir, fields.subDir);
    s.write(keys::kFtpPort, fields.port);
    s.write(keys::kFtpHomepage, fields.homepage);
}

void ForgetAccessData(Application& app) {
    const Settings& s = app.settings;
    s.write(keys::kFtpUser, "");
    s.write(keys::kFtpPass, "");
    s.write(keys::kFtpHost, "");
    s.write(keys::kFtpSubDir, "/");
    s.write(keys::kFtpPort, "21");
    s.write(keys::kFtpPassive, false);
    s.write(keys::kFtpHomepage, "");
}

PortEdit CleanPortText(const std::string& text, int caret) {
    PortEdit edit;
    for (char c : text)
        if (c >= '0' && c <= '9') edit.text += c;
    edit.changed = edit.text.size() != text.size();
    edit.caret = edit.changed ? caret - 1 : caret;
    edit.caret = std::clamp(edit.caret, 0, static_cast<int>(edit.text.size()));
    return edit;
}

std::optional<int> PortNumber(const std::string& field) {
    int port = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), port);
    if (field.empty() || error != std::errc() || end != field.data() + field.size()) return {};
    if (port < 1 || port > 65535) return {};
    return port;
}

EncryptionMode ReadEncryptionMode(const Settings& settings) {
    std::string word = settings.read(keys::kFtpEncryption);
    for (char& c : word)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (word == "required") return EncryptionMode::Required;
    if (word == "off") return EncryptionMode::Off;
    return EncryptionMode::Auto;
}

std::optional<ProxySettings> ReadFtpProxy(const Settings& settings) {
    if (!settings.read(keys::kProxyFtp)) return {};
    return ProxySettings{settings.read(keys::kProxyFtpHost), settings.read(keys::kProxyFtpPort),
                         settings.read(keys::kProxyFtpUser),
                         settings.read(keys::kProxyFtpPassword)};
}

std::optional<ProxySettings> ReadHttpProxy(const Settings& settings) {
    if (!settings.read(keys::kProxyHttp)) return {};
    return ProxySettings{settings.read(keys::kProxyHttpHost), settings.read(keys::kProxyHttpPort),
                         settings.read(keys::kProxyHttpUser),
                         settings.read(keys::kProxyHttpPassword)};
}

}  // namespace lumetra::publish
