#include "generator/ShowDescription.h"

#include <filesystem>

#include "app/Application.h"
#include "generator/Effects.h"
#include "generator/FileCopy.h"
#include "generator/HtmlColor.h"
#include "generator/MusicFiles.h"
#include "generator/Overlays.h"
#include "generator/ShowNames.h"
#include "generator/XmlDocument.h"

namespace lumetra {

std::vector<int> PlayOrder(const Project& project) {
    const std::size_t n = project.ImgItems.size();
    std::vector<int> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<int>(i);
    if (!project.Settings.RandomOrder || project.SlideOrder.size() != n) return order;
    std::vector<bool> seen(n, false);
    for (int index : project.SlideOrder) {
        if (index < 0 || static_cast<std::size_t>(index) >= n || seen[index]) return order;
        seen[index] = true;
    }
    return project.SlideOrder;
}

int EffectiveEffect(const Project& project, std::size_t slide) {
    const recImgItems& item = project.ImgItems[slide];
    const int effect = item.EffectIn == 0 ? item.RandomEffect : item.EffectIn;
    return project.Settings.Trim ? TrimEffect(effect) : effect;
}

bool HasHoldSlide(const Project& project, std::size_t slide) {
    return IsStackEffect(EffectiveEffect(project, slide));
}

namespace {

// Everything the slide writers share for one document.
struct ShowContext {
    const Project& project;
    const ShowSettings& settings;
    int W, H;
    bool preview;
    std::string addressPrefix;  // URL prefix + data path
    std::vector<std::string> outputNames;
    std::vector<int> order;
    std::vector<bool> hold;  // by play position
    int startSlides;         // S: 1 with a start slide, else 0
    int lastSlideNumber;
    int firstBackTarget;

    std::string endTarget() const { return settings.Autostart ? "0" : "1"; }
    const recImgItems& item(std::size_t p) const { return project.ImgItems[order[p]]; }
    std::string url(std::size_t p) const { return addressPrefix + outputNames[order[p]]; }
};

void SetBackground(const ShowContext& show, XmlElement& image) {
    if (show.settings.BackgroundTransparent)
        image.Set("background_alpha", "0");
    else
        image.Set("background", ColorDigits(show.settings.BackgroundColor));
}

void AddImage(const ShowContext& show, std::size_t p, XmlElement& slide, int seconds) {
    XmlElement& image = slide.Append("image");
    image.Set("url", show.url(p));
    if (show.settings.Trim) image.Set("fill", "trim");
    SetBackground(show, image);
    image.Set("duration", seconds);
}

void AddStartSlide(const ShowContext& show, XmlElement& root) {
    XmlElement& slide = root.Append("slide");
    slide.Set("purge", show.settings.Loop ? "false" : "true");
    const char* second = show.hold[0] ? "3" : "2";
    slide.Append("navigation")
        .Set("next", second)
        .Set("forward", second)
        .Set("backward", show.firstBackTarget);
    slide.Append("action").Set("type", "pause");
    AddImage(show, 0, slide, 0);
    slide.Append("transition").Set("type", "none");
    AddTextOverlays(show.item(0), show.W, show.H, slide);
    AddLinkAreas(show.W, show.H, show.preview, show.settings.LinkTargetBlank, slide,
                 show.item(0).Link);
}

void AddMainSlide(const ShowContext& show, std::size_t p, int m, XmlElement& root) {
    const bool last = p + 1 == show.order.size();
    const bool previousHolds = p > 0 && show.hold[p - 1];
    XmlElement& slide = root.Append("slide");
    slide.Set("purge", show.settings.Loop || previousHolds ? "false" : "true");
    XmlElement& navigation = slide.Append("navigation");
    if (show.hold[p]) {
        if (last)
            navigation.Set("forward", show.endTarget());
        else
            navigation.Set("forward", m + 2);  // past the own hold slide
    }
    if (p == 0)
        navigation.Set("backward", show.firstBackTarget);
    else if (previousHolds)
        navigation.Set("backward", m - 2);
    const recImgItems& item = show.item(p);
    AddImage(show, p, slide, show.hold[p] ? 2 : item.Duration / 1000 + 2);
    AddTransition(EffectiveEffect(show.project, show.order[p]), 2, slide);
    AddTextOverlays(item, show.W, show.H, slide);
    AddLinkAreas(show.W, show.H, show.preview, show.settings.LinkTargetBlank, slide, item.Link);
}

void AddHoldSlide(const ShowContext& show, std::size_t p, int m, XmlElement& root) {
    XmlElement& slide = root.Append("slide");
    slide.Set("purge", show.settings.Loop ? "false" : "true");
    // "Previous" goes to the main slide of the previous picture, which sits
    // one further back when that picture has a hold slide of its own.
    const int backward = p == 0 ? show.firstBackTarget : (show.hold[p - 1] ? m - 2 : m - 1);
    slide.Append("navigation").Set("backward", backward);
    const recImgItems& item = show.item(p);
    XmlElement& image = slide.Append("image");
    if (show.settings.Trim) image.Set("fill", "trim");
    image.Set("duration", item.Duration / 1000);
    image.Set("url", show.url(p));
    SetBackground(show, image);
    slide.Append("transition").Set("type", "none").Set("stack", "true");
    AddTextOverlays(item, show.W, show.H, slide);
}

ShowContext MakeContext(Application& app, int W, int H, const std::string& urlPrefix,
                        bool preview) {
    const Project& project = app.project;
    ShowContext show{project, project.Settings, W, H, preview, urlPrefix, {}, {}, {}, 0, 0, 0};
    if (!preview) show.addressPrefix += DataFolderName(app) + "/";
    show.outputNames = SlideOutputNames(project.ImgItems);
    show.order = PlayOrder(project);
    int holds = 0;
    for (int index : show.order) {
        show.hold.push_back(HasHoldSlide(project, index));
        holds += show.hold.back() ? 1 : 0;
    }
    show.startSlides = project.Settings.Autostart ? 0 : 1;
    show.lastSlideNumber = static_cast<int>(show.order.size()) - 1 + holds + show.startSlides;
    show.firstBackTarget = show.hold.back() ? show.lastSlideNumber - 1 : show.lastSlideNumber;
    return show;
}

void AddMusic(Application& app, const std::string& addressPrefix, XmlElement& root) {
    const ShowSettings& settings = app.project.Settings;
    const std::string name = MusicOutputName(app.project);
    if (name.empty()) return;
    root.Append("music")
        .Set("url", addressPrefix + name)
        .Set("loop", settings.AudioLoop ? "true" : "false");
}

}  // namespace

std::string BuildSlideshowXML(Application& app, int W, int H, const std::string& urlPrefix,
                              bool preview, const RandomInt& random) {
    Project& project = app.project;
    if (preview) {
        for (auto& item : project.ImgItems)
            if (item.EffectIn == 0) item.RandomEffect = DrawRandomEffect(random);
    }
    XmlElement root("slideshow");
    XmlElement& control = root.Append("control");
    control.Set("bar_visible", project.Settings.NavBar ? "auto" : "off");
    const bool music = !MusicOutputName(project).empty();
    if (music) control.Set("volume_visible", "true");
    if (project.ImgItems.empty()) return SerializeXmlDocument(root);

    const ShowContext show = MakeContext(app, W, H, urlPrefix, preview);
    if (show.startSlides) AddStartSlide(show, root);
    int m = show.startSlides;
    for (std::size_t p = 0; p < show.order.size(); ++p) {
        AddMainSlide(show, p, m, root);
        if (show.hold[p]) AddHoldSlide(show, p, m, root);
        m += show.hold[p] ? 2 : 1;
    }
    // The last slide ends the show: back to the beginning, or stay there.
    XmlElement* navigation = root.children().back().Child("navigation");
    navigation->Set("next",
                    show.settings.Loop ? show.endTarget() : std::to_string(show.lastSlideNumber));
    navigation->Set("forward", show.endTarget());
    AddMusic(app, show.addressPrefix, root);
    return SerializeXmlDocument(root);
}

void CreateSlideshowXML(Application& app, const std::string& file, int W, int H,
                        const std::string& urlPrefix, bool preview, const RandomInt& random) {
    WriteFileBytes(file, BuildSlideshowXML(app, W, H, urlPrefix, preview, random));
}

}  // namespace lumetra
