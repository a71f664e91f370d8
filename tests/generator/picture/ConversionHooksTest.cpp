// What the caller hears while the workers convert: each written file at
// once, the wake-ups that end a waiting that blocks, the slide a show plays
// first taken first, and a hook that throws ending the conversion.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "PictureFixtures.h"
#include "app/Application.h"
#include "generator/picture/ImagePreparation.h"
#include "support/AppFixture.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class ConversionHooksTest : public test::AppFixture {
  protected:
    std::vector<std::string> names;

    void SetUp() override {
        useLanguage(test::kPictureLanguage);
        fs::create_directories(dir / "out");
    }

    void addSlides(int count, int side) {
        for (int i = 0; i < count; ++i) {
            const fs::path p = dir / "src" / ("p" + std::to_string(i) + ".png");
            fs::create_directories(p.parent_path());
            test::WriteBytes(p, test::MakePngRgb(test::PatternBitmap(side, side, i + 1)));
            recImgItems item;
            item.FileName = p.string();
            item.ImgWidth = item.ImgHeight = side;
            app.project.ImgItems.push_back(item);
            names.push_back("p" + std::to_string(i) + ".jpg");
        }
    }
};

TEST_F(ConversionHooksTest, EachFileIsAnnouncedOnceAndWholeBeforeItsProgress) {
    addSlides(12, 160);
    std::vector<std::size_t> written;
    ConversionHooks hooks;
    hooks.first = 11;
    hooks.written = [&](std::size_t slide) {
        // Announced files are complete JPEG files already.
        const test::Bytes bytes = test::ReadBytes(dir / "out" / names[slide]);
        ASSERT_GT(bytes.size(), 2u);
        EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
        EXPECT_EQ(bytes.back(), 0xD9);
        written.push_back(slide);
    };
    hooks.progress = [&](std::size_t done) {
        for (std::size_t s = 0; s < done; ++s)
            EXPECT_NE(std::find(written.begin(), written.end(), s), written.end()) << s;
    };
    ConvertSlideImagesWith(app.project, app.language, dir / "out", names, hooks);
    std::vector<std::size_t> sorted = written;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::size_t> all(12);
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    EXPECT_EQ(sorted, all);
    // The last slide went first, so it is among the first few done.
    const auto position = std::find(written.begin(), written.end(), 11u) - written.begin();
    EXPECT_LT(position, 6) << "slide 11 was done as number " << position + 1;
}

// A waiting that blocks (an event loop) is ended by the workers' wake-ups:
// one per slide, and the conversion never stalls.
TEST_F(ConversionHooksTest, AWaitingThatBlocksIsWokenByTheWorkers) {
    addSlides(8, 300);
    std::mutex mutex;
    std::condition_variable changed;
    int wakes = 0, seen = 0;
    bool stalled = false;
    ConversionHooks hooks;
    hooks.wake = [&] {
        std::lock_guard lock(mutex);
        ++wakes;
        changed.notify_all();
    };
    hooks.waiting = [&] {
        std::unique_lock lock(mutex);
        if (!changed.wait_for(lock, std::chrono::seconds(20), [&] { return wakes > seen; }))
            stalled = true;
        seen = wakes;
    };
    const auto paths = ConvertSlideImagesWith(app.project, app.language, dir / "out", names, hooks);
    EXPECT_EQ(paths.size(), 8u);
    EXPECT_FALSE(stalled);
    EXPECT_EQ(wakes, 8);
}

TEST_F(ConversionHooksTest, AThrowingHookStopsTheWork) {
    // More slides than the workers can have in hand when the hook throws.
    const int count = int(std::max(12u, 3 * std::thread::hardware_concurrency() + 4));
    addSlides(count, 500);
    std::size_t progressed = 0;
    ConversionHooks hooks;
    hooks.progress = [&](std::size_t done) {
        progressed = done;
        if (done == 2) throw std::runtime_error("closing");
    };
    EXPECT_THROW(ConvertSlideImagesWith(app.project, app.language, dir / "out", names, hooks),
                 std::runtime_error);
    EXPECT_EQ(progressed, 2u);
    // The workers stopped after their current slides: not all files were written.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir / "out")) files += entry.is_regular_file();
    EXPECT_LT(files, count);
}

}  // namespace
}  // namespace lumetra
