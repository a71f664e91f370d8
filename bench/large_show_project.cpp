// Writes a project of many slides that all show one small picture, the
// worst case for naming and copying slides (every slide needs a numbered
// name of its own):
//
//   large_show_project <folder> <slides>
//
// It leaves <folder>/picture.bmp (64 x 48) and <folder>/show.lmx, whose show
// page is <folder>/out/show.html.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/ProjectFile.h"

namespace fs = std::filesystem;

namespace {

void WriteBitmap(const fs::path& path, int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    const auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp += char(v >> (8 * i));
    };
    const auto u16 = [&](std::uint16_t v) { bmp += char(v), bmp += char(v >> 8); };
    u32(54 + row * height), u32(0), u32(54), u32(40), u32(width), u32(height), u16(1), u16(24);
    u32(0), u32(row * height), u32(2835), u32(2835), u32(0), u32(0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < row; ++x) bmp += char(x < width * 3 ? (x * 7 + y * 3) & 0xFF : 0);
    std::ofstream(path, std::ios::binary) << bmp;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: large_show_project <folder> <slides>\n");
        return 1;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const long slides = std::stol(argv[2]);
    fs::create_directories(folder);
    WriteBitmap(folder / "picture.bmp", 64, 48);
    lumetra::ConsoleServices services;
    lumetra::Application app(services);
    lumetra::NewProject(app);
    for (long i = 0; i < slides; ++i) {
        lumetra::recImgItems slide;
        slide.FileName = (folder / "picture.bmp").string();
        slide.ImgWidth = 64, slide.ImgHeight = 48;
        slide.Duration = 5000;
        app.project.ImgItems.push_back(slide);
    }
    app.project.Settings.OutputFile = (folder / "out/show.html").string();
    lumetra::SaveProject(app, (folder / "show.lmx").string());
    return 0;
}
