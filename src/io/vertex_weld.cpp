#include "io/vertex_weld.h"

#include <algorithm>
#include <cstring>

#include "model/fixed_array.h"
#include "model/parallel_for.h"

using weld_detail::sameBits;

namespace {

// The smallest table: a few pages, whatever the file.
constexpr uint64_t kMinSlots = 4096;
// How many pending points ahead the search asks for a home slot, and for the vertex it names.
constexpr size_t kSlotAhead = 16, kVertexAhead = 8;

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
      room_(room),
      indexBits_(std::bit_width(static_cast<uint32_t>(std::max(room, 1)))) {
  // Half full with the vertices expected.
  resize(std::max<uint64_t>(kMinSlots, 2 * static_cast<uint64_t>(std::max(expected, 0))));
}

VertexWelder::Lookup VertexWelder::lookup(Vec3 p) const {
  const uint64_t h = weld_detail::hashPoint(
      std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y), std::bit_cast<uint32_t>(p.z));
  // The slot's tag from the low half, which the home slot hardly depends on.
  const uint32_t low = static_cast<uint32_t>(h) & 0x7FFFFFFFu;
  const uint32_t slotTag = indexBits_ >= 31 ? 0 : low >> indexBits_ << indexBits_;
  return {static_cast<uint32_t>(h >> 32), static_cast<uint32_t>(h) & (kRecentEntries - 1),
          static_cast<uint32_t>(h >> 16), static_cast<int32_t>(slotTag)};
}

VertexWelder::Slot VertexWelder::slotOf(uint32_t hashHigh) const {
  // The high half of the hash mapped onto the slots of both parts without a division.
  const auto at = static_cast<uint32_t>((uint64_t{hashHigh} * total_) >> 32);
  return at < size_[0] ? Slot{0, at} : Slot{1, at - size_[0]};
}

void VertexWelder::resize(uint64_t slots) {
  const uint64_t capacity = uint64_t{capacity_[0]} + capacity_[1];
  slots = std::min(slots, capacity);
  // Even halves, as far as each scratch table allows.
  size_[0] = static_cast<uint32_t>(std::min<uint64_t>(capacity_[0], (slots + 1) / 2));
  size_[1] = static_cast<uint32_t>(std::min<uint64_t>(capacity_[1], slots - size_[0]));
  size_[0] = static_cast<uint32_t>(std::min<uint64_t>(capacity_[0], slots - size_[1]));
  total_ = size_[0] + size_[1];
  clearSlots(table_[0], size_[0]);
  clearSlots(table_[1], size_[1]);
  used_[0] = used_[1] = 0;
  for (int32_t v = 0; v < count_; ++v) {
    const Lookup at = lookup(vertices_[v]);
    const Slot s = slotOf(at.hashHigh);
    int32_t* table = table_[s.part];
    uint32_t i = s.home;
    while (table[i] != 0)
      if (++i == size_[s.part]) i = 0;
    table[i] = at.slotTag | (v + 1);
    ++used_[s.part];
  }
}

int32_t VertexWelder::search(size_t k, int32_t** taken) {
  const Pending& p = pending_[k];
  int32_t* table = table_[p.slot.part];
  const uint32_t size = size_[p.slot.part];
  const int32_t indexMask = static_cast<int32_t>((uint32_t{1} << indexBits_) - 1);
  for (uint32_t i = p.slot.home;;) {
    int32_t& s = table[i];
    if (s == 0) {
      if (taken == nullptr) return -1;
      s = -static_cast<int32_t>(k + 1);  // taken for pending point k until it is numbered
      *taken = &s;
      return -1;
    }
    if (s < 0) {
      const auto j = static_cast<size_t>(-s - 1);
      if (sameBits(pending_[j].point, p.point)) return -static_cast<int32_t>(j + 2);
    } else {
      const int32_t index = (s & indexMask) - 1;
      if ((s & ~indexMask) == p.at.slotTag && sameBits(vertices_[index], p.point)) return index;
    }
    if (++i == size) i = 0;
  }
}

void VertexWelder::searchPart(uint32_t part, size_t end) {
  PartSearch& ps = parts_[part];
  const std::vector<uint32_t>& list = ps.points;
  const int32_t* table = table_[part];
  const int32_t indexMask = static_cast<int32_t>((uint32_t{1} << indexBits_) - 1);
  size_t stop = ps.next;
  while (stop < list.size() && list[stop] < end) ++stop;
  for (size_t i = ps.next; i < stop; ++i) {
    // Most lookups miss the cache twice, at the home slot and at the vertex it names: both are
    // asked for ahead, the slot first and its vertex once the slot has come.
    if (i + kSlotAhead < stop) __builtin_prefetch(table + pending_[list[i + kSlotAhead]].slot.home);
    if (i + kVertexAhead < stop) {
      const Pending& ahead = pending_[list[i + kVertexAhead]];
      const int32_t s = table[ahead.slot.home];
      if (s > 0 && (s & ~indexMask) == ahead.at.slotTag)
        __builtin_prefetch(vertices_ + ((s & indexMask) - 1));
    }
    ps.found[i] = search(list[i], &ps.taken[i]);
  }
  ps.next = stop;
}

void VertexWelder::weld(const Vec3* points, int32_t n, int32_t* out) {
  if (count_ >= room_ || total_ == 0) {
    std::fill_n(out, n, -1);
    return;
  }
  // The points the recent ones answer; the others become pending, once each as long as the
  // recent entry remembers them (a point pending twice is found by its second lookup).
  if (pending_.size() < static_cast<size_t>(n)) pending_.resize(static_cast<size_t>(n));
  size_t pending = 0;
  // Each pending point's fields written one by one (a whole struct built aside and copied in
  // is read back before its parts have been stored: a stall per point).
  const auto addPending = [this, &pending](Vec3 p, const Lookup& at) {
    Pending& q = pending_[pending++];
    q.point = p;
    q.at = at;
    return -static_cast<int32_t>(pending);
  };
  // Files in no order make the recent points useless: a run that found few of its points
  // there leaves them out of the next runs (all but every eighth, which looks again).
  const bool useRecent = recentWorks_ || ++runsWithoutRecent_ % 8 == 0;
  int32_t answered = 0;
  if (!useRecent) {
    for (int32_t i = 0; i < n; ++i) out[i] = addPending(points[i], lookup(points[i])) - 1;
  }
  for (int32_t i = 0; useRecent && i < n; ++i) {
    const Vec3 p = points[i];
    const Lookup at = lookup(p);
    Recent& r = recent_[at.recent];
    const bool tagged = r.tag == at.tag;
    if (tagged && r.index > 0 && sameBits(vertices_[r.index - 1], p)) {
      out[i] = r.index - 1;
      ++answered;
    } else if (tagged && r.index < 0 &&
               sameBits(pending_[static_cast<size_t>(-r.index - 1)].point, p)) {
      out[i] = r.index - 1;  // -(k + 2) for pending point k
      ++answered;
    } else {
      r = {addPending(p, at), at.tag};
      out[i] = r.index - 1;
    }
  }
  if (useRecent) recentWorks_ = 4 * answered >= n;

  // A table more than three quarters full once every pending point had a slot grows first.
  const uint64_t need = static_cast<uint64_t>(count_) + pending;
  if (4 * need > 3 * uint64_t{total_}) resize(std::max(2 * uint64_t{total_}, 2 * need));
  for (PartSearch& ps : parts_) {
    ps.points.clear();
    ps.next = 0;
  }
  for (size_t k = 0; k < pending; ++k) {
    pending_[k].slot = slotOf(pending_[k].at.hashHigh);
    parts_[pending_[k].slot.part].points.push_back(static_cast<uint32_t>(k));
  }
  for (PartSearch& ps : parts_) {
    ps.found.resize(ps.points.size());
    ps.taken.resize(ps.points.size());
  }
  resolved_.assign(pending, -1);
  size_t cursor[2] = {0, 0};

  // The pending points searched for, each part by its own thread when there are enough; then
  // the new ones numbered in order of first appearance. The searches of one batch take at most
  // one slot each, and every part keeps an empty slot (so that every search ends): a table at
  // its largest with few free slots left takes the points a few at a time.
  size_t begin = 0;
  while (begin < pending && count_ < room_) {
    const int64_t free =
        std::min<int64_t>(int64_t{size_[0]} - used_[0], int64_t{size_[1]} - used_[1]);
    const size_t end = begin + static_cast<size_t>(std::clamp<int64_t>(
                                   free - 1, 1, static_cast<int64_t>(pending - begin)));
    if (end - begin < 4096) {
      searchPart(0, end);
      searchPart(1, end);
    } else {
      parallelFor(2, 1, [this, end](int64_t first, int64_t last) {
        for (int64_t part = first; part < last; ++part)
          searchPart(static_cast<uint32_t>(part), end);
      });
    }
    for (size_t k = begin; k < end; ++k) {
      const uint32_t part = pending_[k].slot.part;
      const size_t i = cursor[part]++;
      int32_t r = parts_[part].found[i];
      if (r < -1) {
        r = resolved_[static_cast<size_t>(-r - 2)];
      } else if (r == -1 && count_ < room_) {
        r = count_++;
        vertices_[r] = pending_[k].point;
        *parts_[part].taken[i] = pending_[k].at.slotTag | (r + 1);
        ++used_[part];
      }
      resolved_[k] = r;
    }
    begin = end;
  }
  // The room ran out: the points left are only looked for (every part kept an empty slot).
  for (size_t k = begin; k < pending; ++k) {
    const int32_t r = search(k, nullptr);
    resolved_[k] = r < -1 ? resolved_[static_cast<size_t>(-r - 2)] : r;
  }
  for (int32_t i = 0; i < n; ++i)
    if (out[i] < -1) out[i] = resolved_[static_cast<size_t>(-out[i] - 2)];
  for (size_t k = 0; useRecent && k < pending; ++k) {
    Recent& r = recent_[pending_[k].at.recent];
    if (r.index == -static_cast<int32_t>(k + 1)) r.index = resolved_[k] + 1;  // 0: unresolved
  }
}
