#include "rtl/random.h"

#include <chrono>
#include <cstdlib>

#include "rtl/integer_text.h"

namespace trel {

namespace {
uint32_t g_state = 0;

uint32_t next() {
  // A 32-bit linear congruential step; the high bits of the state carry the randomness.
  g_state = g_state * 0x08088405u + 1u;
  return g_state;
}
}  // namespace

void seedRandom(uint32_t seed) {
  g_state = seed;
}

void seedRandomFromClock() {
  auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  g_state = static_cast<uint32_t>(ticks ^ (ticks >> 32));
}

void seedRandomFromEnvironment() {
  const char* text = std::getenv("TREL_SEED");
  int32_t seed;
  if (text && tryTextToInt(text, seed))
    seedRandom(static_cast<uint32_t>(seed));
  else
    seedRandomFromClock();
}

int32_t randomInt(int32_t range) {
  if (range <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(next()) * static_cast<uint32_t>(range)) >> 32);
}

double randomReal() {
  return static_cast<double>(next()) / 4294967296.0;
}

}  // namespace trel
