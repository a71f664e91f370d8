#pragma once
// The random source of show builds: random effects and random slide order.
// One process-wide generator, seeded from the clock unless a seed is given
// (lumetra-make --seed), so a build can be repeated exactly; tests pass their
// own source.

#include <cstdint>
#include <functional>

namespace lumetra {

// A uniformly drawn integer in lo … hi (both included).
using RandomInt = std::function<int(int lo, int hi)>;

// The process-wide source.
const RandomInt& ShowRandom();

// Restarts the process-wide source from seed.
void SeedShowRandom(std::uint64_t seed);

// An effect number from 1 to 44: every entry of the chooser except "random".
int DrawRandomEffect(const RandomInt& random);

}  // namespace lumetra
