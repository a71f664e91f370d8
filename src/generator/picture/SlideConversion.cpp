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
    const std::size_t count = std::min(project.ImgItems.size(), outputNames.size());
    std::vector<Job> jobs;
    jobs.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        jobs.push_back(MakeJob(project, i, folder, outputNames[i]));
    LeaveEachFileToItsLastSlide(jobs);

    MemoryBudget ownBudget(kConversionBudgetBytes);
    MemoryBudget* shared = budget ? budget : &ownBudget;
    std::vector<Outcome> outcomes(count);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    auto worker = [&] {
        for (std::size_t i; !stop && StopSignal() == 0 && (i = next++) < count;) {
            Outcome outcome;
            try {
                outcome.decoded = Run(jobs[i], shared);
            } catch (...) {
                outcome.error = std::current_exception();
            }
            outcome.done = true;
            std::lock_guard lock(mutex);
            outcomes[i] = std::move(outcome);
            finished.notify_all();
        }
    };
    const unsigned cores = WorkerCount();
    std::vector<std::jthread> workers;
    for (unsigned t = 0; t < std::min<std::size_t>(cores, count); ++t) workers.emplace_back(worker);

    std::vector<std::filesystem::path> paths;
    paths.reserve(count);
    try {
        for (std::size_t i = 0; i < count; ++i) {
            Outcome outcome;
            {
                std::unique_lock lock(mutex);
                // Woken now and then to see whether a signal asked to stop.
                while (!finished.wait_for(lock, std::chrono::milliseconds(50),
                                          [&] { return outcomes[i].done; }))
                    ThrowIfStopRequested();
                outcome = std::move(outcomes[i]);
            }
            if (outcome.error) std::rethrow_exception(outcome.error);
            if (!outcome.decoded) ReportUnreadable(language, jobs[i].source);
            paths.push_back(jobs[i].output);
            if (progress) progress(i + 1);
        }
    } catch (...) {
        stop = true;
        throw;  // the workers finish their current slide and are joined here
    }
    return paths;
}

}  // namespace lumetra
