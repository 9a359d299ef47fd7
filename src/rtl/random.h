// The one process-wide pseudo-random generator. It is seeded from the clock at start-up, or with N
// when the environment holds TREL_SEED=N, so that tests see the same numbers every time.
#pragma once

#include <cstdint>

namespace trel {

void seedRandom(uint32_t seed);
void seedRandomFromClock();
// TREL_SEED when set and valid, else the clock.
void seedRandomFromEnvironment();
// A number from 0 to range - 1; 0 when range is 0 or less.
int32_t randomInt(int32_t range);
// A number r with 0 <= r < 1.
double randomReal();

}  // namespace trel
