// Shading the tagged pixels of the filled-triangle pass, four neighbouring pixels at a time.
#include "render/triangle_shading.h"

#include <algorithm>
#include <cstdint>

#if KOVRIN_SSE2
namespace {

// shadeTriangle for four triangles at once: the same float operations on each lane, and the
// packed conversion rounds half to even like the single one.
inline __m128i shadeFourTriangles(__m128 nz, __m128i words, __m128i selected, bool modelColors) {
  const __m128i mask31 = _mm_set1_epi32(31);
  __m128i r = _mm_setzero_si128(), g = _mm_setzero_si128(), b = _mm_set1_epi32(240);
  if (modelColors) {
    r = _mm_slli_epi32(_mm_and_si128(_mm_srli_epi32(words, 10), mask31), 3);
    g = _mm_slli_epi32(_mm_and_si128(_mm_srli_epi32(words, 5), mask31), 3);
    b = _mm_slli_epi32(_mm_and_si128(words, mask31), 3);
  }
  r = _mm_or_si128(_mm_and_si128(selected, _mm_set1_epi32(224)), _mm_andnot_si128(selected, r));
  g = _mm_andnot_si128(selected, g);
  b = _mm_andnot_si128(selected, b);
  __m128 n = _mm_and_ps(nz, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
  n = _mm_and_ps(n, _mm_cmpge_ps(n, _mm_setzero_ps()));  // a broken normal shades as zero
  n = _mm_min_ps(n, _mm_set1_ps(2.0f));
  const __m128i dim = _mm_castps_si128(_mm_cmplt_ps(n, _mm_set1_ps(0.5f)));
  const __m128 f = _mm_add_ps(n, _mm_set1_ps(0.5f));
  const __m128i bump =
      _mm_cvtps_epi32(_mm_sub_ps(_mm_mul_ps(_mm_set1_ps(192.0f), n), _mm_set1_ps(96.0f)));
  const __m128i full = _mm_set1_epi32(255);
  const auto channel = [&](__m128i ch) {
    const __m128i dimmed = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(ch), f));
    __m128i lit = _mm_add_epi32(ch, bump);
    const __m128i over = _mm_cmpgt_epi32(lit, full);
    lit = _mm_or_si128(_mm_and_si128(over, full), _mm_andnot_si128(over, lit));
    return _mm_or_si128(_mm_and_si128(dim, dimmed), _mm_andnot_si128(dim, lit));
  };
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(channel(r), 16), _mm_slli_epi32(channel(g), 8)),
                      channel(b));
}

}  // namespace
#endif

// Shades the tagged pixels of rows `firstRow` to `lastRow` (those the pass could draw on), four
// neighbouring pixels at a time.
void shadeDrawnPixels(RenderBuffers& rb, const Model& m, const NormalTurn& turn, bool modelColors,
                      int32_t firstRow, int32_t lastRow) {
  firstRow = std::max(firstRow, rb.clipMinY);
  lastRow = std::min(lastRow, rb.clipMaxY);
  if (firstRow > lastRow) return;
  const Vec3* normals = m.triNormal.data();
  const uint16_t* colors = m.triColor.data();
  const uint8_t* triFlags = m.triFlags.data();
  const size_t width = static_cast<size_t>(rb.renderWidth);
  uint32_t* frame = rb.frameBuffer.data() + static_cast<size_t>(firstRow) * width;
  const size_t n = static_cast<size_t>(lastRow - firstRow + 1) * width;
  size_t i = 0;
#if KOVRIN_SSE2
  // The triangle of a tagged pixel, 0 for any other (so that reads stay in the arrays).
  const auto triangleOf = [](uint32_t v) { return (v & kShadeLater) != 0 ? v & ~kShadeLater : 0; };
  // The triangles' data is read in pixel order, far from triangle order, so most reads miss
  // the cache: the data of the pixels some way ahead is asked for while these are shaded.
  constexpr size_t kAhead = 48;
  for (; i + 4 <= n; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(frame + i));
    const int tagged = _mm_movemask_ps(_mm_castsi128_ps(v));
    if (tagged == 0) continue;  // four pixels without a tagged one: one test
    if (i + kAhead + 4 <= n) {
      for (size_t k = i + kAhead; k < i + kAhead + 4; ++k) {
        const uint32_t t = triangleOf(frame[k]);
        prefetchLine(normals + t);
        prefetchLine(colors + t);
        prefetchLine(triFlags + t);
      }
    }
    uint32_t t[4];
    float nz[4];
    int32_t word[4], selected[4];
    for (int k = 0; k < 4; ++k) {
      t[k] = triangleOf(frame[i + static_cast<size_t>(k)]);
      nz[k] = rotatedDepth(turn, normals[t[k]]);
      word[k] = colors[t[k]];
      selected[k] = -static_cast<int32_t>((triFlags[t[k]] & kSelectedBit) != 0);
    }
    const __m128i shaded = shadeFourTriangles(
        _mm_setr_ps(nz[0], nz[1], nz[2], nz[3]), _mm_setr_epi32(word[0], word[1], word[2], word[3]),
        _mm_setr_epi32(selected[0], selected[1], selected[2], selected[3]), modelColors);
    const __m128i keep = _mm_srai_epi32(v, 31);  // all ones on the tagged pixels
    _mm_storeu_si128(reinterpret_cast<__m128i*>(frame + i),
                     _mm_or_si128(_mm_and_si128(keep, shaded), _mm_andnot_si128(keep, v)));
  }
#endif
  for (; i < n; ++i) {
    const uint32_t v = frame[i];
    if ((v & kShadeLater) == 0) continue;
    const uint32_t t = v & ~kShadeLater;
    frame[i] = shadeTriangle(rotatedDepth(turn, normals[t]), colors[t],
                             (triFlags[t] & kSelectedBit) != 0, modelColors);
  }
}
