#include "io/vertex_weld.h"

#include <algorithm>

#include "model/parallel_for.h"

using weld_detail::sameBits;

VertexWelder::VertexWelder(std::span<int32_t> first, std::span<int32_t> second, Vec3* vertices,
                           int32_t room)
    : table_{first.data(), second.data()},
      size_{static_cast<uint32_t>(first.size()), static_cast<uint32_t>(second.size())},
      total_(static_cast<uint32_t>(first.size() + second.size())),
      vertices_(vertices),
      room_(room),
      indexBits_(std::bit_width(static_cast<uint32_t>(std::max(room, 1)))) {}

VertexWelder::Lookup VertexWelder::lookup(Vec3 p) const {
  const uint64_t h = weld_detail::hashPoint(
      std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y), std::bit_cast<uint32_t>(p.z));
  // The slot's tag from the low half, which the home slot hardly depends on.
  const uint32_t low = static_cast<uint32_t>(h) & 0x7FFFFFFFu;
  const uint32_t slotTag = indexBits_ >= 31 ? 0 : low >> indexBits_ << indexBits_;
  // The high half mapped onto the slots of both tables without a division.
  const auto at = static_cast<uint32_t>(((h >> 32) * total_) >> 32);
  const uint32_t part = at < size_[0] ? 0 : 1;
  return {part, at - (part == 0 ? 0 : size_[0]), static_cast<uint32_t>(h) & (kRecentEntries - 1),
          static_cast<uint32_t>(h >> 16), static_cast<int32_t>(slotTag)};
}

int32_t VertexWelder::search(size_t k) {
  const Pending& p = pending_[k];
  int32_t* table = table_[p.at.part];
  const uint32_t size = size_[p.at.part];
  const int32_t indexMask = static_cast<int32_t>((uint32_t{1} << indexBits_) - 1);
  for (uint32_t i = p.at.home;;) {
    int32_t& s = table[i];
    if (s == 0) {
      s = -static_cast<int32_t>(k + 1);  // taken for pending point k until it is numbered
      taken_[k] = &s;
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

void VertexWelder::searchTables(uint32_t firstPart, uint32_t endPart) {
  for (size_t k = 0; k < pending_.size(); ++k)
    if (pending_[k].at.part >= firstPart && pending_[k].at.part < endPart) resolved_[k] = search(k);
}

void VertexWelder::weld(const Vec3* points, int32_t n, int32_t* out) {
  // The points the recent ones answer; the others become pending, once each as long as the
  // recent entry remembers them (a point pending twice is found by its second lookup).
  pending_.clear();
  // Files in no order make the recent points useless: a run that found few of its points
  // there leaves them out of the next runs (all but every eighth, which looks again).
  const bool useRecent = recentWorks_ || ++runsWithoutRecent_ % 8 == 0;
  int32_t answered = 0;
  for (int32_t i = 0; i < n; ++i) {
    const Vec3 p = points[i];
    const Lookup at = lookup(p);
    if (!useRecent) {
      pending_.push_back({p, at});
      out[i] = -static_cast<int32_t>(pending_.size()) - 1;
      continue;
    }
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
      pending_.push_back({p, at});
      r = {-static_cast<int32_t>(pending_.size()), at.tag};
      out[i] = r.index - 1;
    }
  }
  if (useRecent) recentWorks_ = 4 * answered >= n;
  // The pending points searched for, each table by its own thread when there are enough;
  // then the new ones numbered in order of first appearance.
  resolved_.resize(pending_.size());
  taken_.resize(pending_.size());
  if (pending_.size() < 4096)
    searchTables(0, 2);
  else
    parallelFor(2, 1, [this](int64_t begin, int64_t end) {
      searchTables(static_cast<uint32_t>(begin), static_cast<uint32_t>(end));
    });
  for (size_t k = 0; k < pending_.size(); ++k) {
    int32_t& r = resolved_[k];
    if (r < -1) {
      r = resolved_[static_cast<size_t>(-r - 2)];
    } else if (r == -1 && count_ < room_) {
      r = count_++;
      vertices_[r] = pending_[k].point;
      *taken_[k] = pending_[k].at.slotTag | (r + 1);
    }
  }
  for (int32_t i = 0; i < n; ++i)
    if (out[i] < -1) out[i] = resolved_[static_cast<size_t>(-out[i] - 2)];
  for (size_t k = 0; useRecent && k < pending_.size(); ++k) {
    Recent& r = recent_[pending_[k].at.recent];
    if (r.index == -static_cast<int32_t>(k + 1)) r.index = resolved_[k] + 1;  // 0: unresolved
  }
}
