// A second process rewrites a file, over and over, between a sound version and one whose
// every record is bad (NaN corners, indices past the vertices, group bytes of 127), while
// the editor loads it. Every load must either take the sound version whole or refuse the
// file and change nothing: never a model built from bytes that were not checked.
#include <fcntl.h>
#include <sys/prctl.h>

#include <cmath>
#include <limits>

#include "io/file_test_support.h"
#include "io/model_file.h"
#include "io/part_file.h"
#include "model/model_check.h"

namespace {

using namespace filetest;

constexpr int32_t kV = 3000, kT = 6000, kL = 50;

// A sound RQ file and its twin of the same length with every vertex, index and group bad.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> rqPair() {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Bytes good, bad;
  for (Bytes* b : {&good, &bad}) b->str("RQNEW").i32(kV).i32(kT).i32(kL).i32(1);
  for (int32_t i = 0; i < kV; ++i) {
    good.vec(float(i), float(i % 7), -float(i));
    bad.vec(nan, nan, nan);
  }
  for (int32_t t = 0; t < kT; ++t) {
    good.i32(t % kV).i32((t * 7 + 1) % kV).i32((t * 13 + 2) % kV);
    bad.i32(INT32_MAX).i32(-1).i32(kV);
  }
  for (int32_t t = 0; t < kT; ++t) {
    good.u8(static_cast<uint8_t>(t % 3));
    bad.u8(127);
  }
  for (int32_t t = 0; t < kT; ++t)
    for (Bytes* b : {&good, &bad}) b->u16(static_cast<uint16_t>(t));
  for (int32_t i = 0; i < kL; ++i) {
    good.i32(i).i32(i + 1);
    bad.i32(-5).i32(kV + 5);
  }
  for (Bytes* b : {&good, &bad}) b->zeros(1200);
  return {good.b, bad.b};
}

// The same facets as binary STL, the twin with every corner NaN.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> stlPair() {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Bytes good, bad;
  for (Bytes* b : {&good, &bad}) b->zeros(80).i32(kT);
  for (int32_t t = 0; t < kT; ++t) {
    good.vec(0, 0, 1);
    bad.vec(0, 0, 1);
    for (int k = 0; k < 3; ++k) {
      good.vec(float((t + k) % 60), float((t + k) / 60 % 40), 0.0f);
      bad.vec(nan, nan, nan);
    }
    good.u16(1);
    bad.u16(1);
  }
  return {good.b, bad.b};
}

// A process that writes the two versions over the file in place, in turn, until killed.
class Rewriter {
 public:
  Rewriter(const std::string& file, const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    writeFile(file, a);
    pid_ = ::fork();
    if (pid_ != 0) return;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int fd = ::open(file.c_str(), O_WRONLY);
    for (;;) {
      // Each version stays a moment, so that loads find either whole as well as mixed.
      if (::pwrite(fd, b.data(), b.size(), 0) < 0) ::_exit(1);
      ::usleep(50);
      if (::pwrite(fd, a.data(), a.size(), 0) < 0) ::_exit(1);
      ::usleep(50);
    }
  }
  ~Rewriter() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

 private:
  pid_t pid_ = -1;
};

// Loads `file` again and again while it is rewritten; `load` returns whether the model was
// loaded. Each result must be the sound version's (`loaded`) or the untouched start.
template <class Load>
void raceLoads(const std::string& file,
               const std::pair<std::vector<uint8_t>, std::vector<uint8_t>>& versions,
               const Model& start, Load load) {
  writeFile(file, versions.first);
  Model reference = start;
  ASSERT_TRUE(load(reference));
  const ModelSnapshot loaded = snapshot(reference), untouched = snapshot(start);
  Rewriter rewriter(file, versions.first, versions.second);
  int good = 0, refused = 0;
  for (int i = 0; i < 150; ++i) {
    Model m = start;
    const bool ok = load(m);
    ASSERT_EQ(checkModel(m, true), "") << "load " << i;
    ASSERT_TRUE(sameModel(snapshot(m), ok ? loaded : untouched)) << "load " << i;
    (ok ? good : refused) += 1;
  }
  std::printf("%d loads of the sound version, %d refused\n", good, refused);
}

class ConcurrentRewrite : public FileTest {};

// The model load (RQ and STL) and the part load; `loaded` is the message of a success.
TEST_F(ConcurrentRewrite, EveryLoadTakesTheSoundFileWholeOrNothing) {
  const auto load = [&](int which, Model& m, const std::string& name) {
    return which == 1 ? loadPart(m, name, 4).message : loadModel(m, name, nullptr).result.message;
  };
  const struct {
    int which;
    const char* name;
    std::pair<std::vector<uint8_t>, std::vector<uint8_t>> versions;
    uint8_t loaded;
  } cases[] = {{0, "m.rq", rqPair(), kMsgFileLoaded},
               {1, "p.rq", rqPair(), kMsgFileLoaded},
               {0, "s.stl", stlPair(), kMsgNone}};
  Model start = makeModel(2 * kV, 2 * kT, kL);
  ASSERT_TRUE(putDefaultModel(start));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    raceLoads(path(c.name), c.versions, start, [&](Model& m) {
      const uint8_t message = load(c.which, m, path(c.name));
      EXPECT_TRUE(message == c.loaded || message == kMsgDamagedFile) << int(message);
      return message == c.loaded;
    });
  }
}

}  // namespace
