#include "model/history.h"

#include <sys/sysinfo.h>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

#include "model/history_keep.h"

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

size_t rowBytesOf(int a) {
  constexpr size_t kRowBytes[kHistArrayCount] = {sizeof(Vec3), sizeof(Tri), sizeof(uint8_t),
                                                 sizeof(uint16_t), sizeof(Line)};
  return kRowBytes[a];
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

void giveBackWhole(History& h, HeldRows&& b) {
  if (b.bytes() == 0) return;
  h.spareWhole.push_back(std::move(b));
  if (h.spareWhole.size() > kHistArrayCount) h.spareWhole.erase(h.spareWhole.begin());
}

void releaseStep(History& h, HistoryStep& s) {
  for (ArrayPatch& p : s.arrays) giveBack(h, std::move(p.rows));
  for (HeldRows& w : s.whole) giveBackWhole(h, std::move(w));
}

// Rows [begin, end) of `rows` appended to a patch, its buffer grown as needed.
void appendRows(History& h, ArrayPatch& p, const std::byte* rows, size_t rowBytes, int32_t begin,
                int32_t end) {
  if (begin >= end) return;
  const size_t length = static_cast<size_t>(end - begin) * rowBytes;
  const size_t used = p.rows.size;
  if (used + length > p.rows.capacity) {
    RowBuffer grown = takeBuffer(h, std::max(used + length, 2 * p.rows.capacity));
    if (used > 0) std::memcpy(grown.bytes.get(), p.rows.bytes.get(), used);
    giveBack(h, std::move(p.rows));
    p.rows = std::move(grown);
  }
  std::memcpy(p.rows.bytes.get() + used, rows + static_cast<size_t>(begin) * rowBytes, length);
  p.rows.size = used + length;
  if (!p.ranges.empty() && p.ranges.back().end == begin)
    p.ranges.back().end = end;
  else
    p.ranges.push_back({begin, end});
}

// Whether the stored rows of a patch differ from the model's rows now (stops at the first
// changed block).
bool patchDiffers(const ArrayPatch& p, const ArrayView<const std::byte>& now) {
  const std::byte* stored = p.rows.bytes.get();
  for (const RowRange& g : p.ranges) {
    for (int32_t row = g.begin; row < g.end; row += kBlockRows) {
      const int32_t end = std::min(g.end, row + kBlockRows);
      const size_t length = static_cast<size_t>(end - row) * now.rowBytes;
      if (std::memcmp(stored, now.data + static_cast<size_t>(row) * now.rowBytes, length) != 0)
        return true;
      stored += length;
    }
  }
  return false;
}

// The rows kept before the array was taken whole, written back into it: it then holds the
// array as the command found it.
void restoreKept(History& h, int a) {
  ArrayPatch& kept = h.recording.kept[a];
  if (kept.ranges.empty()) return;
  auto* held = static_cast<std::byte*>(h.recording.whole[a].data());
  const size_t rowBytes = rowBytesOf(a);
  // Last to first: where a row was kept twice, the first copy (the row as found) goes in last.
  const std::byte* stored = kept.rows.bytes.get() + kept.rows.size;
  for (auto g = kept.ranges.rbegin(); g != kept.ranges.rend(); ++g) {
    const size_t length = static_cast<size_t>(g->end - g->begin) * rowBytes;
    stored -= length;
    std::memcpy(held + static_cast<size_t>(g->begin) * rowBytes, stored, length);
  }
  kept.ranges.clear();
  kept.rows.size = 0;
}

// The step's part for an array the command recorded itself.
void ownedPatch(History& h, HistoryStep& step, int a, const ArrayView<const std::byte>& now) {
  Recording& r = h.recording;
  const int32_t was = recordedCount(r, a);
  HeldRows& whole = r.whole[a];
  if (whole.bytes() != 0) {
    restoreKept(h, a);
    const int32_t common = std::min(was, now.count);
    bool differs = was != now.count;
    const auto* held = static_cast<const std::byte*>(whole.data());
    for (int32_t row = 0; row < common && !differs; row += kBlockRows) {
      const size_t offset = static_cast<size_t>(row) * now.rowBytes;
      const size_t length =
          static_cast<size_t>(std::min(common, row + kBlockRows) - row) * now.rowBytes;
      differs = std::memcmp(held + offset, now.data + offset, length) != 0;
    }
    if (differs) {
      step.whole[a] = std::move(whole);
      step.bytes += static_cast<uint64_t>(std::max(was, now.count)) * now.rowBytes;
    } else {
      giveBackWhole(h, std::move(whole));
    }
    whole = HeldRows();
    return;
  }
  ArrayPatch& kept = r.kept[a];
  if (!patchDiffers(kept, now)) {
    kept.ranges.clear();
    kept.rows.size = 0;
  }
  // The rows between the two counts, as they are now: appended ones for redo; those past a
  // dropped count for undo after a later command appended over them.
  appendRows(h, kept, now.data, now.rowBytes, std::min(was, now.count), std::max(was, now.count));
  if (kept.ranges.empty()) return;
  // A buffer grown by doubling may be mostly empty: the step keeps only what it holds.
  if (kept.rows.capacity > 2 * kept.rows.size) {
    RowBuffer exact = takeBuffer(h, kept.rows.size);
    std::memcpy(exact.bytes.get(), kept.rows.bytes.get(), kept.rows.size);
    giveBack(h, std::move(kept.rows));
    kept.rows = std::move(exact);
  }
  step.arrays[a] = std::move(kept);
  kept = ArrayPatch();
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

void exchangeWhole(Model& m, int a, HeldRows& whole) {
  switch (a) {
    case kHistVerts:
      return m.vertexPos.exchangeRows(whole);
    case kHistTris:
      return m.triVerts.exchangeRows(whole);
    case kHistFlags:
      return m.triFlags.exchangeRows(whole);
    case kHistColors:
      return m.triColor.exchangeRows(whole);
    default:
      return m.lineVerts.exchangeRows(whole);
  }
}

void swapRange(std::byte* stored, const ArrayView<std::byte>& view, const RowRange& g) {
  const size_t length = static_cast<size_t>(g.end - g.begin) * view.rowBytes;
  std::swap_ranges(stored, stored + length,
                   view.data + static_cast<size_t>(g.begin) * view.rowBytes);
}

// Exchanges the step's rows, counts and names with the model's: ranges last to first when
// undoing, first to last when redoing.
void applyStep(HistoryStep& s, Model& m, bool undo) {
  for (int a = 0; a < kHistArrayCount; ++a) {
    if (s.whole[a].bytes() != 0) exchangeWhole(m, a, s.whole[a]);
    ArrayPatch& p = s.arrays[a];
    if (p.ranges.empty()) continue;
    const auto view = arrayOf(m, a);
    if (undo) {
      std::byte* stored = p.rows.bytes.get() + p.rows.size;
      for (auto g = p.ranges.rbegin(); g != p.ranges.rend(); ++g) {
        stored -= static_cast<size_t>(g->end - g->begin) * view.rowBytes;
        swapRange(stored, view, *g);
      }
    } else {
      std::byte* stored = p.rows.bytes.get();
      for (const RowRange& g : p.ranges) {
        swapRange(stored, view, g);
        stored += static_cast<size_t>(g.end - g.begin) * view.rowBytes;
      }
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

uint64_t spareBytes(const History& h) {
  uint64_t n = 0;
  for (const RowBuffer& b : h.spare) n += b.capacity;
  for (const HeldRows& w : h.spareWhole) n += w.bytes();
  return n;
}

// The steps and the spare memory kept for reuse together within the limit: spares go first,
// then the oldest steps (whose memory becomes spare, and goes in turn).
void trimToLimit(History& h) {
  while (h.bytes + spareBytes(h) > h.limit) {
    if (!h.spareWhole.empty()) {
      h.spareWhole.erase(h.spareWhole.begin());
    } else if (!h.spare.empty()) {
      h.spare.pop_back();
    } else if (!h.steps.empty()) {
      dropOldest(h);
    } else {
      break;
    }
  }
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
    r.kept[a].ranges.clear();
    r.kept[a].rows.size = 0;
    giveBackWhole(h, std::move(r.whole[a]));
    r.whole[a] = HeldRows();
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
    if (r.scope.arrays[a] == Change::Own)
      ownedPatch(h, step, a, arrayOf(m, a));
    else
      step.arrays[a] = diffArray(h, a, arrayOf(m, a));
    changed = changed || !step.arrays[a].ranges.empty() || step.whole[a].bytes() != 0;
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
  trimToLimit(h);
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
  applyStep(s, m, true);
  h.currentState = s.stateBefore;
  return true;
}

bool redoStep(History& h, Model& m) {
  if (!canRedo(h)) return false;
  HistoryStep& s = h.steps[h.position++];
  applyStep(s, m, false);
  h.currentState = s.stateAfter;
  return true;
}

void clearHistory(History& h) {
  for (HistoryStep& s : h.steps) releaseStep(h, s);
  h.steps.clear();
  h.position = 0;
  h.bytes = 0;
}

void keepRowBytes(History& h, HistoryArray a, const void* rows, size_t rowBytes, int32_t begin,
                  int32_t end) {
  end = std::min(end, recordedCount(h.recording, a));
  RowBuffer& buffer = h.recording.kept[a].rows;
  if (buffer.capacity == 0 && begin < end) {  // a first buffer of some size
    buffer = takeBuffer(h, std::max(size_t{1} << 16, static_cast<size_t>(end - begin) * rowBytes));
    buffer.size = 0;
  }
  appendRows(h, h.recording.kept[a], static_cast<const std::byte*>(rows), rowBytes, begin, end);
}

HeldRows wholeBlock(History& h, size_t bytes, size_t used) {
  for (size_t i = 0; i < h.spareWhole.size(); ++i) {
    if (h.spareWhole[i].bytes() != bytes) continue;
    HeldRows b = std::move(h.spareWhole[i]);
    h.spareWhole.erase(h.spareWhole.begin() + static_cast<std::ptrdiff_t>(i));
    return b;
  }
  HeldRows b(bytes);
  prepareZeroedBlock(b.data(), std::min(used, bytes));
  return b;
}
