// lumetra-make against unlucky and hostile surroundings: pictures it cannot
// read, names without a show name, sizes from a damaged project, links and
// special files in the show, a closed stderr, signals at any moment, a full
// disk during a rebuild and two builds of one show at once.

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>

#include "MakeFixture.h"
#include "app/FileOps.h"
#include "app/ProjectFile.h"
#include "generator/picture/Decoders.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using test::MakeResult;
using test::TestBitmap;

// An uncompressed bitmap of noise: its JPEG is about as large as the bitmap.
std::string NoiseBitmap(int width, int height, unsigned seed) {
    std::string bmp = TestBitmap(width, height, 0);
    std::mt19937 random(seed);
    for (std::size_t i = 54; i < bmp.size(); ++i) bmp[i] = char(random());
    return bmp;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class MakeHardening : public test::MakeFixture {
  protected:
    fs::path saveProject(const std::string& name) {
        app.project.Settings.OutputFile = (dir / "out/show.html").string();
        const fs::path path = dir / name;
        SaveProject(app, path.string());
        return path;
    }
    // The show's data folder (German texts: no settings file in the test home).
    fs::path data(const std::string& show = "show") const {
        return dir / "out" / (show + "_dateien");
    }
    // Runs a bash script (bash for its PIPESTATUS) and returns what it printed.
    MakeResult script(const std::string& body) {
        dir.write("script.sh", body + "\n");
        return shell("bash " + q(dir / "script.sh"));
    }
    bool temporaryFolderGone() const {
        return !fs::exists(instances()) || fs::is_empty(instances());
    }
};

TEST_F(MakeHardening, PicturesOfTypesThatCannotBeReadMakeTheShowIncomplete) {
    dir.write("pics/good.bmp", TestBitmap(16, 16, 10));
    dir.write("pics/photo.webp", "RIFF....WEBP");
    dir.write("pics/notes.txt", "not a picture");
    for (const std::string file : {"good.bmp", "photo.webp", "notes.txt", "photo.webp"})
        addSlide((dir / "pics" / file).string(), 2, 16, 16);
    addSlide("/dev/zero", 2, 16, 16);
    const MakeResult run = make(q(saveProject("show.lmx")));
    EXPECT_EQ(run.status, 4) << errors();
    EXPECT_EQ(run.out, "");
    // Each named once, however many slides show it; the good one not at all.
    for (const std::string name : {"photo.webp", "notes.txt", "/dev/zero"})
        EXPECT_EQ(Count(errors(), name + ": not a picture type"), 1u) << name << "\n" << errors();
    EXPECT_EQ(Count(errors(), "good.bmp: not"), 0u) << errors();
    // The show is written all the same, with empty files where pictures could not be read.
    EXPECT_TRUE(fs::exists(dir / "out/show.html"));
    EXPECT_GT(fs::file_size(data() / "good.jpg"), 100u);
    EXPECT_EQ(fs::file_size(data() / "photo.jpg"), 0u);
}

TEST_F(MakeHardening, OutputWithoutAShowNameTakesTheDefaultName) {
    dir.write("pics/a.bmp", TestBitmap(16, 16, 10));
    for (const std::string output : {"out/.html", "out/"}) {
        SCOPED_TRACE(output);
        fs::remove_all(dir / "out");
        const MakeResult run = make("--output " + q(dir / output) + " " + q(dir / "pics"));
        ASSERT_EQ(run.status, 0) << errors();
        const fs::path page = dir / "out/Meine-Diashow.html";
        EXPECT_EQ(run.out, page.string() + "\n");
        EXPECT_TRUE(fs::is_regular_file(page));
        EXPECT_TRUE(fs::exists(dir / "out/Meine-Diashow_dateien/a.jpg"));
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir / "out"))
            names.insert(entry.path().filename());
        EXPECT_EQ(names, (std::set<std::string>{"Meine-Diashow.html", "Meine-Diashow_dateien"}));
    }
}

TEST_F(MakeHardening, StoredSizesBelowOneAreMeasured) {
    dir.write("pics/p.bmp", TestBitmap(40, 30, 10));
    for (const int side : {0, -1, INT_MIN}) {
        SCOPED_TRACE(side);
        app.project.ImgItems.clear();
        addSlide((dir / "pics/p.bmp").string(), 2, side, side);
        const MakeResult run = make(q(saveProject("sizes.lmx")));
        ASSERT_EQ(run.status, 0) << errors();
        const std::string page = ReadWholeFile(dir / "out/show.html");
        EXPECT_EQ(page.find(":0px"), std::string::npos);
        EXPECT_EQ(page.find(":-"), std::string::npos);
        const std::string jpeg = ReadWholeFile(data() / "p.jpg");
        const PictureHeader h =
            ReadJpegHeader({reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size()});
        EXPECT_EQ(h.width, 40);
        EXPECT_EQ(h.height, 30);
    }
}

TEST_F(MakeHardening, AbsurdStoredSizesAreRefusedLikeAnOversizedPicture) {
    dir.write("pics/p.bmp", TestBitmap(40, 30, 10));
    for (int i = 0; i < 10; ++i) addSlide((dir / "pics/p.bmp").string(), 2, 65500, 65500);
    const MakeResult run = make(q(saveProject("absurd.lmx")));
    EXPECT_EQ(run.status, 4) << errors();
    // The picture's message, once per slide.
    EXPECT_EQ(Count(errors(), "\"" + (dir / "pics/p.bmp").string() + "\""), 10u) << errors();
    std::uintmax_t written = 0;
    for (const auto& entry : fs::directory_iterator(data())) written += entry.file_size();
    EXPECT_LT(written, 1u << 20);
}

TEST_F(MakeHardening, FilesInTheShowAreReplacedNeverWrittenThrough) {
    dir.write("pics/p0.bmp", TestBitmap(16, 16, 10));
    dir.write("notes.txt", "my notes");
    dir.write("other.html", "another page");
    fs::create_directories(data());
    fs::create_symlink(dir / "notes.txt", data() / "p0.jpg");
    fs::create_symlink(dir / "other.html", dir / "out/show.html");
    ASSERT_EQ(make("--output " + q(dir / "out/show.html") + " " + q(dir / "pics")).status, 0)
        << errors();
    EXPECT_EQ(dir.read("notes.txt"), "my notes");
    EXPECT_EQ(dir.read("other.html"), "another page");
    EXPECT_FALSE(fs::is_symlink(data() / "p0.jpg"));
    EXPECT_FALSE(fs::is_symlink(dir / "out/show.html"));
    EXPECT_GT(fs::file_size(data() / "p0.jpg"), 100u);
}

TEST_F(MakeHardening, ADataFolderThatIsALinkIsFollowed) {
    dir.write("pics/p0.bmp", TestBitmap(16, 16, 10));
    fs::create_directories(dir / "elsewhere");
    fs::create_directories(dir / "out");
    fs::create_directory_symlink(dir / "elsewhere", data());
    ASSERT_EQ(make("--output " + q(dir / "out/show.html") + " " + q(dir / "pics")).status, 0)
        << errors();
    EXPECT_TRUE(fs::is_symlink(data()));
    EXPECT_GT(fs::file_size(dir / "elsewhere/p0.jpg"), 100u);
    EXPECT_TRUE(fs::exists(dir / "elsewhere/show.js"));
}

TEST_F(MakeHardening, SavingAProjectOntoASpecialFileIsRefused) {
    dir.write("pics/p0.bmp", TestBitmap(16, 16, 10));
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    const MakeResult run = make("--save-project " + q(dir / "fifo") + " --output " +
                                q(dir / "out/show.html") + " " + q(dir / "pics"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(errors().find("is not a regular file"), std::string::npos) << errors();
    struct stat st {};
    ASSERT_EQ(lstat((dir / "fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(fs::exists(dir / "out"));
}

TEST_F(MakeHardening, AClosedStderrDoesNotStopTheBuild) {
    for (int i = 0; i < 4; ++i)
        dir.write("pics/p" + std::to_string(i) + ".bmp", TestBitmap(16, 16, 10));
    // head takes the first byte of the progress and goes.
    const MakeResult run =
        script(program() + "--output " + q(dir / "out/show.html") + " " + q(dir / "pics") +
               " 2>&1 >/dev/null | head -c 1 >/dev/null; "
               "echo ${PIPESTATUS[0]}");
    EXPECT_EQ(run.out, "0\n");
    EXPECT_TRUE(fs::exists(data() / "p3.jpg"));
    EXPECT_TRUE(temporaryFolderGone());
}

// A signal at any moment of a build ends it with 128 + the signal, without an
// error message of its own, and removes the temporary folder; a run the
// signal comes too late for is complete.
TEST_F(MakeHardening, SignalsAtAnyMomentEndTheBuildCleanly) {
    dir.write("pics/p0.jpg", test::FlatJpeg(2400, 1800));
    for (int i = 1; i < 16; ++i)
        fs::create_hard_link(dir / "pics/p0.jpg", dir / ("pics/p" + std::to_string(i) + ".jpg"));
    const std::string build = program() + "--output " + q(dir / "out/show.html") + " " +
                              q(dir / "pics") + " >" + q(dir / "stdout.txt") + " 2>" +
                              q(dir / "stderr.txt");
    // The moments are spread over what one undisturbed build takes here.
    const MakeResult timed = script("s=$(date +%s%N); " + build + "; e=$(date +%s%N); " +
                                    "echo $(( (e - s) / 1000000 ))");
    const double seconds = std::max(0.05, std::stod(timed.out) / 1000.0);
    const struct {
        const char* name;
        int number;
    } signals[] = {{"TERM", 15}, {"INT", 2}, {"HUP", 1}};
    constexpr int kSteps = 18;
    int stopped = 0;
    for (int step = 0; step < kSteps; ++step) {
        const auto& sig = signals[step % 3];
        const std::string delay = std::to_string(seconds * step / kSteps);
        SCOPED_TRACE(std::string(sig.name) + " after " + delay + " s of " +
                     std::to_string(seconds));
        // A signal may come before the shell has even opened these.
        for (const char* file : {"out", "stdout.txt", "stderr.txt"}) fs::remove_all(dir / file);
        const MakeResult run = script(build + " & pid=$!; sleep " + delay + "; kill -" + sig.name +
                                      " $pid 2>/dev/null; wait $pid; echo $?");
        const std::string printed = dir.read("stdout.txt");
        if (run.out == "0\n") {
            EXPECT_EQ(printed, (dir / "out/show.html").string() + "\n");
            EXPECT_TRUE(fs::exists(data() / "p15.jpg"));
        } else {
            ++stopped;
            EXPECT_EQ(run.out, std::to_string(128 + sig.number) + "\n");
            EXPECT_EQ(printed, "");
            for (const char* word : {"error", "warning", "Fehler"})
                EXPECT_EQ(errors().find(word), std::string::npos) << errors();
        }
        EXPECT_TRUE(temporaryFolderGone());
    }
    EXPECT_GE(stopped, kSteps / 2);  // most signals came while the build ran
}

// A rebuild onto a disk that fills up fails, and every file of the show is
// still a whole file: the old one or the new one, never a part of one.
TEST_F(MakeHardening, AFullDiskDuringARebuildLeavesEveryFileWhole) {
    if (getuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    for (int i = 0; i < 3; ++i)
        dir.write("small/p" + std::to_string(i) + ".bmp", TestBitmap(64, 48, 10));
    for (int i = 0; i < 3; ++i)
        dir.write("large/p" + std::to_string(i) + ".bmp", NoiseBitmap(300, 200, i + 1));
    fs::create_directories(dir / "out");
    const std::string build = program() + "--output " + q(dir / "out/show.html") + " ";
    // Both builds in one private mount, so the small disk goes with the script.
    dir.write("rebuild.sh", "mount -t tmpfs -o size=400k tmpfs " + q(dir / "out") +
                                " || exit 90\n" + build + q(dir / "small") +
                                " >/dev/null 2>&1 || exit 91\n" + "cp -r " + q(data()) + " " +
                                q(dir / "old") + "\n" + build + q(dir / "large") +
                                " >/dev/null 2>" + q(dir / "stderr.txt") + "\ns=$?\ncp -r " +
                                q(data()) + " " + q(dir / "new") + "\nexit $s\n");
    const MakeResult run = script("unshare -m bash " + q(dir / "rebuild.sh") + "; echo $?");
    if (run.out == "90\n" || run.out.empty()) GTEST_SKIP() << "no small file system here";
    ASSERT_NE(run.out, "91\n") << "the first build did not fit";
    EXPECT_EQ(run.out, "4\n") << errors();
    int kept = 0;
    for (int i = 0; i < 3; ++i) {
        const std::string name = "p" + std::to_string(i) + ".jpg";
        const std::string now = dir.read(dir / "new" / name);
        if (now == dir.read(dir / "old" / name)) {
            ++kept;
            continue;
        }
        // A new file is complete: it ends with the end-of-picture marker.
        ASSERT_GE(now.size(), 2u) << name;
        EXPECT_EQ(now.substr(now.size() - 2), "\xFF\xD9") << name;
    }
    EXPECT_GT(kept, 0);
}

// Two builds of one show started together, with different pictures of the
// same names: the second waits for the first, and the show that results is
// one of the two, whole.
TEST_F(MakeHardening, TwoBuildsOfOneShowDoNotMix) {
    for (int i = 0; i < 8; ++i) {
        dir.write("dark/p" + std::to_string(i) + ".bmp", TestBitmap(800, 600, 20));
        dir.write("light/p" + std::to_string(i) + ".bmp", TestBitmap(800, 600, 220));
    }
    const std::string build = program() + "--output " + q(dir / "out/show.html") + " ";
    const MakeResult run =
        script(build + "--seed 1 " + q(dir / "dark") + " >/dev/null 2>" + q(dir / "e1.txt") +
               " & " + build + "--seed 2 " + q(dir / "light") + " >/dev/null 2>" +
               q(dir / "e2.txt") + " & wait %1; a=$?; wait %2; echo $a $?");
    ASSERT_EQ(run.out, "0 0\n") << dir.read("e1.txt") << dir.read("e2.txt");
    // Every picture from one run: decode each and compare the first pixel.
    std::set<int> shades;
    for (int i = 0; i < 8; ++i) {
        const std::string jpeg = ReadWholeFile(data() / ("p" + std::to_string(i) + ".jpg"));
        const DecodedPicture picture =
            DecodeJpeg({reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size()});
        shades.insert(picture.bitmap.pixels[2] / 100);
    }
    EXPECT_EQ(shades.size(), 1u);
    // And the page carries the description of the data folder.
    const std::string xml = ReadWholeFile(data() / "show.xml");
    EXPECT_NE(ReadWholeFile(dir / "out/show.html").find(xml.substr(3)), std::string::npos);
}

// While another build holds the show, a build waits for it and says so.
TEST_F(MakeHardening, ABuildWaitsWhileAnotherHoldsTheShow) {
    dir.write("pics/p0.bmp", TestBitmap(16, 16, 10));
    fs::create_directories(data());
    const MakeResult run =
        script("flock " + q(data()) + " sleep 1 & sleep 0.2; s=$(date +%s%N); " + program() +
               "--output " + q(dir / "out/show.html") + " " + q(dir / "pics") + " >/dev/null 2>" +
               q(dir / "stderr.txt") + "; r=$?; e=$(date +%s%N); wait; " +
               "echo $r $(( (e - s) / 1000000 ))");
    int status = -1, milliseconds = 0;
    ASSERT_EQ(std::sscanf(run.out.c_str(), "%d %d", &status, &milliseconds), 2) << run.out;
    EXPECT_EQ(status, 0) << errors();
    EXPECT_GE(milliseconds, 500);
    EXPECT_NE(errors().find("waiting for another build of this show"), std::string::npos)
        << errors();
    EXPECT_TRUE(fs::exists(data() / "p0.jpg"));
}

}  // namespace
}  // namespace lumetra
