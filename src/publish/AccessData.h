#pragma once
// The connection page's fields and the access data remembered in the FTP
// section of Settings.ini, written key by key as the fields change.

#include <optional>
#include <string>

#include "publish/FtpClient.h"

namespace lumetra {
class Application;
class Settings;
}  // namespace lumetra

namespace lumetra::publish {

struct ConnectionFields {
    std::string host;
    std::string port = "21";
    std::string user;
    std::string password;
    std::string subDir;
    std::string homepage;
    bool saveData = false;  // chkSaveFTP
    bool operator==(const ConnectionFields&) const = default;
};

// The fields as the window shows them first: the remembered values when
// FTP/SaveData is on, else empty ones with the default start folder and port.
ConnectionFields LoadConnectionFields(Application& app);

// chkSaveFTP switched on: every field is written; switched off: the stored
// values are blanked ("/" and "21" for start folder and port).
void RememberAccessData(Application& app, const ConnectionFields& fields);
void ForgetAccessData(Application& app);

// The port field after an edit: only the digits stay. When anything was
// removed, the caret goes back by one from where it was and the edit beeps.
struct PortEdit {
    std::string text;
    int caret = 0;
    bool changed = false;
};
PortEdit CleanPortText(const std::string& text, int caret);

// The port field as a port number; none when it is empty or out of range.
std::optional<int> PortNumber(const std::string& field);

// FTP/Encryption; an unknown word counts as Auto.
EncryptionMode ReadEncryptionMode(const Settings& settings);

// The proxies of section Proxy, each only while its switch (Proxy/FTP,
// Proxy/HTTP) is on.
std::optional<ProxySettings> ReadFtpProxy(const Settings& settings);
std::optional<ProxySettings> ReadHttpProxy(const Settings& settings);

}  // namespace lumetra::publish
