#include "io/png_file.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "io/binary_file.h"

namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t n) {
  static_cast<SafeFileWriter*>(png_get_io_ptr(png))->put(data, n);
}
void flushNothing(png_structp) {}

// libpng reports errors by longjmp back here: nothing between the setjmp and the return has
// a destructor to skip.
bool encode(SafeFileWriter& out, const std::vector<png_bytep>& rows, int width, int height,
            bool withAlpha) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, writeBytes, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool writePng(const std::string& path, const uint32_t* pixels, int width, int height,
              const uint8_t* alpha) {
  if (width <= 0 || height <= 0) return false;
  const size_t channels = alpha ? 4 : 3;
  const size_t w = static_cast<size_t>(width);
  std::vector<uint8_t> bytes(w * static_cast<size_t>(height) * channels);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (size_t y = 0; y < rows.size(); ++y) {
    uint8_t* row = bytes.data() + y * w * channels;
    rows[y] = row;
    for (size_t x = 0; x < w; ++x) {
      const uint32_t p = pixels[y * w + x];
      uint8_t* o = row + x * channels;
      o[0] = static_cast<uint8_t>(p >> 16);
      o[1] = static_cast<uint8_t>(p >> 8);
      o[2] = static_cast<uint8_t>(p);
      if (alpha) o[3] = alpha[y * w + x];
    }
  }
  SafeFileWriter out(path);
  if (!encode(out, rows, width, height, alpha != nullptr)) return false;
  return out.commit();
}
