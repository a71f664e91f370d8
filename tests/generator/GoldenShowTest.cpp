// Show descriptions compared byte for byte with reviewed files. Each folder
// below golden/ holds input.txt (show settings and slides) and expected.xml.
// LUMETRA_UPDATE_GOLDEN=1 rewrites expected.xml; review the diff before
// committing it.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ShowFixture.h"
#include "app/FileOps.h"
#include "generator/ShowDescription.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

// "\r", "\n", "\t", "\\" and "\xNN" in values, so inputs stay readable text.
std::string Unescape(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 >= value.size()) {
            out += value[i];
            continue;
        }
        const char c = value[++i];
        if (c == 'r')
            out += '\r';
        else if (c == 'n')
            out += '\n';
        else if (c == 't')
            out += '\t';
        else if (c == 'x' && i + 2 < value.size()) {
            out += static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

std::vector<int> Numbers(const std::string& list) {
    std::vector<int> numbers;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) numbers.push_back(std::stoi(item));
    return numbers;
}

struct GoldenCase {
    int W = 640, H = 480;
    bool preview = true;
    std::string prefix;
    std::deque<int> draws;
};

AudioMode ParseAudio(const std::string& value) {
    if (value == "library") return AudioMode::Library;
    if (value == "own") return AudioMode::OwnFile;
    return AudioMode::None;
}

void SetShowKey(Project& project, GoldenCase& golden, const std::string& key,
                const std::string& value) {
    ShowSettings& s = project.Settings;
    const bool on = value == "1";
    if (key == "W")
        golden.W = std::stoi(value);
    else if (key == "H")
        golden.H = std::stoi(value);
    else if (key == "Mode")
        golden.preview = value == "preview";
    else if (key == "Prefix")
        golden.prefix = value;
    else if (key == "Draws")
        for (int n : Numbers(value)) golden.draws.push_back(n);
    else if (key == "SlideOrder")
        project.SlideOrder = Numbers(value);
    else if (key == "OutputFile")
        s.OutputFile = value;
    else if (key == "Audio")
        s.audioMode = ParseAudio(value);
    else if (key == "MusicTitle")
        s.MusicTitle = value;
    else if (key == "AudioFile")
        s.AudioFile = value;
    else if (key == "AudioLoop")
        s.AudioLoop = on;
    else if (key == "Trim")
        s.Trim = on;
    else if (key == "Loop")
        s.Loop = on;
    else if (key == "NavBar")
        s.NavBar = on;
    else if (key == "Transparent")
        s.BackgroundTransparent = on;
    else if (key == "BackgroundColor")
        s.BackgroundColor = std::stoi(value, nullptr, 16);
    else if (key == "RandomOrder")
        s.RandomOrder = on;
    else if (key == "LinkTargetBlank")
        s.LinkTargetBlank = on;
    else if (key == "Autostart")
        s.Autostart = on;
    else
        ADD_FAILURE() << "unknown show key " << key;
}

void SetSlideKey(recImgItems& slide, const std::string& key, const std::string& value) {
    if (key == "FileName")
        slide.FileName = value;
    else if (key == "Title")
        slide.Title = value;
    else if (key == "Description")
        slide.Description = value;
    else if (key == "Link")
        slide.Link = value;
    else if (key == "EffectIn")
        slide.EffectIn = std::stoi(value);
    else if (key == "RandomEffect")
        slide.RandomEffect = std::stoi(value);
    else if (key == "Duration")
        slide.Duration = std::stoi(value);
    else if (key == "TextColor")
        slide.TextColor = std::stoi(value, nullptr, 16);
    else
        ADD_FAILURE() << "unknown slide key " << key;
}

GoldenCase ReadCase(const fs::path& file, Project& project) {
    GoldenCase golden;
    std::ifstream in(file, std::ios::binary);
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line == "[show]" || line == "[slide]") {
            section = line;
            if (section == "[slide]") project.ImgItems.emplace_back();
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            ADD_FAILURE() << "bad line " << line;
            continue;
        }
        const std::string key = line.substr(0, eq), value = Unescape(line.substr(eq + 1));
        if (section == "[slide]")
            SetSlideKey(project.ImgItems.back(), key, value);
        else
            SetShowKey(project, golden, key, value);
    }
    return golden;
}

class GoldenShowTest : public test::ShowFixture,
                       public ::testing::WithParamInterface<std::string> {};

TEST_P(GoldenShowTest, MatchesReviewedBytes) {
    const fs::path folder = fs::path(LUMETRA_GOLDEN_DIR) / GetParam();
    Project& project = app.project;
    project.ImgItems.clear();
    const GoldenCase golden = ReadCase(folder / "input.txt", project);
    test::QueuedRandom random(golden.draws);
    const std::string xml =
        BuildSlideshowXML(app, golden.W, golden.H, golden.prefix, golden.preview, random.source());
    EXPECT_EQ(random.left(), 0u) << "not every queued draw was used";
    EXPECT_TRUE(test::ParseXml(xml)) << "not well-formed";
    const fs::path expected = folder / "expected.xml";
    if (std::getenv("LUMETRA_UPDATE_GOLDEN")) {
        std::ofstream(expected, std::ios::binary) << xml;
        GTEST_SKIP() << "rewrote " << expected;
    }
    EXPECT_EQ(xml, ReadWholeFile(expected));
    EXPECT_TRUE(services.messages.empty());
}

std::vector<std::string> GoldenCases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(LUMETRA_GOLDEN_DIR))
        if (fs::exists(entry.path() / "input.txt")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenShowTest, ::testing::ValuesIn(GoldenCases()),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace lumetra
