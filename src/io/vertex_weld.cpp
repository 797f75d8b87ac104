#include "io/vertex_weld.h"

#include <algorithm>

using weld_detail::sameBits;

VertexWelder::VertexWelder(std::span<int32_t> first, std::span<int32_t> second, Vec3* vertices,
                           int32_t room)
    : first_(first.data()),
      second_(second.data()),
      firstSize_(static_cast<uint32_t>(first.size())),
      total_(static_cast<uint32_t>(first.size() + second.size())),
      vertices_(vertices),
      room_(room),
      indexBits_(std::bit_width(static_cast<uint32_t>(std::max(room, 1)))) {}

VertexWelder::Lookup VertexWelder::lookup(Vec3 p) const {
  const uint64_t h = weld_detail::hashPoint(
      std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y), std::bit_cast<uint32_t>(p.z));
  // The high half mapped onto 0 .. total - 1 without a division; the low bits pick the entry.
  // The slot's tag from the low half, which the home slot hardly depends on.
  const uint32_t low = static_cast<uint32_t>(h) & 0x7FFFFFFFu;
  const uint32_t slotTag = indexBits_ >= 31 ? 0 : low >> indexBits_ << indexBits_;
  return {static_cast<uint32_t>(((h >> 32) * total_) >> 32),
          static_cast<uint32_t>(h) & (kRecentEntries - 1), static_cast<uint32_t>(h >> 16),
          static_cast<int32_t>(slotTag)};
}

int32_t VertexWelder::findOrAdd(const Pending& p) {
  const int32_t indexMask = static_cast<int32_t>((uint32_t{1} << indexBits_) - 1);
  for (uint32_t i = p.at.home;;) {
    int32_t& s = slot(i);
    if (s == 0) {
      if (count_ >= room_) return -1;
      const int32_t index = count_++;
      vertices_[index] = p.point;
      s = p.at.slotTag | (index + 1);
      return index;
    }
    const int32_t index = (s & indexMask) - 1;
    if ((s & ~indexMask) == p.at.slotTag && sameBits(vertices_[index], p.point)) return index;
    if (++i == total_) i = 0;
  }
}

void VertexWelder::weld(const Vec3* points, int32_t n, int32_t* out) {
  // The points the recent ones answer; the others become pending, once each as long as the
  // recent entry remembers them (a point pending twice is found by its second lookup).
  pending_.clear();
  for (int32_t i = 0; i < n; ++i) {
    const Vec3 p = points[i];
    const Lookup at = lookup(p);
    Recent& r = recent_[at.recent];
    const bool tagged = r.tag == at.tag;
    if (tagged && r.index > 0 && sameBits(vertices_[r.index - 1], p)) {
      out[i] = r.index - 1;
    } else if (tagged && r.index < 0 &&
               sameBits(pending_[static_cast<size_t>(-r.index - 1)].point, p)) {
      out[i] = r.index - 1;  // -(k + 2) for pending point k
    } else {
      pending_.push_back({p, at});
      r = {-static_cast<int32_t>(pending_.size()), at.tag};
      out[i] = r.index - 1;
    }
  }
  // The pending points in order of first appearance, so that new vertices come in that order.
  resolved_.resize(pending_.size());
  for (size_t k = 0; k < pending_.size(); ++k) resolved_[k] = findOrAdd(pending_[k]);
  for (int32_t i = 0; i < n; ++i)
    if (out[i] < -1) out[i] = resolved_[static_cast<size_t>(-out[i] - 2)];
  for (size_t k = 0; k < pending_.size(); ++k) {
    Recent& r = recent_[pending_[k].at.recent];
    if (r.index == -static_cast<int32_t>(k + 1)) r.index = resolved_[k] + 1;  // 0: unresolved
  }
}
