// Converting the slides' pictures into the show's JPEG files. Decoding and
// resampling run on worker threads; everything the user sees (messages,
// progress) and every error happens on the caller's thread in slide order.

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <unordered_map>

#include "app/Project.h"
#include "app/ReplaceFile.h"
#include "app/Services.h"
#include "app/StopRequest.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/ImagePreparation.h"
#include "generator/picture/MemoryBudget.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"
#include "lang/Messages.h"

namespace lumetra {

namespace {

struct Job {
    std::string source;
    std::int32_t width = 1, height = 1;
    std::filesystem::path output;
    bool write = true;  // false when a later slide writes the same file
};

Job MakeJob(const Project& project, std::size_t slide, const std::filesystem::path& folder,
            const std::string& outputName) {
    return {project.ImgItems.at(slide).FileName, TargetWidth(project, slide),
            TargetHeight(project, slide), folder / outputName};
}

// Converts one job; false when the picture could not be decoded (an empty
// file then stands in). Unsupported types are not reported, like LoadPicture.
bool Run(const Job& job, MemoryBudget* budget) {
    std::vector<std::uint8_t> jpeg;
    bool decoded = true;
    if (FormatOfPath(job.source) != PictureFormat::Unsupported) {
        try {
            jpeg = ConvertToJpeg(job.source, job.width, job.height, budget);
        } catch (const PictureError&) {
            decoded = false;
        } catch (const std::bad_alloc&) {
            decoded = false;
        }
    }
    if (job.write)
        ReplaceFileWith(job.output, std::string_view(reinterpret_cast<const char*>(jpeg.data()),
                                                     decoded ? jpeg.size() : 0));
    return decoded;
}

void ReportUnreadable(Language& language, const std::string& source) {
    ShowMessage(language, lang::messages::kImgErr, mb::kError, {source});
}

// The cores this process may run on (taskset and container limits count).
unsigned WorkerCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return unsigned(CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

// The file of a name used twice must end up with the later slide's picture,
// whichever thread finishes first, so only the last user writes it.
void LeaveEachFileToItsLastSlide(std::vector<Job>& jobs) {
    std::unordered_map<std::string, std::size_t> last;
    last.reserve(jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        auto [it, inserted] = last.try_emplace(jobs[i].output.lexically_normal().string(), i);
        if (!inserted) {
            jobs[it->second].write = false;
            it->second = i;
        }
    }
}

// The order the workers take the slides in: first, then all others in slide order.
struct DispatchOrder {
    std::size_t first;
    std::size_t operator()(std::size_t k) const {
        if (k == 0) return first;
        return k <= first ? k - 1 : k;
    }
};

struct Outcome {
    bool done = false;
    bool decoded = true;
    std::exception_ptr error;
};

}  // namespace

std::string PlainOutputName(const std::string& sourcePath) {
    return std::filesystem::path(sourcePath).filename().replace_extension(".jpg").string();
}

std::filesystem::path ConvertSlideImage(const Project& project, Language& language,
                                        std::size_t slide, const std::filesystem::path& folder,
                                        const std::string& outputName) {
    const Job job = MakeJob(project, slide, folder, outputName);
    if (!Run(job, nullptr)) ReportUnreadable(language, job.source);
    return job.output;
}

std::vector<std::filesystem::path> ConvertSlideImages(
    const Project& project, Language& language, const std::filesystem::path& folder,
    const std::vector<std::string>& outputNames,
    const std::function<void(std::size_t done)>& progress, MemoryBudget* budget) {
    ConversionHooks hooks;
    hooks.progress = progress;
    return ConvertSlideImagesWith(project, language, folder, outputNames, hooks, budget);
}

std::vector<std::filesystem::path> ConvertSlideImagesWith(
    const Project& project, Language& language, const std::filesystem::path& folder,
    const std::vector<std::string>& outputNames, const ConversionHooks& hooks,
    MemoryBudget* budget) {
    const std::size_t count = std::min(project.ImgItems.size(), outputNames.size());
    std::vector<Job> jobs;
    jobs.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        jobs.push_back(MakeJob(project, i, folder, outputNames[i]));
    LeaveEachFileToItsLastSlide(jobs);
    const DispatchOrder order{std::min(hooks.first, count ? count - 1 : 0)};

    MemoryBudget ownBudget(kConversionBudgetBytes);
    MemoryBudget* shared = budget ? budget : &ownBudget;
    std::vector<Outcome> outcomes(count);
    std::vector<std::size_t> written;  // files finished since the caller last looked
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    auto worker = [&] {
        for (std::size_t k; !stop && StopSignal() == 0 && (k = next++) < count;) {
            const std::size_t i = order(k);
            Outcome outcome;
            try {
                outcome.decoded = Run(jobs[i], shared);
            } catch (...) {
                outcome.error = std::current_exception();
            }
            outcome.done = true;
            {
                std::lock_guard lock(mutex);
                if (!outcome.error && jobs[i].write) written.push_back(i);
                outcomes[i] = std::move(outcome);
                finished.notify_all();
            }
            if (hooks.wake) hooks.wake();
        }
    };
    const unsigned cores = WorkerCount();
    std::vector<std::jthread> workers;
    for (unsigned t = 0; t < std::min<std::size_t>(cores, count); ++t) workers.emplace_back(worker);

    // Hands the finished files to the caller, outside the lock.
    auto announce = [&](std::vector<std::size_t>& slides) {
        if (hooks.written)
            for (std::size_t slide : slides) hooks.written(slide);
        slides.clear();
    };
    const auto pause = std::chrono::milliseconds(hooks.waiting ? kConversionWaitingMs : 50);
    const bool blockingWait = hooks.waiting && hooks.wake;
    std::vector<std::filesystem::path> paths;
    paths.reserve(count);
    std::vector<std::size_t> announced;
    try {
        for (std::size_t i = 0; i < count; ++i) {
            Outcome outcome;
            for (;;) {
                {
                    std::unique_lock lock(mutex);
                    // Woken now and then to see whether a signal asked to stop;
                    // a waiting that blocks by itself is woken by the workers.
                    if (!blockingWait)
                        finished.wait_for(lock, pause, [&] {
                            return outcomes[i].done || (hooks.written && !written.empty());
                        });
                    announced.swap(written);
                    if (outcomes[i].done) outcome = std::move(outcomes[i]);
                }
                announce(announced);
                if (outcome.done) break;
                ThrowIfStopRequested();
                if (hooks.waiting) hooks.waiting();
            }
            if (outcome.error) std::rethrow_exception(outcome.error);
            if (!outcome.decoded) ReportUnreadable(language, jobs[i].source);
            paths.push_back(jobs[i].output);
            if (hooks.progress) hooks.progress(i + 1);
        }
    } catch (...) {
        stop = true;
        throw;  // the workers finish their current slide and are joined here
    }
    return paths;
}

}  // namespace lumetra
