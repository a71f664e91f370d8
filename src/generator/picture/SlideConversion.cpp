// Converting the slides' pictures into the show's JPEG files. Decoding and
// resampling run on worker threads; everything the user sees (messages,
// progress) and every error happens on the caller's thread in slide order.

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "app/Application.h"
#include "app/Services.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/ImagePreparation.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"

namespace lumetra {

namespace {

struct Job {
    std::string source;
    std::int32_t width = 1, height = 1;
    std::filesystem::path output;
    bool write = true;  // false when a later slide writes the same file
};

Job MakeJob(Application& app, std::size_t slide, const std::filesystem::path& folder,
            const std::string& outputName) {
    const Project& project = app.project;
    return {project.ImgItems.at(slide).FileName, TargetWidth(project, slide),
            TargetHeight(project, slide), folder / outputName};
}

// Replaces the file with `bytes`; any failure is a std::system_error naming the file.
void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::system_error(errno, std::generic_category(), path.string());
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int writeErrno = errno;
    if (std::fclose(f) != 0 || !written)
        throw std::system_error(written ? errno : writeErrno, std::generic_category(),
                                path.string());
}

// Converts one job; false when the picture could not be decoded (an empty
// file then stands in). Unsupported types are not reported, like LoadPicture.
bool Run(const Job& job) {
    std::vector<std::uint8_t> jpeg;
    bool decoded = true;
    if (FormatOfPath(job.source) == PictureFormat::Unsupported) {
        if (job.write) WriteFile(job.output, {});
        return true;
    }
    try {
        jpeg = ConvertToJpeg(job.source, job.width, job.height);
    } catch (const PictureError&) {
        decoded = false;
    } catch (const std::bad_alloc&) {
        decoded = false;
    }
    if (job.write) WriteFile(job.output, decoded ? jpeg : std::vector<std::uint8_t>{});
    return decoded;
}

void ReportUnreadable(Application& app, const std::string& source) {
    app.Message(lang::messages::kImgErr, mb::kError, {source});
}

// The cores this process may run on (taskset and container limits count).
unsigned WorkerCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return unsigned(CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
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

std::filesystem::path ConvertSlideImage(Application& app, std::size_t slide,
                                        const std::filesystem::path& folder,
                                        const std::string& outputName) {
    const Job job = MakeJob(app, slide, folder, outputName);
    if (!Run(job)) ReportUnreadable(app, job.source);
    return job.output;
}

std::vector<std::filesystem::path> ConvertSlideImages(
    Application& app, const std::filesystem::path& folder,
    const std::vector<std::string>& outputNames,
    const std::function<void(std::size_t done)>& progress) {
    const std::size_t count = std::min(app.project.ImgItems.size(), outputNames.size());
    std::vector<Job> jobs;
    jobs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) jobs.push_back(MakeJob(app, i, folder, outputNames[i]));
    // The file of a name used twice must end up with the later slide's picture,
    // whichever thread finishes first, so only the last user writes it.
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = i + 1; j < count && jobs[i].write; ++j)
            if (jobs[j].output.lexically_normal() == jobs[i].output.lexically_normal())
                jobs[i].write = false;

    std::vector<Outcome> outcomes(count);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    auto worker = [&] {
        for (std::size_t i; !stop && (i = next++) < count;) {
            Outcome outcome;
            try {
                outcome.decoded = Run(jobs[i]);
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
    try {
        for (std::size_t i = 0; i < count; ++i) {
            Outcome outcome;
            {
                std::unique_lock lock(mutex);
                finished.wait(lock, [&] { return outcomes[i].done; });
                outcome = outcomes[i];
            }
            if (outcome.error) std::rethrow_exception(outcome.error);
            if (!outcome.decoded) ReportUnreadable(app, jobs[i].source);
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
