// Line and word scanning over the bytes of a text file, without copies, shared by the OBJ
// and PLY readers.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

// The lines of a text, "\n" or "\r\n" ended (the last one may lack its end).
class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}
  bool done() const { return pos_ >= text_.size(); }
  std::string_view next() {
    const char* start = text_.data() + pos_;
    const size_t left = text_.size() - pos_;
    const void* nl = std::memchr(start, '\n', left);
    size_t len = nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : left;
    pos_ += nl ? len + 1 : len;
    if (len > 0 && start[len - 1] == '\r') --len;
    return {start, len};
  }
  size_t position() const { return pos_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

inline bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The words of one line, split at blanks; a word starting with '#' ends the line.
class TextLine {
 public:
  explicit TextLine(std::string_view line) : line_(line) {}
  std::string_view next() {
    skipBlanks();
    if (pos_ >= line_.size() || line_[pos_] == '#') return {};
    const size_t start = pos_;
    while (pos_ < line_.size() && !isBlank(line_[pos_])) ++pos_;
    return line_.substr(start, pos_ - start);
  }
  // What is left of the line, without leading and trailing blanks.
  std::string_view rest() {
    skipBlanks();
    size_t end = line_.size();
    while (end > pos_ && isBlank(line_[end - 1])) --end;
    return line_.substr(pos_, end - pos_);
  }

 private:
  void skipBlanks() {
    while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
  }
  std::string_view line_;
  size_t pos_ = 0;
};

// Whole-word number parsers (a leading '+' allowed); false on anything else.
inline bool parseInteger(std::string_view w, int64_t& out) {
  if (!w.empty() && w[0] == '+') w.remove_prefix(1);
  const auto r = std::from_chars(w.data(), w.data() + w.size(), out);
  return r.ec == std::errc() && r.ptr == w.data() + w.size() && !w.empty();
}
template <class Float>
bool parseFloat(std::string_view w, Float& out) {
  if (!w.empty() && w[0] == '+') w.remove_prefix(1);
  const auto r = std::from_chars(w.data(), w.data() + w.size(), out);
  return r.ec == std::errc() && r.ptr == w.data() + w.size() && !w.empty();
}
