#include "io/vertex_weld.h"

using weld_detail::sameBits;

VertexWelder::VertexWelder(std::span<int32_t> first, std::span<int32_t> second, Vec3* vertices)
    : first_(first.data()),
      second_(second.data()),
      firstSize_(static_cast<uint32_t>(first.size())),
      total_(static_cast<uint32_t>(first.size() + second.size())),
      vertices_(vertices) {}

VertexWelder::Lookup VertexWelder::lookup(Vec3 p) const {
  const uint64_t h = weld_detail::hashPoint(
      std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y), std::bit_cast<uint32_t>(p.z));
  // The high half mapped onto 0 .. total - 1 without a division; the low bits pick the entry.
  return {static_cast<uint32_t>(((h >> 32) * total_) >> 32),
          static_cast<uint32_t>(h) & (kRecentEntries - 1), static_cast<uint32_t>(h >> 16)};
}

int32_t VertexWelder::findOrAdd(const Pending& p, int32_t room) {
  for (uint32_t i = p.at.home;;) {
    int32_t& s = slot(i);
    if (s == 0) {
      if (count_ >= room) return -1;
      const int32_t index = count_++;
      vertices_[index] = p.point;
      s = index + 1;
      return index;
    }
    if (sameBits(vertices_[s - 1], p.point)) return s - 1;
    if (++i == total_) i = 0;
  }
}

void VertexWelder::weld(const Vec3* points, int32_t n, int32_t* out, int32_t room) {
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
  for (size_t k = 0; k < pending_.size(); ++k) resolved_[k] = findOrAdd(pending_[k], room);
  for (int32_t i = 0; i < n; ++i)
    if (out[i] < -1) out[i] = resolved_[static_cast<size_t>(-out[i] - 2)];
  for (size_t k = 0; k < pending_.size(); ++k) {
    Recent& r = recent_[pending_[k].at.recent];
    if (r.index == -static_cast<int32_t>(k + 1)) r.index = resolved_[k] + 1;  // 0: unresolved
  }
}
