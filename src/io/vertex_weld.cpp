#include "io/vertex_weld.h"

#include <algorithm>
#include <cstring>

#include "model/fixed_array.h"

using weld_detail::sameBits;

namespace {

// The smallest table: a few pages, whatever the file.
constexpr uint64_t kMinSlots = 4096;
// How many points are looked up together.
constexpr int32_t kGroup = 64;

void clearSlots(int32_t* slots, size_t n) {
  if (n > 0 && !renewZeroedBlock(slots, n * sizeof(int32_t)))
    std::memset(slots, 0, n * sizeof(int32_t));
}

}  // namespace

VertexWelder::VertexWelder(std::span<int32_t> first, std::span<int32_t> second, Vec3* vertices,
                           int32_t room, int32_t expected)
    : table_{first.data(), second.data()},
      capacity_{static_cast<uint32_t>(first.size()), static_cast<uint32_t>(second.size())},
      vertices_(vertices),
      // Each table keeps an empty slot, so that every search ends.
      room_(std::clamp<int64_t>(room, 0, int64_t{std::min(capacity_[0], capacity_[1])} - 1)),
      indexBits_(std::bit_width(static_cast<uint32_t>(std::max(room_, 1)))),
      indexMask_(static_cast<int32_t>((uint32_t{1} << indexBits_) - 1)) {
  // Half full with the vertices expected.
  resize(std::max<uint64_t>(kMinSlots, 2 * static_cast<uint64_t>(std::max(expected, 0))));
}

VertexWelder::Lookup VertexWelder::lookup(Vec3 p) const {
  const uint64_t h = weld_detail::hashPoint(
      std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y), std::bit_cast<uint32_t>(p.z));
  // The slot's tag from the low half, which the home slot hardly depends on.
  const uint32_t low = static_cast<uint32_t>(h) & 0x7FFFFFFFu;
  const auto tag = static_cast<int32_t>(indexBits_ >= 31 ? 0 : low >> indexBits_ << indexBits_);
  // The high half mapped onto the slots of both tables without a division.
  const auto at = static_cast<uint32_t>(((h >> 32) * (uint64_t{size_[0]} + size_[1])) >> 32);
  return at < size_[0] ? Lookup{0, at, tag} : Lookup{1, at - size_[0], tag};
}

void VertexWelder::resize(uint64_t slots) {
  slots = std::min(slots, uint64_t{capacity_[0]} + capacity_[1]);
  // Even halves, as far as each scratch table allows.
  size_[0] = static_cast<uint32_t>(std::min<uint64_t>(capacity_[0], (slots + 1) / 2));
  size_[1] = static_cast<uint32_t>(std::min<uint64_t>(capacity_[1], slots - size_[0]));
  size_[0] = static_cast<uint32_t>(std::min<uint64_t>(capacity_[0], slots - size_[1]));
  clearSlots(table_[0], size_[0]);
  clearSlots(table_[1], size_[1]);
  used_[0] = used_[1] = 0;
  for (int32_t v = 0; v < count_; ++v) {
    const Lookup at = lookup(vertices_[v]);
    int32_t* table = table_[at.part];
    uint32_t i = at.home;
    while (table[i] != 0)
      if (++i == size_[at.part]) i = 0;
    table[i] = at.tag | (v + 1);
    ++used_[at.part];
  }
}

int32_t VertexWelder::find(Vec3 p, const Lookup& at) {
  int32_t* table = table_[at.part];
  for (uint32_t i = at.home;;) {
    const int32_t s = table[i];
    if (s == 0) {
      if (count_ == room_) return -1;
      const int32_t index = count_++;
      vertices_[index] = p;
      table[i] = at.tag | (index + 1);
      ++used_[at.part];
      return index;
    }
    const int32_t index = (s & indexMask_) - 1;
    if ((s & ~indexMask_) == at.tag && sameBits(vertices_[index], p)) return index;
    if (++i == size_[at.part]) i = 0;
  }
}

void VertexWelder::weld(const Vec3* points, int32_t n, int32_t* out) {
  // Room for the whole run in either table (its points may all hash into one) at most three
  // quarters full, unless the tables are as large as they can be (then each keeps a slot free).
  const uint64_t full = uint64_t{capacity_[0]} + capacity_[1];
  uint64_t slots = tableSize();
  while (slots < full &&
         4 * (uint64_t{std::max(used_[0], used_[1])} + static_cast<uint32_t>(n)) > 3 * (slots / 2))
    slots *= 2;
  if (slots != tableSize()) resize(slots);

  Lookup at[kGroup];
  for (int32_t first = 0; first < n; first += kGroup) {
    const int32_t m = std::min(kGroup, n - first);
    const Vec3* p = points + first;
    for (int32_t j = 0; j < m; ++j) {
      at[j] = lookup(p[j]);
      __builtin_prefetch(table_[at[j].part] + at[j].home);
    }
    // The slots have come or are on their way: the vertices they name (an empty slot's
    // "vertex" is asked for too, harmlessly, rather than the loop waiting on a test).
    for (int32_t j = 0; j < m; ++j)
      __builtin_prefetch(vertices_ +
                         std::max((table_[at[j].part][at[j].home] & indexMask_) - 1, 0));
    for (int32_t j = 0; j < m; ++j) out[first + j] = find(p[j], at[j]);
  }
}
