// Undo and redo: each command that changed the model leaves one step holding only the rows it
// changed (and the counts and part names when those changed), bounded by memory.
//
// A step holds "the other version" of its rows: applying it exchanges those rows, the counts
// and the names with the model's, so one routine both undoes and redoes a step.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "model/model.h"

// The model arrays a step can hold, in this order.
enum HistoryArray : int {
  kHistVerts = 0,   // vertexPos, vertexCount rows
  kHistTris = 1,    // triVerts, triangleCount rows
  kHistFlags = 2,   // triFlags, triangleCount rows
  kHistColors = 3,  // triColor, triangleCount rows
  kHistLines = 4,   // lineVerts, lineCount rows
  kHistArrayCount = 5,
};

// How a command can change one array.
enum class Change : uint8_t {
  None,     // never touched
  Append,   // only rows at or past the count it found are written; the count may also drop
  Rewrite,  // any row may change: the rows are compared against a copy taken before
  Own,      // the command keeps what it overwrites itself (model/history_keep.h); the rows
            // between the counts before and after are taken as Append takes them
};

// What one command can change; the part names are always compared.
struct ChangeScope {
  std::array<Change, kHistArrayCount> arrays{};
};

constexpr ChangeScope kScopeNone{};
constexpr ChangeScope kScopeAppend{
    {Change::Append, Change::Append, Change::Append, Change::Append, Change::Append}};
constexpr ChangeScope kScopeRewrite{
    {Change::Rewrite, Change::Rewrite, Change::Rewrite, Change::Rewrite, Change::Rewrite}};
ChangeScope scopeWith(ChangeScope s, HistoryArray a, Change c);

struct RowRange {
  int32_t begin = 0, end = 0;  // rows [begin, end)
};

// Bytes that are never zero-filled (every byte used is written first), kept for reuse.
struct RowBuffer {
  std::unique_ptr<std::byte[]> bytes;
  size_t capacity = 0;  // allocated
  size_t size = 0;      // in use

  RowBuffer() = default;
  RowBuffer(RowBuffer&& o) noexcept
      : bytes(std::move(o.bytes)),
        capacity(std::exchange(o.capacity, 0)),
        size(std::exchange(o.size, 0)) {}
  RowBuffer& operator=(RowBuffer&& o) noexcept {
    bytes = std::move(o.bytes);
    capacity = std::exchange(o.capacity, 0);
    size = std::exchange(o.size, 0);
    return *this;
  }
};

// The other version of some rows of one array: the ranges, and their rows back to back. Ranges
// may repeat rows (a command that kept a row twice): they are exchanged last to first on undo
// and first to last on redo, which brings back each version whatever the overlaps.
struct ArrayPatch {
  std::vector<RowRange> ranges;
  RowBuffer rows;
};

struct HistoryStep {
  std::array<ArrayPatch, kHistArrayCount> arrays;
  std::array<HeldRows, kHistArrayCount> whole;  // whole arrays of the other version, if any
  int32_t vertexCount = 0, triangleCount = 0, lineCount = 0;  // the other state's counts
  bool namesChanged = false;
  std::array<std::array<char, kPartNameLength + 1>, kPartGroups> partNames{};
  uint64_t stateBefore = 0, stateAfter = 0;  // ids of the model states on either side
  uint64_t bytes = 0;                        // memory the step holds
};

// What beginStep took, for endStep to compare against.
struct Recording {
  bool active = false;
  ChangeScope scope;
  int32_t vertexCount = 0, triangleCount = 0, lineCount = 0;
  std::array<std::array<char, kPartNameLength + 1>, kPartGroups> partNames{};
  std::array<RowBuffer, kHistArrayCount> before;  // rows [0, count) of each rewritable array
  std::array<ArrayPatch, kHistArrayCount> kept;   // Own arrays: rows as they were, in order kept
  std::array<HeldRows, kHistArrayCount> whole;    // Own arrays handed over whole (ownWhole)
};

struct History {
  std::deque<HistoryStep> steps;  // oldest first; [0, position) undo, [position, size) redo
  size_t position = 0;
  uint64_t bytes = 0;         // held by the steps
  uint64_t limit = 0;         // for the steps and the spares together; 0: historyMemoryLimit()
  uint64_t currentState = 1;  // id of the model state now
  uint64_t savedState = 1;    // id of the state last loaded or saved
  uint64_t nextState = 2;     // the id the next recorded state gets
  Recording recording;
  std::vector<RowBuffer> spare;  // buffers of dropped steps, reused before new memory is faulted in
  std::vector<HeldRows> spareWhole;  // whole arrays of dropped steps, reused the same way
};

// At most 1 GiB or a quarter of physical memory, whichever is smaller.
uint64_t historyMemoryLimit();

// Before a command: copies what `scope` says may be rewritten.
void beginStep(History& h, const Model& m, ChangeScope scope);
// After it: keeps a step when the model changed (dropping the redo steps and, past the
// memory limit, the oldest steps). Returns whether a step was kept or the model changed.
bool endStep(History& h, const Model& m);

// Runs `command` as one step of the history and returns its result.
template <class Command>
auto recordStep(History& h, Model& m, ChangeScope scope, Command&& command) {
  beginStep(h, m, scope);
  auto result = command();
  endStep(h, m);
  return result;
}

// One step back or forward; false when there is none.
bool undoStep(History& h, Model& m);
bool redoStep(History& h, Model& m);
bool canUndo(const History& h);
bool canRedo(const History& h);

// The model differs from what was last loaded or saved.
inline bool modelUnsaved(const History& h) {
  return h.currentState != h.savedState;
}
// The model now is what the file holds.
inline void markSaved(History& h) {
  h.savedState = h.currentState;
}
// The model now matches no file (a recovered model).
inline void markNeverSaved(History& h) {
  h.savedState = 0;
}
// Forgets every step (the model stays as it is).
void clearHistory(History& h);
