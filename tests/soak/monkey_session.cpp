#include "soak/monkey_session.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "app/loop.h"
#include "core/editor.h"
#include "core/platform/headless_platform.h"
#include "model/model_check.h"
#include "support/model_snapshot.h"

namespace {

namespace fs = std::filesystem;

// One editor over its own headless platform.
struct Session {
  HeadlessPlatform platform;
  Editor ed{platform};
};

// Every key the editor reacts to, but never the close request.
std::vector<std::string> keySet() {
  std::vector<std::string> k = {keys::kF1,   keys::kF2,        keys::kF3,    keys::kF4,
                                keys::kF5,   keys::kF6,        keys::kUp,    keys::kDown,
                                keys::kLeft, keys::kRight,     keys::kPgUp,  keys::kPgDn,
                                keys::kHome, keys::kEnd,       keys::kEnter, keys::kTab,
                                keys::kEsc,  keys::kBackspace, keys::kCtrlF4};
  for (const bool shift : {false, true}) {
    k.push_back(keys::ctrlKey('z', shift));
    k.push_back(keys::ctrlKey('y', shift));
  }
  for (char c = 'a'; c <= 'z'; ++c) k.emplace_back(1, c);
  for (char c = 'A'; c <= 'Z'; ++c) k.emplace_back(1, c);
  for (char c = '0'; c <= '9'; ++c) k.emplace_back(1, c);
  for (const char c : {'.', '-', ',', ' ', '+', '*', '/', '<', '>', '"'}) k.emplace_back(1, c);
  return k;
}

// Answers typed into prompts: files in the folder, a missing folder, a cancel, and the
// special names the folder is given (see makeSpecialFiles): a FIFO, a device node, symlinks,
// a read-only file, a name with non-ASCII characters.
const char* const kNames[] = {"soak1.rq",
                              "p.part",
                              "x.stl",
                              "soak2.rq",
                              "soak1.rq",
                              "missing.rq",
                              "no/such/dir/y.rq",
                              "",
                              "  \"q, r.rq\", s",
                              "7",
                              "fifo.rq",
                              "null.rq",
                              "link.rq",
                              "dangling.rq",
                              "ro.rq",
                              "\xc3\xa9t\xc3\xa9 \xe2\x82\xac.rq"};
constexpr int kNameCount = static_cast<int>(std::size(kNames));

// The special files of the folder; a device node only where we may make one (root).
void makeSpecialFiles() {
  ::mkfifo("fifo.rq", 0644);
  ::mknod("null.rq", S_IFCHR | 0666, makedev(1, 3));
  std::error_code ec;
  fs::create_symlink("soak1.rq", "link.rq", ec);
  fs::create_symlink("nowhere/z.rq", "dangling.rq", ec);
  std::FILE* f = std::fopen("ro.rq", "wb");
  if (f != nullptr) std::fclose(f);
  fs::permissions("ro.rq", fs::perms::owner_read | fs::perms::group_read, ec);
}

class Monkey {
 public:
  Monkey(uint64_t seed, int64_t events) : rng_(seed), seed_(seed), total_(events) {}

  MonkeyReport run() {
    while (report_.events < total_ && report_.fault.empty()) {
      if (!session_) startSession();
      if (!session_) break;
      step();
    }
    return report_;
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool chance(int percent) { return pick(100) < percent; }

  void fail(const std::string& what) {
    report_.fault =
        "seed " + std::to_string(seed_) + ", event " + std::to_string(report_.events) + ": " + what;
  }

  void startSession() {
    // Small capacities so that duplicates and guillotines run into the limits; colour depth
    // and detail level vary between sessions.
    static const int kDepths[] = {8, 15, 16, 32};
    const std::string ini = "mode = 13\r\n''''\r\ncdep = " + std::to_string(kDepths[pick(4)]) +
                            "\r\n''''\r\nrdet = " + std::to_string(pick(3)) +
                            "\r\n''''\r\nmaxv = 2000\r\n''''\r\nmaxt = 2000\r\n''''\r\n"
                            "maxl = 200\r\n";
    {
      std::FILE* f = std::fopen("KOVRIN.INI", "wb");
      if (f) {
        std::fwrite(ini.data(), 1, ini.size(), f);
        std::fclose(f);
      }
    }
    session_ = std::make_unique<Session>();
    session_->platform.setIdleCloseAfter(40);
    std::string messages;
    const std::string commandLine = chance(30) ? kNames[pick(4)] : "";
    if (!startEditor(session_->ed, commandLine, "KOVRIN.INI", messages)) {
      fail("start-up refused: " + messages);
      session_.reset();
      return;
    }
    ++report_.sessions;
    altHeld_ = false;
    states_.clear();
    checkAfterPass();
  }

  // The model is sound, and equal to the snapshot of its history state when that state was
  // reached before: every command that changed the model left a step, and undo and redo
  // bring back exactly the state they name.
  void checkAfterPass(size_t positionBefore = 0) {
    const Editor& ed = session_->ed;
    const std::string fault = checkModel(ed.model);
    if (!fault.empty()) return fail(fault);
    const ModelSnapshot now = snapshotOf(ed.model);
    const auto [it, fresh] = states_.try_emplace(ed.history.currentState, now);
    if (!fresh && it->second != now)
      return fail("history state " + std::to_string(ed.history.currentState) + ": " +
                  snapshotDifference(it->second, now));
    if (ed.history.position < positionBefore) ++report_.undos;
    if (ed.history.position > positionBefore && !fresh) ++report_.redos;
  }

  // Undo a few steps, redo some of them: the checks after each pass compare the states.
  void undoRedoBurst() {
    HeadlessPlatform& p = session_->platform;
    const int back = 1 + pick(8);
    for (int i = 0; i < back; ++i) p.pushKey(keys::ctrlKey('z'));
    for (int i = pick(back + 2); i > 0; --i)
      p.pushKey(chance(50) ? keys::ctrlKey('y') : keys::ctrlKey('z', true));
    runPasses(1);
  }

  // Runs passes until the queued keys are used (a key is never left for a later event);
  // a pass that ends the program ends the session.
  void runPasses(int atLeast) {
    HeadlessPlatform& p = session_->platform;
    for (int i = 0; i < 400 && (i < atLeast || p.pendingKeys() > 0); ++i) {
      // An empty key keeps the idle counter down in the main loop: only a modal wait that
      // runs out of keys gets the close request.
      if (p.pendingKeys() == 0) p.pushKey("");
      ++report_.passes;
      const size_t position = session_->ed.history.position;
      const bool goOn = runPass(session_->ed);
      checkAfterPass(position);
      if (!goOn) {
        session_.reset();
        return;
      }
      if (!report_.fault.empty()) return;
    }
  }

  void mouseTo(int x, int y, int buttons, int wheel = 0) {
    session_->platform.setMouse(x, y, buttons, wheel);
  }
  int randomX() { return pick(session_->ed.screen.width + 12) - 6; }
  int randomY() { return pick(session_->ed.screen.height + 12) - 6; }

  void step() {
    ++report_.events;
    HeadlessPlatform& p = session_->platform;
    const int kind = pick(100);
    if (kind < 8) {
      undoRedoBurst();
    } else if (kind < 45) {  // a burst of keys
      const int n = 1 + pick(4);
      for (int i = 0; i < n; ++i) p.pushKey(keys_[pick(static_cast<int>(keys_.size()))]);
      // Often an answer follows, for the prompt or the number entry the keys may have opened.
      if (chance(40)) {
        p.typeText(chance(50) ? kNames[pick(kNameCount)] : std::to_string(pick(2000) - 1000));
        p.pushKey(chance(85) ? keys::kEnter : keys::kEsc);
      }
      runPasses(1);
    } else if (kind < 52) {  // Alt pressed or released
      altHeld_ = !altHeld_;
      p.setKeyHeld(kScanAlt, altHeld_);
      runPasses(1);
    } else if (kind < 55) {  // Shift (the plot and selection tools read it)
      p.setKeyHeld(chance(50) ? kScanLeftShift : kScanRightShift, chance(50));
      runPasses(1);
    } else if (kind < 72) {  // a move, or a wheel turn
      mouseTo(randomX(), randomY(), 0, chance(20) ? pick(9) - 4 : 0);
      runPasses(1);
    } else if (kind < 85) {  // a click: left, right or both
      const int x = randomX(), y = randomY(), b = 1 + pick(3);
      mouseTo(x, y, b);
      runPasses(1);
      if (session_) {
        mouseTo(x, y, 0);
        runPasses(1);
      }
    } else if (kind < 88) {  // another program changes a file the prompts may name
      changeAFile();
      runPasses(1);
    } else {  // a drag over a few passes
      const int b = 1 + pick(3);
      int x = randomX(), y = randomY();
      mouseTo(x, y, b);
      runPasses(1);
      for (int i = 0, n = 1 + pick(5); i < n && session_; ++i) {
        x += pick(61) - 30;
        y += pick(61) - 30;
        mouseTo(x, y, b);
        runPasses(1);
      }
      if (session_) {
        mouseTo(x, y, 0);
        runPasses(1);
      }
    }
  }

  // Cuts a model file short, fills it with noise, swaps it for a copy of another, or
  // turns the read-only file writable and back.
  void changeAFile() {
    const char* name = kNames[pick(4)];
    std::error_code ec;
    switch (pick(4)) {
      case 0:
        if (fs::is_regular_file(name, ec)) fs::resize_file(name, fs::file_size(name, ec) / 2, ec);
        break;
      case 1: {
        std::FILE* f = std::fopen(name, "r+b");
        if (f == nullptr) break;
        for (int i = 0, n = 1 + pick(64); i < n; ++i) {
          std::fseek(f, pick(2000), SEEK_SET);
          std::fputc(pick(256), f);
        }
        std::fclose(f);
        break;
      }
      case 2:
        fs::copy_file(kNames[pick(4)], name, fs::copy_options::overwrite_existing, ec);
        break;
      default:
        fs::permissions("ro.rq", fs::perms::owner_write,
                        chance(50) ? fs::perm_options::add : fs::perm_options::remove, ec);
    }
  }

  std::mt19937_64 rng_;
  uint64_t seed_;
  int64_t total_;
  std::vector<std::string> keys_ = keySet();
  std::unique_ptr<Session> session_;
  bool altHeld_ = false;
  std::map<uint64_t, ModelSnapshot> states_;  // the model at each history state of the session
  MonkeyReport report_;
};

}  // namespace

MonkeyReport runMonkey(uint64_t seed, int64_t events, const fs::path& folder) {
  const fs::path old = fs::current_path();
  fs::create_directories(folder);
  fs::current_path(folder);
  makeSpecialFiles();
  MonkeyReport r = Monkey(seed, events).run();
  fs::current_path(old);
  return r;
}
