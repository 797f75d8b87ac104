// Welding of bit-identical points into shared vertices during an import.
#pragma once

#include <cstdint>

#include "model/model.h"

// Open-addressing table from the 12 bytes of a point to its vertex index. The slots are the
// model's two per-vertex scratch tables taken together (2·(maxv + 1) entries), so the table
// needs no memory of its own and is never more than half full. Vertices are appended in the
// order in which each distinct point first appears: the indices are those a linear search
// over the vertices found so far would give.
class VertexWelder {
 public:
  // Clears the slots; the model's vertices are expected to start at vertexCount 0.
  explicit VertexWelder(Model& m);
  // The index of the vertex whose coordinates are bit for bit those of p; a new vertex is
  // appended when there is none. The caller keeps vertexCount below maxv.
  int32_t weld(Vec3 p) { return weldAt(p, home(p)); }

  // The same in two steps, so a caller can look ahead: the home slot of a point, a hint
  // to bring that slot into the cache, and the weld starting from the slot.
  uint32_t home(Vec3 p) const;
  void prefetch(uint32_t slotIndex) const;
  int32_t weldAt(Vec3 p, uint32_t slotIndex);

 private:
  int32_t& slot(uint32_t i) { return i < firstSize_ ? first_[i] : second_[i - firstSize_]; }

  Model& m_;
  int32_t* first_;
  int32_t* second_;
  uint32_t firstSize_, total_;
};
