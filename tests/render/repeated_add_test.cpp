// The closed-form advance of repeated float addition against the plain loop, bit for bit,
// on random starts, steps and counts chosen to hit ties, sign changes, subnormals, binade
// edges, fixed points and overflow. KOVRIN_REPEATED_ADD_CASES sets how many (default 500,000;
// about two seconds).
#include "render/repeated_add.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>

namespace {

float plainLoop(float x, float step, int64_t count) {
  for (int64_t k = 0; k < count; ++k) x = x + step;
  return x;
}

bool sameBits(float a, float b) {
  return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b) ||
         (std::isnan(a) && std::isnan(b));  // the payload depends on the operand order
}

// A random float with the exponent field in [lowField, highField] and a random sign.
float randomFloat(std::mt19937_64& rng, int lowField, int highField) {
  const uint32_t field =
      static_cast<uint32_t>(std::uniform_int_distribution<int>(lowField, highField)(rng));
  const uint32_t bits = static_cast<uint32_t>(rng()) & 0x807FFFFFu;
  return std::bit_cast<float>(bits | field << 23);
}

struct Triple {
  float x, step;
  int64_t count;
};

Triple randomTriple(std::mt19937_64& rng) {
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); };
  const int kind = pick(16);  // 8 and up: short runs of random values
  const int field = kind == 2 ? pick(6) : kind == 7 ? 251 + pick(4) : 1 + pick(253);
  float x = randomFloat(rng, field, field);
  // Steps from a few binades above the start down to far below its last bit.
  const int stepField = std::clamp(field - pick(40) + 3, 0, 254);
  float step = randomFloat(rng, stepField, stepField);
  int64_t count = pick(64);
  switch (kind) {
    case 0:  // a tie on the start's grid: an odd number of half units
      step = std::copysign(std::ldexp(static_cast<float>(2 * pick(64) + 1), field - 151),
                           pick(2) ? 1.0f : -1.0f);
      count = pick(3000);
      break;
    case 1:  // across zero: opposite signs, enough adds to pass it
      step = std::copysign(step, -x);
      if (std::fabs(x / step) < 1e4f) count = static_cast<int64_t>(std::fabs(x / step)) + pick(200);
      break;
    case 3:  // long runs
      count = pick(30000);
      break;
    case 4:  // a start on a binade edge
      x = std::copysign(std::ldexp(1.0f, field - 127), x);
      count = pick(3000);
      break;
    case 5:  // whole-number spans as the fill uses them
      x = static_cast<float>(pick(2000000) - 1000000) / static_cast<float>(1 + pick(5000));
      step = static_cast<float>(pick(2001) - 1000) / static_cast<float>(1 + pick(100000));
      count = pick(20000);
      break;
    case 6: {  // rare values
      const float rare[] = {0.0f,
                            -0.0f,
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::denorm_min()};
      if (pick(2))
        x = rare[pick(7)];
      else
        step = rare[pick(7)];
      break;
    }
    default:
      break;
  }
  return {x, step, count};
}

TEST(RepeatedAdd, MatchesThePlainLoopBitForBit) {
  const char* env = std::getenv("KOVRIN_REPEATED_ADD_CASES");
  const int64_t cases = env != nullptr ? std::atoll(env) : 500000;
  std::mt19937_64 rng(20261208);
  int64_t failures = 0;
  for (int64_t i = 0; i < cases && failures < 10; ++i) {
    const Triple t = randomTriple(rng);
    const float want = plainLoop(t.x, t.step, t.count);
    const float got = repeatedAdd(t.x, t.step, t.count);
    if (!sameBits(want, got)) {
      ++failures;
      ADD_FAILURE() << std::hexfloat << "x " << t.x << " step " << t.step << " count " << t.count
                    << ": loop " << want << ", closed form " << got;
    }
  }
}

TEST(RepeatedAdd, TenMillionAddsCostNoMoreThanTheBinadesCrossed) {
  // The 1/z of a span starting 10^7 pixels left of the frame: the plain loop is the slow path
  // this replaces, run once here as the reference.
  const float x = 0.25f, step = -1.0f / 3.0e7f;
  EXPECT_TRUE(sameBits(repeatedAdd(x, step, 10000000), plainLoop(x, step, 10000000)));
  EXPECT_EQ(repeatedAdd(1.0f, 1e-9f, int64_t{1} << 60), 1.0f);  // below half a unit: fixed
  EXPECT_EQ(repeatedAdd(1.0f, 1.0f, -5), 1.0f);
}

}  // namespace
