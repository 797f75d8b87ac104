#include "io/stl_ascii.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether a decimal number that is out of range (from_chars said so, so its form is good)
// is too small rather than too large: its decimal exponent, counted from its first
// non-zero digit, is negative.
bool underflows(const char* first, const char* last) {
  const char* p = first;
  if (p < last && (*p == '-' || *p == '+')) ++p;
  // The digits read as 0.d1d2... times 10 to the power lead + exponent, d1 not zero.
  int64_t lead = 0;
  bool seenDigit = false, afterPoint = false;
  for (; p < last && ((*p >= '0' && *p <= '9') || *p == '.'); ++p) {
    if (*p == '.') {
      afterPoint = true;
    } else if (!seenDigit && *p == '0') {
      if (afterPoint) --lead;
    } else {
      seenDigit = true;
      if (!afterPoint) ++lead;
    }
  }
  int64_t exponent = 0;
  if (p < last && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative = p < last && *p == '-';
    if (p < last && (*p == '-' || *p == '+')) ++p;
    for (; p < last && *p >= '0' && *p <= '9'; ++p)
      exponent = std::min<int64_t>(exponent * 10 + (*p - '0'), int64_t{1} << 40);
    if (negative) exponent = -exponent;
  }
  return lead + exponent <= 0;
}

}  // namespace

bool AsciiStlReader::token() {
  int c = nextByte();
  while (c >= 0 && isSpace(c)) c = nextByte();
  length_ = 0;
  if (c < 0) {
    lineEnded_ = true;
    return false;
  }
  while (c >= 0 && !isSpace(c)) {
    if (length_ == static_cast<int>(sizeof(word_)) - 1) {
      tooLong_ = true;
      return false;
    }
    word_[length_++] = static_cast<char>(c);
    c = nextByte();
  }
  word_[length_] = 0;
  lineEnded_ = c < 0 || c == '\n';
  return true;
}

bool AsciiStlReader::wordIs(const char* keyword) const {
  int i = 0;
  for (; keyword[i] != 0; ++i)
    if (i >= length_ || lower(word_[i]) != keyword[i]) return false;
  return i == length_;
}

bool AsciiStlReader::expect(const char* keyword) {
  return token() && wordIs(keyword);
}

bool AsciiStlReader::number(float& value) {
  if (!token()) return false;
  const char* first = word_;
  const char* last = word_ + length_;
  if (first < last && *first == '+') ++first;
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) {
    // Beyond single precision: tiny values become (signed) zero, huge ones infinite, and
    // an infinite corner is refused by the caller.
    double wide = 0.0;
    const auto r = std::from_chars(first, last, wide);
    end = r.ptr;
    ec = r.ec;
    value = static_cast<float>(wide);
    if (ec == std::errc::result_out_of_range) {
      // Beyond double precision too: an underflow is zero as well, an overflow infinite.
      ec = std::errc();
      value = underflows(first, last) ? (*first == '-' ? -0.0f : 0.0f)
                                      : (*first == '-' ? -INFINITY : INFINITY);
    }
  }
  return ec == std::errc() && end == last && first != last;
}

void AsciiStlReader::skipLine() {
  if (lineEnded_) return;
  int c = nextByte();
  while (c >= 0 && c != '\n') c = nextByte();
  lineEnded_ = true;
}

void AsciiStlReader::restart() {
  length_ = 0;
  lineEnded_ = started_ = tooLong_ = false;
  at_ = begin_;
}

AsciiStlReader::Step AsciiStlReader::next(Vec3 corners[3]) {
  if (!started_) {
    if (!expect("solid")) return Step::Error;
    skipLine();  // the solid's name
    started_ = true;
  }
  for (;;) {
    if (!token()) return Step::Error;  // the file ended inside a solid
    if (wordIs("endsolid")) {
      skipLine();
      if (!token()) return tooLong_ ? Step::Error : Step::End;
      if (!wordIs("solid")) return Step::Error;  // only another solid may follow
      skipLine();
      continue;
    }
    if (!wordIs("facet")) return Step::Error;
    float normal;
    if (!expect("normal") || !number(normal) || !number(normal) || !number(normal))
      return Step::Error;
    if (!expect("outer") || !expect("loop")) return Step::Error;
    for (int k = 0; k < 3; ++k) {
      Vec3& p = corners[k];
      if (!expect("vertex") || !number(p.x) || !number(p.y) || !number(p.z)) return Step::Error;
      if (!isFinite(p)) return Step::Error;
    }
    if (!expect("endloop") || !expect("endfacet")) return Step::Error;
    return Step::Facet;
  }
}

bool startsWithSolid(std::span<const uint8_t> file) {
  size_t at = 0;
  auto next = [&]() -> int { return at < file.size() ? file[at++] : -1; };
  int c = next();
  while (c >= 0 && isSpace(c)) c = next();
  for (const char* k = "solid"; *k != 0; ++k) {
    if (c < 0 || lower(static_cast<char>(c)) != *k) return false;
    c = next();
  }
  return c < 0 || isSpace(c);
}
