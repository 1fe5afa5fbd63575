#include "app/Random.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace app::random {

namespace {
std::uint32_t gState = 0x50000;  // a fixed start, as the platform's generator has
std::function<double()> gSource;
}  // namespace

void Randomize(double seed)
{
    // The seed's bits are folded into the middle of the 24-bit state; its low
    // byte stays, so the sequence goes on rather than starting over.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &seed, sizeof bits);
    const std::uint32_t folded = static_cast<std::uint32_t>(bits >> 32) ^ static_cast<std::uint32_t>(bits);
    gState = (((folded ^ (folded >> 16)) & 0xFFFF) << 8) | (gState & 0xFF);
}

double Rnd()
{
    if (gSource)
        return gSource();
    gState = (gState * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<double>(gState) / 16777216.0;
}

std::function<double()> setSource(std::function<double()> source) { return std::exchange(gSource, std::move(source)); }

}  // namespace app::random
