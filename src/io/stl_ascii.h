// Reader of text STL: "solid name", then facets of the form
//   facet normal nx ny nz / outer loop / vertex x y z (three times) / endloop / endfacet
// and "endsolid name"; any white space between the words, keywords in any case.
#pragma once

#include <cstdint>
#include <span>

#include "io/binary_file.h"
#include "model/model.h"

class AsciiStlReader {
 public:
  enum class Step { Facet, End, Error };

  // Reads the whole file's bytes from their start.
  explicit AsciiStlReader(std::span<const uint8_t> file)
      : begin_(file.data()), at_(file.data()), end_(file.data() + file.size()) {}
  // The corners of the next facet, End after the last solid, Error on anything else
  // (including a corner coordinate that is not a finite number).
  Step next(Vec3 corners[3]);
  // Starts over at the beginning of the file.
  void restart();

 private:
  bool token();  // the next word into word_; false at the end of the file or a too long word
  bool expect(const char* keyword);
  bool number(float& value);
  void skipLine();
  bool wordIs(const char* keyword) const;

  // The next byte, or -1 at the end of the file.
  int nextByte() { return at_ < end_ ? *at_++ : -1; }

  const uint8_t* begin_;
  const uint8_t* at_;
  const uint8_t* end_;
  char word_[64] = {};
  int length_ = 0;
  bool lineEnded_ = false;  // the last word ended at a line end (or the end of the file)
  bool started_ = false;    // the first "solid" line has been read
  bool tooLong_ = false;
};

// Whether the file begins with the word "solid", in any case, after optional white space.
bool startsWithSolid(std::span<const uint8_t> file);
