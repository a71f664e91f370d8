#pragma once
// A program folder with a small language file, a settings file choosing it,
// and helpers to make slides and read back what the generator wrote.

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <deque>
#include <memory>
#include <string>

#include "app/Application.h"
#include "generator/ShowRandom.h"
#include "support/AppFixture.h"

namespace lumetra::test {

inline constexpr const char* kShowLanguage =
    "[GUI]\nTitle=Lumetra\nDataDirName=_files\nDefaultDir=Shows\nDefaultShowName=show\n"
    "HTMLCommentStart=Lumetra code start\nHTMLCommentEnd=Lumetra code end\n"
    "[Internet]\nHomepage=https://lumetra.example\n"
    "[Messages]\nCantCopyFile=Cannot copy %1%\nCantCreateOutDir=Cannot create %1%\n"
    "AudioDoesntExist=Missing music %1%\nFileDoesntExist=Missing picture %1%\n"
    "NoImagesAdded=No pictures\n"
    "[frmMain]\ntxtAudio=(none)\n";

class ShowFixture : public AppFixture {
  protected:
    void SetUp() override {
        useLanguage(kShowLanguage);
        NewProject(app);
    }

    recImgItems& addSlide(const std::string& file, int effect = 2, int width = 640,
                          int height = 480) {
        recImgItems slide;
        slide.FileName = file;
        slide.EffectIn = effect;
        slide.ImgWidth = width;
        slide.ImgHeight = height;
        app.project.ImgItems.push_back(slide);
        return app.project.ImgItems.back();
    }
};

// Hands out the queued numbers; fails the test when they run out.
class QueuedRandom {
  public:
    explicit QueuedRandom(std::deque<int> values) : values_(std::move(values)) {}
    RandomInt source() {
        return [this](int lo, int hi) {
            if (values_.empty()) {
                ADD_FAILURE() << "random source ran dry";
                return lo;
            }
            const int value = values_.front();
            values_.pop_front();
            EXPECT_GE(value, lo);
            EXPECT_LE(value, hi);
            return value;
        };
    }
    std::size_t left() const { return values_.size(); }

  private:
    std::deque<int> values_;
};

struct XmlDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, XmlDocFree>;

// Parses strictly (no network, no entity expansion); null when not well-formed.
inline XmlDoc ParseXml(const std::string& bytes) {
    return XmlDoc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "show.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

inline std::string Attr(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value) return "(absent)";
    std::string text(reinterpret_cast<char*>(value));
    xmlFree(value);
    return text;
}

inline std::vector<xmlNode*> Children(xmlNode* parent, const char* name) {
    std::vector<xmlNode*> found;
    for (xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE &&
            xmlStrEqual(n->name, reinterpret_cast<const xmlChar*>(name)))
            found.push_back(n);
    return found;
}

inline xmlNode* Child(xmlNode* parent, const char* name) {
    auto all = Children(parent, name);
    return all.empty() ? nullptr : all.front();
}

}  // namespace lumetra::test
