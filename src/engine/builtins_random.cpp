#include "engine/builtins_random.h"

#include <bit>
#include <chrono>

#include "engine/builtins.h"
#include "engine/conversions.h"

namespace quon::script {
namespace {

constexpr uint32_t kMask = 0xFFFFFF;
constexpr double kScale = 1.0 / 16777216.0;

}  // namespace

double RandomGenerator::Next(bool hasArgument, double argument) {
  if (hasArgument && argument == 0.0) return state_ * kScale;
  if (hasArgument && argument < 0.0) {
    const auto bits = std::bit_cast<uint32_t>(static_cast<float>(argument));
    state_ = (bits + (bits >> 24)) & kMask;
  }
  state_ = (state_ * 16598013u + 12820163u) & kMask;  // unsigned: wraps, mod 2^32 then 2^24
  return state_ * kScale;
}

void RandomGenerator::Randomize(double seed) {
  const auto high = static_cast<uint32_t>(std::bit_cast<uint64_t>(seed) >> 32);
  const uint32_t mixed = ((high & 0xFFFF) ^ (high >> 16)) << 8;
  state_ = (state_ & 0xFF0000FFu) | (mixed & 0xFFFF00u);
  state_ &= kMask;
}

void RandomGenerator::RandomizeFromClock() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  // Seconds since midnight with their fraction, as the language's Timer gives them.
  const double seconds = std::chrono::duration<double>(now).count();
  Randomize(seconds - 86400.0 * static_cast<double>(static_cast<int64_t>(seconds / 86400.0)));
}

ErrNum CallRandomBuiltin(Op op, const Variant* args, uint16_t argc, Variant& result,
                         RandomGenerator& random) {
  double argument = 0.0;
  if (argc == 1) {
    if (ErrNum err = ToDouble(args[0], argument); err != ErrNum::None) return err;
  }
  if (op == Op::Randomize) {
    if (argc == 1) {
      random.Randomize(argument);
    } else {
      random.RandomizeFromClock();
    }
    return ErrNum::None;
  }
  // A Single, as in the language; its 24 bits hold the generator's number exactly.
  result = Variant::Single(static_cast<float>(random.Next(argc == 1, argument)));
  return ErrNum::None;
}

}  // namespace quon::script
