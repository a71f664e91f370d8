// Benchmark of the picture pipeline: converts every picture of a folder to
// fit a box (the show build's hot path), or measures their sizes, or decodes
// them for the preview area, and prints time, throughput and peak memory.
//
//   picture_bench convert <folder> [width height]   (cores: as many as the process may use)
//   picture_bench sizes <folder>
//   picture_bench thumbnails <folder>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "generator/picture/ImagePreparation.h"
#include "generator/picture/Picture.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> Pictures(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string ext = e.path().extension().string();
        if (ext == ".jpg" || ext == ".jpeg" || ext == ".png") files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// CPU seconds of the whole process, the fairer measure on a busy machine.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

int Convert(const std::vector<std::string>& files, int width, int height) {
    const fs::path work = fs::temp_directory_path() / ("picture-bench-" + std::to_string(getpid()));
    fs::create_directories(work / "out");
    lumetra::ConsoleServices services(std::cerr);
    lumetra::Application app(services, work, work);
    app.settings.setSettingsFile(work / "Settings.ini");
    double megapixels = 0;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < files.size(); ++i) {
        lumetra::recImgItems item;
        item.FileName = files[i];
        lumetra::GetImageSize(files[i], item.ImgHeight, item.ImgWidth);
        megapixels += double(item.ImgWidth) * item.ImgHeight / 1e6;
        app.project.ImgItems.push_back(item);
        names.push_back(std::to_string(i) + ".jpg");
    }
    auto& s = app.project.Settings;
    s.FitImages = true;
    s.FitMode = 2;
    s.FitWidth = std::to_string(width);
    s.FitHeight = std::to_string(height);

    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    lumetra::ConvertSlideImages(app.project, app.language, work / "out", names, nullptr);
    const double seconds = Seconds(start);
    std::printf(
        "files=%zu megapixels=%.1f seconds=%.2f cpu_seconds=%.2f mp_per_s=%.1f peak_mb=%.0f\n",
        files.size(), megapixels, seconds, CpuSeconds() - cpuBefore, megapixels / seconds,
        PeakMegabytes());
    std::fflush(stdout);
    fs::remove_all(work);
    return 0;
}

int Sizes(const std::vector<std::string>& files) {
    const auto start = Clock::now();
    const double cpu = CpuSeconds();
    for (const auto& f : files) {
        int h = 0, w = 0;
        lumetra::GetImageSize(f, h, w);
    }
    std::printf("files=%zu seconds=%.3f cpu_seconds=%.3f\n", files.size(), Seconds(start),
                CpuSeconds() - cpu);
    return 0;
}

int Thumbnails(const std::vector<std::string>& files) {
    std::vector<double> ms;
    for (const auto& f : files) {
        lumetra::Bitmap area;
        const double start = CpuSeconds();
        lumetra::LoadPicture(nullptr, area, f, true, 201, 196);
        ms.push_back((CpuSeconds() - start) * 1000);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("files=%zu median_cpu_ms=%.1f max_cpu_ms=%.1f\n", ms.size(), ms[ms.size() / 2],
                ms.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s convert|sizes|thumbnails <folder> [width height]\n",
                     argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const auto files = Pictures(argv[2]);
    if (files.empty()) {
        std::fprintf(stderr, "no pictures in %s\n", argv[2]);
        return 1;
    }
    if (mode == "convert")
        return Convert(files, argc > 4 ? std::stoi(argv[3]) : 1024,
                       argc > 4 ? std::stoi(argv[4]) : 768);
    if (mode == "sizes") return Sizes(files);
    if (mode == "thumbnails") return Thumbnails(files);
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
