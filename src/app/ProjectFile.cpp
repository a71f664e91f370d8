#include "app/ProjectFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "app/Application.h"
#include "app/Encoding.h"
#include "app/FileOps.h"
#include "app/MusicList.h"
#include "app/Services.h"
#include "app/Version.h"

namespace lumetra {

namespace {

// No project of a real user comes near this; a larger file is damaged or hostile.
constexpr std::uintmax_t kMaxProjectFileSize = 256u << 20;

// Fixed part of a slide record: three strings' lengths and nine integers.
constexpr std::size_t kMinSlideBytes = 3 * 4 + 9 * 4;

void writeAll(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::system_error(n < 0 ? errno : EIO, std::generic_category(), path);
        done += static_cast<std::size_t>(n);
    }
}

// Writes bytes to path atomically: temporary file in the same folder, flushed,
// then renamed over the target.
void replaceFile(const std::string& path, const std::string& bytes) {
    std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> tmp(pattern.begin(), pattern.end());
    tmp.push_back('\0');
    int fd = mkstemp(tmp.data());
    if (fd < 0) throw std::system_error(errno, std::generic_category(), path);
    try {
        struct stat st {};
        fchmod(fd, stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0644);
        writeAll(fd, bytes, path);
        if (fsync(fd) != 0) throw std::system_error(errno, std::generic_category(), path);
        if (close(fd) != 0) {
            fd = -1;
            throw std::system_error(errno, std::generic_category(), path);
        }
        fd = -1;
        if (rename(tmp.data(), path.c_str()) != 0)
            throw std::system_error(errno, std::generic_category(), path);
    } catch (...) {
        if (fd >= 0) close(fd);
        unlink(tmp.data());
        throw;
    }
}

// Radio buttons of one group: checking one unchecks the others, unchecking the
// checked one leaves the group without a choice.
void setAudioButton(AudioMode& mode, AudioMode button, std::uint8_t value) {
    if (value == 1)
        mode = button;
    else if (mode == button)
        mode = AudioMode::NotSet;
}

std::string readText(ByteReader& r) {
    return ProjectTextToUtf8(r.ReadStr());
}

void readSlides(Application& app, ByteReader& r, bool before30) {
    Project& p = app.project;
    std::int32_t n = r.ReadInt();
    const std::size_t perSlide = kMinSlideBytes + (before30 ? 0 : 4);
    if (n < 0 || static_cast<std::size_t>(n) > r.remaining() / perSlide)
        throw ReadError("slide count larger than the file");
    p.ImgItems.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        recImgItems s;
        s.FileName = readText(r);
        s.Title = readText(r);
        s.Description = readText(r);
        s.FileSize = r.ReadInt();
        s.ImgHeight = r.ReadInt();
        s.ImgWidth = r.ReadInt();
        s.Duration = r.ReadInt();
        s.TextColor = r.ReadInt();
        s.EffectIn = r.ReadInt();
        s.EffectOut = r.ReadInt();
        s.Reserved1 = r.ReadInt();
        s.Reserved2 = r.ReadInt();
        if (before30)
            s.EffectIn = 0;
        else
            s.Link = readText(r);
        p.ImgItems.push_back(std::move(s));
        p.view().slideRowAppended(p.ImgItems.size() - 1);
    }
}

void readShowSettings(Application& app, ByteReader& r, const std::string& version) {
    Project& p = app.project;
    ShowSettings& s = p.Settings;
    const bool before30 = VersionOlderThan(version, "3.0");
    const bool before33 = VersionOlderThan(version, "3.3");

    setAudioButton(s.audioMode, AudioMode::None, r.ReadBool());
    setAudioButton(s.audioMode, AudioMode::Library, r.ReadBool());
    r.ReadBool();
    if (r.ReadBool() == 1 && before33) {
        // Old files knew a single library title.
        if (std::string happy = FindMusicTitle(app.musicTitles, kOldDefaultMusic); !happy.empty())
            s.MusicTitle = happy;
        s.audioMode = AudioMode::Library;
    }
    r.ReadBool();
    setAudioButton(s.audioMode, AudioMode::OwnFile, r.ReadBool());

    s.AudioFile = readText(r);
    if (s.AudioFile == p.AudioFileHint) s.AudioFile.clear();
    s.AudioLoop = r.ReadBool() != 0;

    if (!before33) {
        std::string title = readText(r);
        std::string found = FindMusicTitle(app.musicTitles, title);
        if (found.empty()) found = FindMusicTitle(app.musicTitles, kGermanDefaultMusic);
        if (found.empty() && !app.musicTitles.empty()) found = app.musicTitles.front();
        s.MusicTitle = found;
    }

    r.ReadBool();
    s.FitImages = r.ReadBool() != 0;
    s.FitMode = r.ReadInt();
    s.FitWidth = readText(r);
    s.FitHeight = readText(r);

    if (!before30) s.Trim = r.ReadBool() != 0;
    s.Loop = r.ReadBool() != 0;
    r.ReadBool();
    s.NavBar = r.ReadBool() != 0;
    // Two buttons of one group; when neither is set the colour stays chosen.
    std::uint8_t bgNone = r.ReadBool();
    std::uint8_t bgColour = r.ReadBool();
    s.BackgroundTransparent = bgNone == 1 && bgColour != 1;
    s.BackgroundColor = r.ReadInt();

    s.RandomOrder = before30 ? false : r.ReadBool() != 0;
    if (before33) {
        s.LinkTargetBlank = true;
        s.Autostart = true;
    } else {
        s.LinkTargetBlank = r.ReadBool() != 0;
        s.Autostart = r.ReadBool() != 0;
    }
    if (!before30) s.OutputFile = readText(r);
    if (s.OutputFile.empty()) s.OutputFile = DefaultOutputFile(app);
    ApplySettingsRules(s);
}

}  // namespace

std::string SerializeProject(Application& app) {
    const Project& p = app.project;
    const ShowSettings& s = p.Settings;
    std::ostringstream out(std::ios::binary);
    WriteStr(out, ProgramVersion(true));
    WriteInt(out, static_cast<std::int32_t>(p.ImgItems.size()));
    for (const recImgItems& slide : p.ImgItems) {
        WriteStr(out, slide.FileName);
        WriteStr(out, slide.Title);
        WriteStr(out, slide.Description);
        WriteInt(out, slide.FileSize);
        WriteInt(out, slide.ImgHeight);
        WriteInt(out, slide.ImgWidth);
        WriteInt(out, slide.Duration);
        WriteInt(out, slide.TextColor);
        WriteInt(out, slide.EffectIn);
        WriteInt(out, slide.EffectOut);
        WriteInt(out, slide.Reserved1);
        WriteInt(out, slide.Reserved2);
        WriteStr(out, slide.Link);
    }
    WriteBool(out, s.audioMode == AudioMode::None);
    WriteBool(out, s.audioMode == AudioMode::Library);
    WriteBool(out, false);
    WriteBool(out, false);
    WriteBool(out, false);
    WriteBool(out, s.audioMode == AudioMode::OwnFile);
    WriteStr(out, s.AudioFile == p.AudioFileHint ? std::string() : s.AudioFile);
    WriteBool(out, s.AudioLoop);
    WriteStr(out, s.MusicTitle);
    WriteBool(out, false);
    WriteBool(out, s.FitImages);
    WriteInt(out, s.FitMode);
    WriteStr(out, s.FitWidth);
    WriteStr(out, s.FitHeight);
    WriteBool(out, s.Trim);
    WriteBool(out, s.Loop);
    WriteBool(out, false);
    WriteBool(out, s.NavBar);
    WriteBool(out, s.BackgroundTransparent);
    WriteBool(out, !s.BackgroundTransparent);
    WriteInt(out, s.BackgroundColor);
    WriteBool(out, s.RandomOrder);
    WriteBool(out, s.LinkTargetBlank);
    WriteBool(out, s.Autostart);
    WriteStr(out, s.OutputFile);
    return std::move(out).str();
}

void SaveProject(Application& app, const std::string& path) {
    replaceFile(path, SerializeProject(app));
    Project& p = app.project;
    p.ProjectFileName = path;
    p.setWindowTitle(ProjectWindowTitle(app, path));
    p.SetModified(false);
}

namespace {

// Called after the Loading scope ended.
LoadResult reportReadError(Application& app, const std::string& path) {
    app.Message(lang::messages::kPrjLoadErr, mb::kError, {path});
    NewProject(app);
    return LoadResult::ReadError;
}

// Reads the file into the project that NewProject has just reset; Loading
// is set throughout by the caller's scope.
LoadResult readProject(Application& app, const std::string& path, std::string_view bytes) {
    Project& p = app.project;
    ByteReader r(bytes);
    const std::string version = ProjectTextToUtf8(r.ReadStr());
    const std::string own = ProgramVersion(true);
    if (version > own) {
        app.Message(lang::messages::kPrjTooNew, mb::kError, {path, version, own});
        return LoadResult::TooNew;
    }

    p.view().slideRowsCleared();
    readSlides(app, r, VersionOlderThan(version, "3.0"));
    if (!p.ImgItems.empty()) p.view().firstSlideSelected();
    readShowSettings(app, r, version);
    p.view().showSettingsChanged();

    p.ProjectFileName = path;
    p.view().addHintShown(p.ImgItems.empty());
    p.setWindowTitle(ProjectWindowTitle(app, path));
    return LoadResult::Loaded;
}

LoadResult loadBytes(Application& app, const std::string& path, std::string_view bytes) {
    LoadResult result;
    try {
        Project::LoadingScope loading(app.project);
        result = readProject(app, path, bytes);
    } catch (const ReadError&) {
        return reportReadError(app, path);
    }
    app.project.SetModified(false);
    return result;
}

}  // namespace

LoadResult LoadProjectData(Application& app, const std::string& path, std::string_view bytes) {
    NewProject(app);
    return loadBytes(app, path, bytes);
}

LoadResult LoadProject(Application& app, const std::string& path) {
    NewProject(app);
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxProjectFileSize) return reportReadError(app, path);
    return loadBytes(app, path, ReadWholeFile(path));
}

}  // namespace lumetra
