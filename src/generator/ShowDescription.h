#pragma once
// The show description: the XML file the slideshow player reads.

#include <string>
#include <vector>

#include "generator/ShowRandom.h"

namespace lumetra {

class Application;
class Project;

// Play order: SlideOrder when RandomOrder is on and it is a permutation of
// the slide indices (a stale order is never trusted), else list order.
std::vector<int> PlayOrder(const Project& project);

// Effect a slide is written with: EffectIn, or RandomEffect for "random",
// then the trim substitution.
int EffectiveEffect(const Project& project, std::size_t slide);

// True when the slide is followed by a hold slide (a stacking effect, never
// with trimmed pictures).
bool HasHoldSlide(const Project& project, std::size_t slide);

// The bytes of the description for a stage of W × H. The preview draws a new
// RandomEffect for every slide on "random" first; output mode reuses the
// draws of the last preview so both play alike.
std::string BuildSlideshowXML(Application& app, int W, int H, const std::string& urlPrefix,
                              bool preview, const RandomInt& random = ShowRandom());

// Writes that description to file, replacing it; throws std::system_error
// when it cannot be written.
void CreateSlideshowXML(Application& app, const std::string& file, int W, int H,
                        const std::string& urlPrefix, bool preview,
                        const RandomInt& random = ShowRandom());

}  // namespace lumetra
