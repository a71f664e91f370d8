#include "generator/ShowRandom.h"

#include <chrono>
#include <random>

#include "generator/Effects.h"

namespace lumetra {

namespace {

std::mt19937_64& Engine() {
    static std::mt19937_64 engine(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        std::random_device{}());
    return engine;
}

}  // namespace

const RandomInt& ShowRandom() {
    static const RandomInt source = [](int lo, int hi) {
        if (hi <= lo) return lo;
        return std::uniform_int_distribution<int>(lo, hi)(Engine());
    };
    return source;
}

void SeedShowRandom(std::uint64_t seed) {
    Engine().seed(seed);
}

int DrawRandomEffect(const RandomInt& random) {
    return random(1, kEffectCount - 1);
}

}  // namespace lumetra
