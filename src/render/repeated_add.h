// Repeated float addition advanced in closed form: the value `x = x + step` reaches after
// `count` adds, bit for bit, at a cost that grows with the binades crossed, not with `count`.
#pragma once

#include <cstdint>

// `count` adds of `step` to `x`, each rounded to float as the plain loop rounds it (round to
// nearest, ties to even). count <= 0 returns x unchanged.
float repeatedAdd(float x, float step, int64_t count);
