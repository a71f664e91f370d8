// The conversion's workers share one memory budget: pictures near the size
// limit are decoded one after the other, small ones side by side.

#include "generator/picture/MemoryBudget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "PictureFixtures.h"
#include "app/Project.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/ImagePreparation.h"
#include "support/AppFixture.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMETRA_COUNTS_ALLOCATIONS 1
#include <sanitizer/allocator_interface.h>
#endif
#endif

namespace lumetra {
namespace {

using namespace std::chrono_literals;

// True when the future is still waiting after a while.
bool StillWaiting(std::future<void>& f) {
    return f.wait_for(100ms) == std::future_status::timeout;
}

TEST(MemoryBudget, WaitsUntilARequestFits) {
    MemoryBudget budget(100);
    struct {
        std::uint64_t held, asked;
        bool waits;
    } cases[] = {
        {60, 40, false},  // exactly what is left
        {60, 41, true},   // a byte too many
        {0, 100, false},  // all of it
        {1, 500, true},   // more than the whole: waits to be alone ...
        {0, 500, false},  // ... and then takes it all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.held) + " held, " + std::to_string(c.asked) + " asked");
        auto held = budget.reserve(c.held);
        auto asking = std::async(std::launch::async, [&] { auto r = budget.reserve(c.asked); });
        EXPECT_EQ(StillWaiting(asking), c.waits);
        held = MemoryBudget::Reservation();  // released
        asking.get();
    }
    EXPECT_EQ(budget.peak(), 100u);
}

TEST(MemoryBudget, ReservationsMoveAndReleaseOnce) {
    MemoryBudget budget(10);
    {
        MemoryBudget::Reservation a = budget.reserve(7);
        MemoryBudget::Reservation b = std::move(a);
        EXPECT_EQ(b.bytes(), 7u);
        EXPECT_EQ(a.bytes(), 0u);
        a = budget.reserve(3);
    }
    auto all = budget.reserve(10);  // would wait forever if anything had leaked
    EXPECT_EQ(all.bytes(), 10u);
}

#ifdef LUMETRA_COUNTS_ALLOCATIONS
// Live heap bytes while counting is on, and their peak.
std::atomic<bool> gCounting{false};
std::atomic<std::int64_t> gLive{0}, gPeak{0};

void CountMalloc(const volatile void*, std::size_t size) {
    if (!gCounting) return;
    const std::int64_t live = gLive += std::int64_t(size);
    for (std::int64_t peak = gPeak; live > peak && !gPeak.compare_exchange_weak(peak, live);) {
    }
}
void CountFree(const volatile void* p) {
    if (gCounting && p) gLive -= std::int64_t(__sanitizer_get_allocated_size(const_cast<void*>(p)));
}

// Writes an RLE8 bitmap of width x height that ends at once: a few dozen
// bytes, every pixel left white by the decoder.
void WriteEmptyRleBitmap(const std::filesystem::path& path, std::uint32_t width,
                         std::uint32_t height) {
    test::Bytes b = {'B', 'M'};
    const auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
    };
    const std::uint32_t offset = 14 + 40 + 4;
    put(offset + 2, 4), put(0, 4), put(offset, 4);
    put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(8, 2), put(1, 4), put(2, 4);
    put(2835, 4), put(2835, 4), put(1, 4), put(0, 4);
    put(0x00FFFFFF, 4);              // one palette entry
    b.push_back(0), b.push_back(1);  // end of bitmap
    test::WriteBytes(path, b);
}

class ConversionMemory : public test::AppFixture {
  protected:
    void SetUp() override {
        useLanguage(test::kPictureLanguage);
        static const bool installed =
            __sanitizer_install_malloc_and_free_hooks(CountMalloc, CountFree) != 0;
        if (!installed) GTEST_SKIP() << "allocation hooks are taken";
        app.project.Settings.FitImages = true;
        app.project.Settings.FitMode = 2;
        app.project.Settings.FitWidth = app.project.Settings.FitHeight = "64";
    }
    void addSlide(const std::filesystem::path& path) {
        recImgItems slide;
        slide.FileName = path.string();
        slide.ImgWidth = slide.ImgHeight = kSide;
        app.project.ImgItems.push_back(slide);
    }
    // The peak of live heap bytes over converting every slide.
    std::int64_t peakOfConversion() {
        std::filesystem::create_directories(dir / "out");
        std::vector<std::string> names;
        for (std::size_t i = 0; i < app.project.ImgItems.size(); ++i)
            names.push_back(std::to_string(i) + ".jpg");
        gLive = 0, gPeak = 0, gCounting = true;
        MemoryBudget budget(kBudget);
        const auto paths =
            ConvertSlideImages(app.project, app.language, dir / "out", names, {}, &budget);
        gCounting = false;
        for (const auto& p : paths) EXPECT_GT(std::filesystem::file_size(p), 100u) << p;
        EXPECT_TRUE(services.messages.empty());
        return gPeak;
    }
    // Near-limit pictures at a fifth of the scale, so the run stays quick
    // under the sanitizer: two bitmaps fit the budget together, a TIFF
    // (4 bytes a pixel while decoding) has to wait for one of them.
    static constexpr int kSide = 6000;
    static constexpr std::uint64_t kBudget = std::uint64_t(250) << 20;
};

TEST_F(ConversionMemory, LargePicturesStayWithinOneBudgetTogether) {
    for (const char* name : {"a.bmp", "b.bmp"}) {
        WriteEmptyRleBitmap(dir / name, kSide, kSide);
        addSlide(dir / name);
    }
    for (const char* name : {"c.tif", "d.tif"}) {
        test::WriteFlatTiff(dir / name, kSide, kSide);
        addSlide(dir / name);
    }
    const std::int64_t peak = peakOfConversion();
    EXPECT_LE(peak, std::int64_t(kBudget)) << peak / (1 << 20) << " MiB";
}
#endif

}  // namespace
}  // namespace lumetra
