#pragma once
// Transition effects: the 45 entries of the effect chooser and what each
// writes into a slide of the show description.

namespace lumetra {

class XmlElement;

inline constexpr int kEffectCount = 45;

// Appends the transition (and for 35 … 44 the motion before it) of effect to
// slide, each with duration = seconds first. 0 and numbers below write a bare
// transition, numbers above 44 a bare motion.
void AddTransition(int effect, int seconds, XmlElement& slide);

// With trimmed pictures the squeeze effects (19 … 26) become the push
// effects in the same direction, so nothing stacks.
int TrimEffect(int effect);

// 23 … 26: the new picture stacks over the old one and the slide gets a hold slide.
bool IsStackEffect(int effect);

}  // namespace lumetra
