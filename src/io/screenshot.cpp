// "save scReenshot": the rendered frame as a 24-bit bottom-up BMP, written through the safe
// writer (a temporary beside the target, renamed over it only once every byte is out).
#include "io/screenshot.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "io/safe_write.h"

namespace {

constexpr int kLastShot = 4095;  // imagePPP.bmp; past it the letters leave A..P

void put16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Rows are padded to whole 4-byte words, as the format asks; the editor's frame widths are
// multiples of 4 and need no padding.
uint32_t bmpRowBytes(uint32_t w) {
  return (3 * w + 3) & ~3u;
}

std::array<uint8_t, 54> bmpHeader(uint32_t w, uint32_t h) {
  std::array<uint8_t, 54> b{};
  const uint32_t pixelBytes = bmpRowBytes(w) * h;
  b[0] = 'B';
  b[1] = 'M';
  put32(&b[2], 54 + pixelBytes);
  put32(&b[6], 0);
  put32(&b[10], 54);
  put32(&b[14], 40);
  put32(&b[18], w);
  put32(&b[22], h);
  put16(&b[26], 1);
  put16(&b[28], 24);
  put32(&b[30], 0);
  put32(&b[34], pixelBytes);
  put32(&b[38], 3780);
  put32(&b[42], 3780);
  put32(&b[46], 0);
  put32(&b[50], 0);
  return b;
}

// Header and rows bottom-up; the writer remembers a failed write.
void writeBmp(SafeFileWriter& f, const uint32_t* pixels, int w, int h, std::vector<uint8_t>& row) {
  const auto header = bmpHeader(static_cast<uint32_t>(w), static_cast<uint32_t>(h));
  f.put(header.data(), header.size());
  const size_t rowBytes = bmpRowBytes(static_cast<uint32_t>(w));
  if (row.size() < rowBytes) row.resize(rowBytes);
  uint8_t* out = row.data();
  std::fill(out, out + rowBytes, uint8_t{0});
  for (int y = h - 1; y >= 0; --y) {
    const uint32_t* src = pixels + static_cast<size_t>(y) * static_cast<size_t>(w);
    for (int x = 0; x < w; ++x) {
      out[3 * x] = static_cast<uint8_t>(src[x]);            // blue
      out[3 * x + 1] = static_cast<uint8_t>(src[x] >> 8);   // green
      out[3 * x + 2] = static_cast<uint8_t>(src[x] >> 16);  // red
    }
    f.put(out, rowBytes);
  }
}

// Through the safe writer: the target is replaced only once every byte is out.
bool writeBmpSafely(const std::string& target, const uint32_t* pixels, int w, int h,
                    std::vector<uint8_t>& row) {
  SafeFileWriter out(target);
  writeBmp(out, pixels, w, h, row);
  return out.commit();
}

}  // namespace

std::string screenshotName(int counter) {
  if (counter < 0 || counter > kLastShot) return {};
  std::string name = "imageAAA.bmp";
  name[5] = static_cast<char>(65 + (counter >> 8));
  name[6] = static_cast<char>(65 + ((counter >> 4) & 15));
  name[7] = static_cast<char>(65 + (counter & 15));
  return name;
}

EditResult saveScreenshot(const uint32_t* pixels, int width, int height, int& shotCounter,
                          const std::string& folder) {
  const EditResult failed{Request::Present, kMsgWriteFailed};
  const std::string name = screenshotName(shotCounter);
  if (name.empty()) return failed;  // the names imageAAA .. imagePPP are used up
  ++shotCounter;
  const std::filesystem::path target = std::filesystem::path(folder) / name;
  std::vector<uint8_t> row;
  if (!writeBmpSafely(target.string(), pixels, width, height, row)) return failed;
  return {Request::Present, kMsgScreenshotSaved};
}

bool writeBmpImage(const std::string& path, const uint32_t* pixels, int width, int height) {
  std::vector<uint8_t> row;
  return width > 0 && height > 0 && writeBmpSafely(path, pixels, width, height, row);
}
