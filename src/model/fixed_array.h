// An array of plain rows sized once, zero-filled, whose memory is asked of the system
// untouched: a page costs neither time nor memory until a row on it is written, so capacity
// that is never used is free. Indexing and data() work as with a vector of the same rows.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// The raw zeroed block behind every FixedArray: anonymous pages from the system (calloc under
// the address sanitizer, so that reads and writes past the end are still caught).
void* allocateZeroedBlock(size_t bytes);  // throws std::bad_alloc
void releaseZeroedBlock(void* block, size_t bytes);
// Asks for the pages of bytes [0, bytes) of a block at once, in huge pages where the system
// allows: for rows about to be written front to back, one request instead of a fault per page.
// Only a hint; the contents stay as they are.
void prepareZeroedBlock(void* block, size_t bytes);
// The same for bytes [0, bytes) whose contents may go: they are handed back to the system and
// asked for again, zero (random reads then find them in few, large pages). False when the
// bytes could not be given back: they are then as they were.
bool renewZeroedBlock(void* block, size_t bytes);

// The rows of a FixedArray set aside without their type (the undo history holds an array's
// earlier rows this way and exchanges them back).
class HeldRows {
 public:
  HeldRows() = default;
  explicit HeldRows(size_t bytes) : bytes_(bytes) {
    if (bytes > 0) data_ = allocateZeroedBlock(bytes);
  }
  HeldRows(HeldRows&& o) noexcept
      : data_(std::exchange(o.data_, nullptr)), bytes_(std::exchange(o.bytes_, 0)) {}
  HeldRows& operator=(HeldRows o) noexcept {
    std::swap(data_, o.data_);
    std::swap(bytes_, o.bytes_);
    return *this;
  }
  ~HeldRows() {
    if (data_ != nullptr) releaseZeroedBlock(data_, bytes_);
  }
  void* data() { return data_; }
  const void* data() const { return data_; }
  size_t bytes() const { return bytes_; }

 private:
  template <class U>
  friend class FixedArray;
  void* data_ = nullptr;
  size_t bytes_ = 0;
};

template <class T>
class FixedArray {
  static_assert(std::is_trivially_copyable_v<T>, "rows are copied and zeroed as bytes");

 public:
  FixedArray() = default;
  // n rows of zero bytes (every row type here reads all-zero bytes as its zero value).
  explicit FixedArray(size_t n) : rows_(n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    if (n > 0) data_ = static_cast<T*>(allocateZeroedBlock(n * sizeof(T)));
  }
  FixedArray(const FixedArray& other) : FixedArray(other.rows_) {
    if (rows_ > 0) std::memcpy(data_, other.data_, rows_ * sizeof(T));
  }
  FixedArray(FixedArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), rows_(std::exchange(other.rows_, 0)) {}
  FixedArray& operator=(FixedArray other) noexcept {
    std::swap(data_, other.data_);
    std::swap(rows_, other.rows_);
    return *this;
  }
  ~FixedArray() {
    if (data_ != nullptr) releaseZeroedBlock(data_, rows_ * sizeof(T));
  }

  // Exchanges the rows of two arrays of the same size whose rows have the same size: the bytes
  // stay where they are and change owner (the row types are plain data; every load that uses
  // this writes its rows as bytes and reads them back through the new owner only).
  template <class U>
  void swapRows(FixedArray<U>& other) noexcept {
    static_assert(sizeof(U) == sizeof(T), "rows of one size");
    void* mine = data_;
    data_ = static_cast<T*>(static_cast<void*>(other.data_));
    other.data_ = static_cast<U*>(mine);
    std::swap(rows_, other.rows_);
  }
  // Exchanges the rows with a held block of the same size in bytes.
  void exchangeRows(HeldRows& held) noexcept {
    void* mine = data_;
    data_ = static_cast<T*>(held.data_);
    held.data_ = mine;
  }
  // See prepareZeroedBlock: the first n rows are about to be written.
  void prepareRows(size_t n) {
    if (data_ != nullptr) prepareZeroedBlock(data_, std::min(n, rows_) * sizeof(T));
  }

  // See renewZeroedBlock: the first n rows become zero, in large pages where the system allows.
  void renewRows(size_t n) {
    n = std::min(n, rows_);
    if (data_ == nullptr || n == 0) return;
    if (!renewZeroedBlock(data_, n * sizeof(T))) std::memset(data_, 0, n * sizeof(T));
  }

  T* data() { return data_; }
  const T* data() const { return data_; }
  size_t size() const { return rows_; }
  bool empty() const { return rows_ == 0; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  T* begin() { return data_; }
  T* end() { return data_ + rows_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + rows_; }

 private:
  template <class U>
  friend class FixedArray;
  T* data_ = nullptr;
  size_t rows_ = 0;
};
