// What a command that records its own changes (Change::Own in its scope) calls as it edits:
// either it keeps each range of rows before overwriting it, or, when it rewrites most of an
// array, it takes the array's rows whole and writes the model's new rows into another block.
// Without a history, or outside an Own recording, both leave the rows where they are.
#pragma once

#include <cstdint>

#include "model/history.h"

// Whether `a` is recorded by the command itself now.
inline bool ownsRows(const History* h, HistoryArray a) {
  return h != nullptr && h->recording.active && h->recording.scope.arrays[a] == Change::Own;
}

// Copies rows [begin, end) of array `a` (rows of `rowBytes` at `rows`) into the recording; rows
// at or past the count the command found are left out (they are taken as appended).
void keepRowBytes(History& h, HistoryArray a, const void* rows, size_t rowBytes, int32_t begin,
                  int32_t end);
// A block the size of a whole array, for ownWhole: a spare one, else a new one whose first
// `used` bytes are asked for at once.
HeldRows wholeBlock(History& h, size_t bytes, size_t used);

// Before rows [begin, end) of `rows` (array `a`) are overwritten.
template <class T>
void keepRows(History* h, HistoryArray a, const FixedArray<T>& rows, int32_t begin, int32_t end) {
  if (!ownsRows(h, a) || h->recording.whole[a].bytes() != 0) return;
  keepRowBytes(*h, a, rows.data(), sizeof(T), begin, end);
}

// Before a command writes (nearly) every row of `rows` anew: the rows move into the recording
// and the model's array gets a block whose contents are undefined. Returns the rows to read
// from: the rows as they are now (rows kept before are written back into them once the
// command is done), or the model's own when they stay in place (no recording, not Own, or
// already taken). The command must then write every row it keeps.
// `count` rows are about to be written.
template <class T>
const T* ownWhole(History* h, HistoryArray a, FixedArray<T>& rows, int32_t count) {
  if (!ownsRows(h, a) || h->recording.whole[a].bytes() != 0) return rows.data();
  HeldRows& held = h->recording.whole[a];
  held = wholeBlock(*h, rows.size() * sizeof(T),
                    static_cast<size_t>(count > 0 ? count : 0) * sizeof(T));
  rows.exchangeRows(held);
  return static_cast<const T*>(held.data());
}
