#include "model/history.h"

#include <sys/sysinfo.h>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

namespace {

// Rows are compared in blocks; a changed block is kept whole, which keeps the comparison a
// plain memcmp and costs at most a block of unchanged rows per change.
constexpr int32_t kBlockRows = 256;

// One model array as bytes: its rows and how many of them belong to the model.
template <class Byte>
struct ArrayView {
  Byte* data;
  size_t rowBytes;
  int32_t count;
};

template <class Array>
ArrayView<std::byte> viewOf(Array& v, int32_t count) {
  using T = std::remove_reference_t<decltype(v[0])>;
  return {static_cast<std::byte*>(static_cast<void*>(v.data())), sizeof(T), count};
}

template <class Array>
ArrayView<const std::byte> viewOf(const Array& v, int32_t count) {
  using T = std::remove_cvref_t<decltype(v[0])>;
  return {static_cast<const std::byte*>(static_cast<const void*>(v.data())), sizeof(T), count};
}

template <class M>
auto arrayOf(M& m, int a) {
  switch (a) {
    case kHistVerts:
      return viewOf(m.vertexPos, m.vertexCount);
    case kHistTris:
      return viewOf(m.triVerts, m.triangleCount);
    case kHistFlags:
      return viewOf(m.triFlags, m.triangleCount);
    case kHistColors:
      return viewOf(m.triColor, m.triangleCount);
    default:
      return viewOf(m.lineVerts, m.lineCount);
  }
}

int32_t recordedCount(const Recording& r, int a) {
  if (a == kHistVerts) return r.vertexCount;
  if (a == kHistLines) return r.lineCount;
  return r.triangleCount;
}

constexpr size_t kSpareBuffers = 2;

// A buffer of at least `bytes`: the smallest spare that fits, else new memory.
RowBuffer takeBuffer(History& h, size_t bytes) {
  size_t best = h.spare.size();
  for (size_t i = 0; i < h.spare.size(); ++i) {
    if (h.spare[i].capacity < bytes) continue;
    if (best == h.spare.size() || h.spare[i].capacity < h.spare[best].capacity) best = i;
  }
  RowBuffer b;
  if (best < h.spare.size()) {
    b = std::move(h.spare[best]);
    h.spare.erase(h.spare.begin() + static_cast<std::ptrdiff_t>(best));
  } else if (bytes > 0) {
    b.bytes = std::make_unique_for_overwrite<std::byte[]>(bytes);
    b.capacity = bytes;
  }
  b.size = bytes;
  return b;
}

// Keeps the largest few buffers for reuse.
void giveBack(History& h, RowBuffer&& b) {
  if (b.capacity == 0) return;
  h.spare.push_back(std::move(b));
  if (h.spare.size() <= kSpareBuffers) return;
  auto smallest = std::min_element(
      h.spare.begin(), h.spare.end(),
      [](const RowBuffer& x, const RowBuffer& y) { return x.capacity < y.capacity; });
  h.spare.erase(smallest);
}

void releaseStep(History& h, HistoryStep& s) {
  for (ArrayPatch& p : s.arrays) giveBack(h, std::move(p.rows));
}

void addRange(std::vector<RowRange>& ranges, int32_t begin, int32_t end) {
  if (begin >= end) return;
  if (!ranges.empty() && ranges.back().end == begin) {
    ranges.back().end = end;
    return;
  }
  ranges.push_back({begin, end});
}

// The changed rows of one array, in the step's swap form: rows the model had before the
// command come from the copy taken then, rows it added from the model now.
ArrayPatch diffArray(History& h, int a, const ArrayView<const std::byte>& now) {
  Recording& r = h.recording;
  ArrayPatch patch;
  const Change change = r.scope.arrays[a];
  if (change == Change::None) return patch;
  const int32_t was = recordedCount(r, a);
  const int32_t common = std::min(was, now.count);
  if (change == Change::Rewrite) {
    const std::byte* before = r.before[a].bytes.get();
    for (int32_t row = 0; row < common; row += kBlockRows) {
      const int32_t end = std::min(common, row + kBlockRows);
      const size_t offset = static_cast<size_t>(row) * now.rowBytes;
      const size_t length = static_cast<size_t>(end - row) * now.rowBytes;
      if (std::memcmp(before + offset, now.data + offset, length) != 0)
        addRange(patch.ranges, row, end);
    }
  }
  addRange(patch.ranges, common, std::max(was, now.count));
  // Every row the model had changed and none was added: the copy is the step's rows as it is.
  const bool whole = change == Change::Rewrite && patch.ranges.size() == 1 &&
                     patch.ranges[0].begin == 0 && patch.ranges[0].end == was;
  if (whole) {
    patch.rows = std::move(r.before[a]);
    patch.rows.size = static_cast<size_t>(was) * now.rowBytes;
    return patch;
  }
  size_t total = 0;
  for (const RowRange& g : patch.ranges) total += static_cast<size_t>(g.end - g.begin);
  patch.rows = takeBuffer(h, total * now.rowBytes);
  std::byte* out = patch.rows.bytes.get();
  for (const RowRange& g : patch.ranges) {
    for (int32_t row = g.begin; row < g.end;) {
      // Rows below the old count that a rewrite may have changed come from the copy.
      const bool fromCopy = change == Change::Rewrite && row < was;
      const int32_t end = fromCopy ? std::min(g.end, was) : g.end;
      const size_t offset = static_cast<size_t>(row) * now.rowBytes;
      const size_t length = static_cast<size_t>(end - row) * now.rowBytes;
      std::memcpy(out, (fromCopy ? r.before[a].bytes.get() : now.data) + offset, length);
      out += length;
      row = end;
    }
  }
  return patch;
}

// Exchanges the step's rows, counts and names with the model's.
void applyStep(HistoryStep& s, Model& m) {
  for (int a = 0; a < kHistArrayCount; ++a) {
    ArrayPatch& p = s.arrays[a];
    if (p.ranges.empty()) continue;
    const auto view = arrayOf(m, a);
    std::byte* stored = p.rows.bytes.get();
    for (const RowRange& g : p.ranges) {
      const size_t length = static_cast<size_t>(g.end - g.begin) * view.rowBytes;
      std::swap_ranges(stored, stored + length,
                       view.data + static_cast<size_t>(g.begin) * view.rowBytes);
      stored += length;
    }
  }
  std::swap(s.vertexCount, m.vertexCount);
  std::swap(s.triangleCount, m.triangleCount);
  std::swap(s.lineCount, m.lineCount);
  if (s.namesChanged) std::swap(s.partNames, m.partNames);
}

void dropOldest(History& h) {
  h.bytes -= h.steps.front().bytes;
  releaseStep(h, h.steps.front());
  h.steps.pop_front();
  if (h.position > 0) --h.position;
}

}  // namespace

ChangeScope scopeWith(ChangeScope s, HistoryArray a, Change c) {
  s.arrays[a] = c;
  return s;
}

uint64_t historyMemoryLimit() {
  constexpr uint64_t kGiB = uint64_t{1} << 30;
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return kGiB;
  const uint64_t quarter = static_cast<uint64_t>(info.totalram) * info.mem_unit / 4;
  return std::min(kGiB, quarter);
}

void beginStep(History& h, const Model& m, ChangeScope scope) {
  Recording& r = h.recording;
  r.active = true;
  r.scope = scope;
  r.vertexCount = m.vertexCount;
  r.triangleCount = m.triangleCount;
  r.lineCount = m.lineCount;
  r.partNames = m.partNames;
  for (int a = 0; a < kHistArrayCount; ++a) {
    if (scope.arrays[a] != Change::Rewrite) continue;
    const auto view = arrayOf(m, a);
    const size_t bytes = static_cast<size_t>(std::max(view.count, 0)) * view.rowBytes;
    if (r.before[a].capacity < bytes) {
      giveBack(h, std::move(r.before[a]));
      r.before[a] = takeBuffer(h, bytes);
    }
    r.before[a].size = bytes;
    if (bytes > 0) std::memcpy(r.before[a].bytes.get(), view.data, bytes);
  }
}

bool endStep(History& h, const Model& m) {
  Recording& r = h.recording;
  if (!r.active) return false;
  r.active = false;
  HistoryStep step;
  bool changed = false;
  for (int a = 0; a < kHistArrayCount; ++a) {
    step.arrays[a] = diffArray(h, a, arrayOf(m, a));
    changed = changed || !step.arrays[a].ranges.empty();
    step.bytes += step.arrays[a].rows.capacity + step.arrays[a].ranges.size() * sizeof(RowRange);
  }
  step.vertexCount = r.vertexCount;
  step.triangleCount = r.triangleCount;
  step.lineCount = r.lineCount;
  changed = changed || r.vertexCount != m.vertexCount || r.triangleCount != m.triangleCount ||
            r.lineCount != m.lineCount;
  if (r.partNames != m.partNames) {
    step.namesChanged = true;
    step.partNames = r.partNames;
    changed = true;
  }
  if (!changed) {
    releaseStep(h, step);
    return false;
  }
  step.bytes += sizeof(HistoryStep);
  // A new command drops the steps that could have been redone.
  while (h.steps.size() > h.position) {
    h.bytes -= h.steps.back().bytes;
    releaseStep(h, h.steps.back());
    h.steps.pop_back();
  }
  step.stateBefore = h.currentState;
  step.stateAfter = h.nextState++;
  h.currentState = step.stateAfter;
  h.bytes += step.bytes;
  h.steps.push_back(std::move(step));
  h.position = h.steps.size();
  if (h.limit == 0) h.limit = historyMemoryLimit();
  while (!h.steps.empty() && h.bytes > h.limit) dropOldest(h);
  return true;
}

bool canUndo(const History& h) {
  return h.position > 0;
}

bool canRedo(const History& h) {
  return h.position < h.steps.size();
}

bool undoStep(History& h, Model& m) {
  if (!canUndo(h)) return false;
  HistoryStep& s = h.steps[--h.position];
  applyStep(s, m);
  h.currentState = s.stateBefore;
  return true;
}

bool redoStep(History& h, Model& m) {
  if (!canRedo(h)) return false;
  HistoryStep& s = h.steps[h.position++];
  applyStep(s, m);
  h.currentState = s.stateAfter;
  return true;
}

void clearHistory(History& h) {
  for (HistoryStep& s : h.steps) releaseStep(h, s);
  h.steps.clear();
  h.position = 0;
  h.bytes = 0;
}
