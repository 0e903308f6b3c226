// The language's random numbers: a 24-bit linear congruential generator
//   x' = (16598013 * x + 12820163) mod 2^24,   Rnd = x' / 2^24
// started at 327680, so that a run without Randomize repeats the language's own sequence.
// Rnd(n) with n < 0 restarts the sequence from n's single-precision bits (the same n
// always gives the same number), Rnd(0) repeats the last number, any other n or none
// gives the next. Randomize n mixes the high 32 bits of n's double into the middle 16 bits
// of the state; Randomize without a number uses the clock. Period 2^24; the numbers are
// multiples of 2^-24 in [0, 1), exact in a single. Not for anything that needs to be
// unpredictable.
#pragma once

#include <cstdint>

namespace quon::script {

class RandomGenerator {
 public:
  // Rnd: `hasArgument` false for Rnd without an argument.
  double Next(bool hasArgument, double argument);
  void Randomize(double seed);
  void RandomizeFromClock();

 private:
  uint32_t state_ = 327680;
};

}  // namespace quon::script
