#pragma once
// The files of the effect demonstration: a two-picture show that goes from
// one demonstration picture to the other with the chosen effect.

#include <filesystem>
#include <string>

#include "generator/ShowRandom.h"

namespace lumetra {

class Application;

// The demonstration description: the start picture still, then the other
// picture with effect (1 second), staying there.
std::string EffectDemoXML(int effect, bool startWithDesert);

// Copies the player as preview.js and the two pictures into folder (failed
// copies are not reported: the demonstration is a nicety), writes
// preview.xml and returns the player address to load. Effect 0 ("random")
// draws a new effect at each run. "&x=" with -1 or 0 makes the address
// differ from the previous run's so the player reloads.
std::string WriteEffectDemo(Application& app, const std::filesystem::path& folder, int effect,
                            bool startWithDesert, const RandomInt& random = ShowRandom());

}  // namespace lumetra
