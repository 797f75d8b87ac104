#include "io/vertex_weld.h"

#include <algorithm>

VertexWelder::VertexWelder(Model& m)
    : m_(m),
      first_(m.vertexMark.data()),
      second_(m.vertexRemap.data()),
      firstSize_(static_cast<uint32_t>(m.vertexMark.size())),
      total_(static_cast<uint32_t>(m.vertexMark.size() + m.vertexRemap.size())) {
  // Slots hold vertex index + 1; 0 is an empty slot.
  std::fill(m.vertexMark.begin(), m.vertexMark.end(), 0);
  std::fill(m.vertexRemap.begin(), m.vertexRemap.end(), 0);
}
