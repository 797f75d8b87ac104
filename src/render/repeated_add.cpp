// Within a stretch of floats that share one spacing u (a binade, or the stretch around zero
// where the subnormals and the smallest normal binade share 2^-149) every value is m * u for
// an integer m, and step = (q + f) * u with q an integer and 0 <= f < 1. Adding step to m * u
// lands on (m + q + f) * u, which rounds on that same grid as long as the exact sum stays in
// the stretch: to m + q when f < 1/2, m + q + 1 when f > 1/2, and on a tie (f = 1/2) to the
// even one of the two. Away from ties every add therefore moves m by the same amount; on ties
// the first add leaves m even and every later one moves it by the same even amount. So the
// adds that stay in one stretch are one multiplication, and only the add that leaves a
// stretch is done as a float add. The sum moves one way only, so it visits each stretch once.
#include "render/repeated_add.h"

#include <cmath>
#include <cstring>

namespace {

struct Stretch {
  double unit;     // the spacing u
  int64_t lo, hi;  // exact sums in [lo, hi] units round on this grid
};

Stretch stretchOf(float x) {
  uint32_t bits;
  std::memcpy(&bits, &x, 4);
  const int exponentField = static_cast<int>((bits >> 23) & 0xFF);
  constexpr int64_t kHalf = int64_t{1} << 23, kFull = int64_t{1} << 24;
  if (exponentField <= 1) return {std::ldexp(1.0, -149), -kFull, kFull};
  const double unit = std::ldexp(1.0, exponentField - 150);
  // In the top binade the sum one unit past the last float is no float: leave it to the add.
  const int64_t full = exponentField == 254 ? kFull - 1 : kFull;
  if ((bits & 0x80000000u) != 0) return {unit, -full, -kHalf};
  return {unit, kHalf, full};
}

}  // namespace

float repeatedAdd(float x, float step, int64_t count) {
  if (count <= 0) return x;
  // A zero, infinite or NaN step, or a sum that is not finite, settles after one add.
  if (!std::isfinite(x) || !std::isfinite(step) || step == 0.0f) return x + step;
  while (count > 0) {
    const Stretch st = stretchOf(x);
    const double units = static_cast<double>(step) / st.unit;  // exact: a power-of-two scale
    const double whole = std::floor(units);
    if (std::fabs(whole) < 67108864.0) {  // 2^26: a step this large leaves at once
      const int64_t q = static_cast<int64_t>(whole);
      const double f = units - whole;  // exact
      int64_t m = static_cast<int64_t>(static_cast<double>(x) / st.unit);
      const bool tie = f == 0.5;
      // The exact sum from m is (m + q + f) units: inside [lo, hi] for lo <= m + q <= top.
      const int64_t top = st.hi - (f > 0.0 ? 1 : 0);
      if (!tie || (m & 1) == 0) {
        const int64_t move = tie ? q + (q & 1) : q + (f > 0.5 ? 1 : 0);
        const int64_t w = m + q;
        int64_t adds = 0;
        if (w >= st.lo && w <= top) {
          if (move > 0)
            adds = (top - w) / move + 1;
          else if (move < 0)
            adds = (w - st.lo) / -move + 1;
          else
            adds = count;
          if (adds > count) adds = count;
        }
        if (adds > 0) {
          m += adds * move;
          count -= adds;
          x = static_cast<float>(static_cast<double>(m) * st.unit);  // exact
          continue;
        }
      }
    }
    // The add that leaves the stretch (or starts a run of ties) done as the loop does it.
    const float next = x + step;
    --count;
    uint32_t a, b;
    std::memcpy(&a, &x, 4);
    std::memcpy(&b, &next, 4);
    if (a == b) return x;  // a fixed point: every further add gives it again
    x = next;
    if (!std::isfinite(x)) return count > 0 ? x + step : x;
  }
  return x;
}
