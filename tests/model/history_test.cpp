// The history's own rules: a step holds only what changed, memory is bounded with the oldest
// steps dropped first, and the saved state is known across undo and redo.
#include "model/history.h"

#include <gtest/gtest.h>

#include <random>

#include "model/history_keep.h"
#include "support/model_snapshot.h"
#include "support/small_models.h"

namespace {

constexpr ChangeScope kVerts = {
    {Change::Rewrite, Change::None, Change::None, Change::None, Change::None}};

// A model of `n` vertices along x.
Model lineOfVertices(int32_t n) {
  Model m = makeEmptyModel(n + 10, 10, 10);
  for (int32_t i = 0; i < n; ++i) addVertex(m, static_cast<float>(i), 0.0f, 0.0f);
  return m;
}

void moveVertex(History& h, Model& m, int32_t v, float dx) {
  recordStep(h, m, kVerts, [&] {
    m.vertexPos[v].x += dx;
    return 0;
  });
}

TEST(History, StepHoldsOnlyTheChangedRows) {
  Model m = lineOfVertices(100000);
  History h;
  moveVertex(h, m, 50000, 1.0f);
  ASSERT_EQ(h.steps.size(), 1u);
  // One block of rows, not the 1.2 MB of the whole vertex array.
  EXPECT_LT(h.steps[0].bytes, 8u * 1024u);
  // An unchanged model leaves no step.
  recordStep(h, m, kScopeRewrite, [] { return 0; });
  EXPECT_EQ(h.steps.size(), 1u);
}

TEST(History, OldestStepsGoFirstPastTheLimit) {
  Model m = lineOfVertices(2000);
  History h;
  h.limit = 3 * 1024 * 8;  // room for a few one-block steps
  std::vector<ModelSnapshot> states = {snapshotOf(m)};
  for (int i = 0; i < 40; ++i) {
    moveVertex(h, m, (i * 300) % 2000, 1.0f);
    states.push_back(snapshotOf(m));
  }
  EXPECT_LE(h.bytes, h.limit);
  ASSERT_GT(h.steps.size(), 0u);
  ASSERT_LT(h.steps.size(), 40u);
  // Undoing everything kept reaches the state before the oldest kept step.
  size_t undone = 0;
  while (undoStep(h, m)) ++undone;
  EXPECT_EQ(undone, h.steps.size());
  EXPECT_EQ(snapshotOf(m), states[40 - undone]);
  while (redoStep(h, m)) {
  }
  EXPECT_EQ(snapshotOf(m), states.back());
}

// Memory of dropped steps kept for reuse counts against the limit too.
TEST(History, StepsAndSpareMemoryStayWithinTheLimit) {
  Model m = lineOfVertices(20000);
  History h;
  const uint64_t whole = m.vertexPos.size() * sizeof(Vec3);
  h.limit = 2 * whole + whole / 2;  // two whole vertex arrays and some rows
  constexpr ChangeScope kOwnVerts = {
      {Change::Own, Change::None, Change::None, Change::None, Change::None}};
  std::mt19937 rng(3);
  for (int i = 0; i < 60; ++i) {
    if (rng() % 3 == 0) {
      moveVertex(h, m, static_cast<int32_t>(rng() % 20000), 1.0f);
    } else {
      recordStep(h, m, kOwnVerts, [&] {
        const Vec3* from = ownWhole(&h, kHistVerts, m.vertexPos, m.vertexCount);
        for (int32_t v = 0; v < m.vertexCount; ++v)
          m.vertexPos[v] = {from[v].x + 1.0f, from[v].y, from[v].z};
        return 0;
      });
    }
    // Undone steps are dropped by the next one: their memory becomes spare.
    for (int k = static_cast<int>(rng() % 3); k > 0; --k) undoStep(h, m);
    uint64_t spare = 0;
    for (const RowBuffer& b : h.spare) spare += b.capacity;
    for (const HeldRows& w : h.spareWhole) spare += w.bytes();
    ASSERT_LE(h.bytes + spare, h.limit) << "step " << i;
  }
}

TEST(History, UnsavedFollowsTheStateNotTheStepCount) {
  Model m = lineOfVertices(10);
  History h;
  EXPECT_FALSE(modelUnsaved(h));
  moveVertex(h, m, 1, 1.0f);
  EXPECT_TRUE(modelUnsaved(h));
  markSaved(h);
  moveVertex(h, m, 2, 1.0f);
  EXPECT_TRUE(modelUnsaved(h));
  undoStep(h, m);
  EXPECT_FALSE(modelUnsaved(h));  // back at the saved model
  undoStep(h, m);
  EXPECT_TRUE(modelUnsaved(h));
  // A new command from here makes the saved state unreachable by redo.
  moveVertex(h, m, 3, 1.0f);
  EXPECT_FALSE(redoStep(h, m));
  undoStep(h, m);
  EXPECT_TRUE(modelUnsaved(h));
}

// A command that keeps its own rows: overlapping ranges kept before each overwrite, sometimes
// the whole array taken part way through, rows appended or the count dropped. Undoing all its
// steps gives the first model back and redoing them the last, whatever the mix.
TEST(History, RowsTheCommandKeepsItselfComeBackInAnyMix) {
  std::mt19937 rng(7);
  const auto below = [&rng](int32_t n) {
    return static_cast<int32_t>(rng() % static_cast<uint32_t>(n));
  };
  Model m = lineOfVertices(600);
  History h;
  const ChangeScope own = scopeWith(kScopeNone, kHistVerts, Change::Own);
  std::vector<ModelSnapshot> states = {snapshotOf(m)};
  for (int step = 0; step < 60; ++step) {
    recordStep(h, m, own, [&] {
      History* hp = &h;
      const int32_t wholeAt = below(4) == 0 ? below(5) : -1;
      for (int write = 0; write < 5; ++write) {
        if (write == wholeAt) {
          const int32_t n = m.vertexCount;
          const Vec3* from = ownWhole(hp, kHistVerts, m.vertexPos, n);
          Vec3* to = m.vertexPos.data();
          for (int32_t v = 0; v < n; ++v) to[v] = from[v];
        }
        const int32_t begin = below(m.vertexCount);
        const int32_t end = std::min(m.vertexCount, begin + 1 + below(300));
        keepRows(hp, kHistVerts, m.vertexPos, begin, end);
        for (int32_t v = begin; v < end; ++v) m.vertexPos[v].y += static_cast<float>(step + 1);
      }
      if (below(3) == 0 && m.vertexCount < m.maxv)
        addVertex(m, -1.0f, static_cast<float>(step), 0.0f);
      if (below(3) == 0) m.vertexCount -= 1 + below(3);
      return 0;
    });
    states.push_back(snapshotOf(m));
  }
  ASSERT_EQ(h.steps.size(), 60u);
  for (size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(undoStep(h, m));
    ASSERT_EQ(snapshotOf(m), states[i - 1]) << "undo to state " << i - 1;
  }
  for (size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(redoStep(h, m));
    ASSERT_EQ(snapshotOf(m), states[i]) << "redo to state " << i;
  }
}

TEST(History, LimitIsAGibibyteOrAQuarterOfMemory) {
  const uint64_t limit = historyMemoryLimit();
  EXPECT_GT(limit, 0u);
  EXPECT_LE(limit, uint64_t{1} << 30);
}

}  // namespace
