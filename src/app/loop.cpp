#include "app/loop.h"

#include <signal.h>
#include <sys/sysinfo.h>

#include <cmath>

#include "app/shortcut_keys.h"
#include "app/tools.h"
#include "core/open_model.h"
#include "core/platform/exit_signals.h"
#include "core/platform/screen_modes.h"
#include "core/recovery.h"
#include "core/view_options.h"
#include "io/model_file.h"
#include "io/safe_write.h"
#include "model/selection.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"
#include "render/render_scene.h"
#include "ui/file_commands.h"
#include "ui/interface.h"
#include "ui/menus.h"

namespace {

// [SECTION] start-up helpers

// Replaces settings the editor cannot use by the built-in ones, with a line for each.
void repairSettings(Settings& s, std::string& messages) {
  if (findScreenMode(s.mode) == nullptr) {
    messages += "KOVRIN.INI: mode " + std::to_string(s.mode) + " is not 13..21; using 19\n";
    s.mode = 19;
  }
  if (s.cdep != 8 && s.cdep != 15 && s.cdep != 16 && s.cdep != 32) {
    messages +=
        "KOVRIN.INI: cdep " + std::to_string(s.cdep) + " is not 8, 15, 16 or 32; using 32\n";
    s.cdep = 32;
  }
  struct Capacity {
    const char* key;
    int32_t& value;
    int32_t fallback;
  };
  Capacity caps[] = {{"maxv", s.maxv, kDefaultMaxv},
                     {"maxt", s.maxt, kDefaultMaxt},
                     {"maxl", s.maxl, kDefaultMaxl}};
  for (auto& c : caps) {
    if (c.value <= 0) {
      messages += std::string("KOVRIN.INI: ") + c.key + " " + std::to_string(c.value) +
                  " is not a capacity; using " + std::to_string(c.fallback) + "\n";
      c.value = c.fallback;
    }
  }
}

// The setting with the largest share of the model arrays.
std::string largestCapacity(const Settings& s) {
  const uint64_t v = modelBytesFor(s.maxv, 0, 0);
  const uint64_t t = modelBytesFor(0, s.maxt, 0);
  const uint64_t l = modelBytesFor(0, 0, s.maxl);
  if (v >= t && v >= l) return "maxv = " + std::to_string(s.maxv);
  if (t >= l) return "maxt = " + std::to_string(s.maxt);
  return "maxl = " + std::to_string(s.maxl);
}

void setupCamera(Editor& ed) {
  Camera& c = ed.camera;
  c = Camera{};
  c.cameraZoom = static_cast<float>(ed.render.renderWidth >> 1);
  c.viewCenterX = ed.render.renderWidth >> 1;
  c.viewCenterY = (ed.render.renderHeight >> 1) + (ed.render.renderHeight >> 3);
}

// [SECTION] the render and present steps

void renderStep(Editor& ed) {
  renderScene(ed.render, ed.model, ed.camera, viewOptionsFrom(ed.viewFlags), farDepth(ed.fields));
  ed.requests.needRender = 0;
  ed.requests.needPresent = 1;
  computeSelectionCenter(ed.model, ed.selection);
}

// Nearest integer, ties to even; values beyond the 32-bit range (a distance or zoom driven
// far by the keys) stop at its ends, which the read-outs show as "big num".
int32_t roundedReadout(float value) {
  const float r = std::nearbyint(value);
  if (!(r > -2147483648.0f)) return INT32_MIN;
  if (!(r < 2147483648.0f)) return INT32_MAX;
  return static_cast<int32_t>(r);
}

int32_t degrees(float angle) {
  return roundedReadout(180.0f * angle / kPi);
}

void refreshDisplayValues(Editor& ed) {
  auto& dv = ed.fields.displayValues;
  dv[kFieldVerteces] = ed.model.vertexCount;
  dv[kFieldTriangles] = ed.model.triangleCount;
  dv[kFieldLines] = ed.model.lineCount;
  dv[kFieldCXY] = degrees(ed.camera.cameraXY);
  dv[kFieldCXZ] = degrees(ed.camera.cameraXZ);
  dv[kFieldCYZ] = degrees(ed.camera.cameraYZ);
  dv[kFieldDistance] = roundedReadout(ed.camera.cameraDistance);
  dv[kFieldScaling] = roundedReadout(ed.camera.cameraZoom);
  dv[kFieldHOffset] = ed.camera.viewCenterX;
  dv[kFieldVOffset] = ed.camera.viewCenterY;
}

void presentStep(Editor& ed) {
  refreshDisplayValues(ed);
  const auto& dv = ed.fields.displayValues;
  ed.currentColor = colorWord(dv[kFieldDefaultRed], dv[kFieldDefaultGreen], dv[kFieldDefaultBlue]);
  toolPresentWork(ed);
  ed.fields.displayValues[kFieldSelectionTotal] = countSelected(ed.model);
  Platform& p = ed.platform;
  p.lock();
  presentFrame(ed.render, ed.rdet, ed.screenDepth, p.framePointer(), ed.screen.pitch,
               ed.screen.width, ed.screen.height);
  drawInterface(ed);
  p.unlock();
  // A "*" before the name while the model differs from what was last loaded or saved.
  std::string title = "KOVRIN - ";
  if (modelUnsaved(ed.history)) title += '*';
  title += ed.currentFile;
  if (ed.windowTitle != title) {
    ed.windowTitle = title;
    p.setWindowTitle(title);
  }
  ed.requests.statusMessage = 0;
  ed.requests.needPresent = 0;
}

// [SECTION] pass steps

// The benchmark step: while benchmarking every pass renders and nothing else is handled.
void benchmarkStep(Editor& ed) {
  ed.requests.needRender = 1;
  const double now = ed.platform.seconds();
  if (now > ed.tools.fpsStart + 4.0) {
    ed.tools.fpsStart = now;
    ed.tools.fpsFrames = 0;
  }
  if (ed.input.rightClick == 2 || !ed.input.keyPressed.empty()) ed.tools.tool = kToolMouselook;
}

// The menu-bar key step: the press edge of Alt moves the focus between none and the menu bar.
bool menuBarKeyStep(Editor& ed) {
  const bool down = ed.platform.keyHeld(kScanAlt);
  if (down && !ed.input.altWasDown) {
    ed.requests.needPresent = 1;
    ed.menus.activeEntry = -1;
    ed.menus.activeMenu = ed.menus.activeMenu == 0 ? -1 : 0;
  }
  ed.input.altWasDown = down;
  return ed.requests.needPresent != 0;
}

bool idle(const InputState& in) {
  return in.keyPressed.empty() && in.mouseX == in.prevMouseX && in.mouseY == in.prevMouseY &&
         in.mouseButtons == in.prevMouseButtons && in.mouseWheel == in.prevMouseWheel;
}

void endOfPass(Editor& ed) {
  InputState& in = ed.input;
  ed.tools.selectDragging = 0;
  in.anchorX = in.mouseX;
  in.anchorY = in.mouseY;
  in.anchorScreenX = in.mouseScreenX;
  in.anchorScreenY = in.mouseScreenY;
  in.cameraSnapshot = takeSnapshot(ed.camera);
}

// The input steps, in order: help panel, Ctrl shortcuts, global keys, menu keys, camera keys,
// menu drag, menu click, the current tool. Returns whether the end-of-pass snapshot is taken.
bool inputSteps(Editor& ed) {
  InputState& in = ed.input;
  LoopRequests& rq = ed.requests;
  if (in.keyPressed == keys::kF1) {  // help panel
    showHelp(ed);
    rq.needPresent = 1;
    return false;
  }
  if (runShortcutKey(ed, in.keyPressed)) return true;  // Ctrl+S/O/Z/Y, Ctrl+Shift+S/Z
  PassFlow flow = handleGlobalKeys(ed);                // F2..F6, the close request
  if (rq.quit) return false;
  if (flow == PassFlow::Next) flow = handleMenuKeys(ed);  // menu keys
  if (rq.quit) return false;
  if (flow == PassFlow::Restart) return false;
  if (flow == PassFlow::EndPass) return true;
  if (flow == PassFlow::Next) {
    if ((in.mouseButtons & 1) == 0) ed.menus.menuClicked = 0;  // button released
    // The camera keys, while the view is free and no menu has the focus.
    if (!flagOn(ed, kLockView) && ed.menus.activeMenu == -1) flow = handleCameraKeys(ed);
  }
  if (flow == PassFlow::Next) {
    flow = handleMenuDrag(ed);  // menu drag
    if (flow == PassFlow::Restart) return false;
    if (flow == PassFlow::EndPass) return true;
  }
  if (flow == PassFlow::Next) {
    flow = handleMenuClick(ed);  // menu click
    if (rq.quit) return false;
    if (flow == PassFlow::Restart) return false;
    if (flow == PassFlow::EndPass) return true;
  }
  if (ed.menus.menuClicked == 0) {  // the current tool
    flow = handleTool(ed);
    if (flow == PassFlow::Restart) return false;
  }
  return true;
}

}  // namespace

uint64_t machineMemoryBytes() {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return UINT64_MAX;
  return (static_cast<uint64_t>(info.totalram) + info.totalswap) * info.mem_unit;
}

bool startEditor(Editor& ed, const std::string& commandLine, const std::string& settingsPath,
                 std::string& messages, uint64_t memoryLimit) {
  // A save past the file-size limit fails with EFBIG ("Error: write failed") instead of
  // killing the editor with SIGXFSZ and the unsaved model with it.
  ::signal(SIGXFSZ, SIG_IGN);
  // Temporaries that saves killed in mid-write left in the working folder.
  removeStaleTemporaries(".");
  // Part-group name 0 and the menu tables.
  ed.model.partNames = {};
  setPartName(ed.model, 0, "default     ");
  initMenus(ed.menus);
  // Built-in settings, then the settings file.
  ed.settings = Settings{};
  const std::string warning = readSettings(settingsPath, ed.settings);
  if (!warning.empty()) messages += warning + "\n";
  repairSettings(ed.settings, messages);
  const Settings& s = ed.settings;
  // The model arrays, before the window opens so that capacities the machine cannot hold
  // end the start with a message and no window.
  const uint64_t bytes = modelBytesFor(s.maxv, s.maxt, s.maxl);
  if (bytes > memoryLimit) {
    messages += "KOVRIN.INI: " + largestCapacity(s) + " needs more memory than this machine has (" +
                std::to_string(bytes / 1000000) + " MB for the model); lower it\n";
    return false;
  }
  const std::string allocError = allocateModel(ed.model, s.maxv, s.maxt, s.maxl);
  if (!allocError.empty()) {
    messages += "KOVRIN.INI: " + largestCapacity(s) + ": " + allocError + "\n";
    return false;
  }
  setPartName(ed.model, 0, "default     ");
  // The screen.
  Platform& p = ed.platform;
  if (!p.openScreen(s.mode, s.cdep)) {
    messages += "could not open screen mode " + std::to_string(s.mode) + " at " +
                std::to_string(s.cdep) + " bits\n";
    return false;
  }
  p.setWindowTitle("KOVRIN");
  ed.screen = p.screenInfo();
  ed.screenDepth = ed.screen.depth;
  ed.cellHeight = ed.screen.rows > 0 ? ed.screen.height / ed.screen.rows : 16;
  // Frame size from the detail level, frame and depth buffers.
  ed.rdet = s.rdet == 0 ? 0 : s.rdet == 2 ? 2 : 1;
  if (!allocateRenderBuffers(ed.render, ed.screen.width, ed.screen.height, ed.rdet,
                             ed.model.maxv)) {
    messages += "not enough memory for the frame buffers\n";
    return false;
  }
  // The 8-bit palette.
  ed.uiColors = kUiColors;
  if (ed.screenDepth == 8) {
    for (int i = 0; i < 256; ++i) {
      const uint32_t rgb = eightBitPaletteColor(i);
      p.setPaletteEntry(i, static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8 & 0xFF),
                        static_cast<int>(rgb & 0xFF));
    }
    for (auto& c : ed.uiColors) c = toPaletteIndex(c);
  }
  // The default model (its arrays were allocated before the screen opened).
  if (!putDefaultModel(ed.model)) {
    messages +=
        "KOVRIN.INI: capacities below 9 vertices, 6 triangles or 4 lines; starting with "
        "an empty model\n";
  }
  // Field defaults and the camera.
  setFieldDefaults(ed.fields);
  setupCamera(ed);
  // First requests and the current file.
  ed.requests = LoopRequests{};
  ed.requests.normalsDirty = 1;
  ed.viewFlags = kInitialViewFlags;
  ed.tools = ToolState{};
  ed.currentFile = "default.rq";
  ed.input.cameraSnapshot = takeSnapshot(ed.camera);
  // The command-line file (or the newest recovery file).
  ed.history = History{};
  ed.recovery = RecoveryState{};
  ed.recovery.lastInput = p.seconds();
  if (commandLine == kRecoverOption)
    openNewestRecovery(ed, messages);
  else if (!commandLine.empty())
    loadModelFile(ed, commandLine);
  return true;
}

bool runPass(Editor& ed) {
  LoopRequests& rq = ed.requests;
  if (exitSignalPending()) rq.quit = true;  // SIGTERM, SIGHUP: end as the close request does
  if (rq.quit) return false;
  // Normals.
  if (rq.normalsDirty) {
    recomputeNormals(ed.model);
    rq.normalsDirty = 0;
    rq.needRender = 1;
  }
  // Render, then present.
  if (rq.needRender) renderStep(ed);
  if (rq.needPresent) presentStep(ed);
  // Read the input.
  readMouse(ed);
  ed.input.keyPressed = ed.platform.readKey();
  // The close request ends the program whatever else this pass would do with its key (the
  // benchmark and the menu-bar key would otherwise swallow it).
  if (ed.input.keyPressed == keys::kClose) {
    rq.quit = true;
    return false;
  }
  // A file dropped on the window opens as " Open" opens a typed name; the drop is input, so
  // a pass with a drop and no key is not idle.
  const std::string dropped = ed.platform.takeDroppedFile();
  if (!dropped.empty()) {
    runFileCommandAnswered(ed, Action::Open, dropped);
    if (ed.input.keyPressed.empty()) {
      endOfPass(ed);
      return true;
    }
  }
  // The benchmark tool takes the whole pass.
  if (ed.tools.tool == kToolBenchmark) {
    benchmarkStep(ed);
    return true;
  }
  // The menu-bar key (Alt).
  if (menuBarKeyStep(ed)) return true;
  // Idle: no input this pass.
  if (idle(ed.input)) {
    std::string messages;
    recoveryWhenIdle(ed, messages);
    if (!messages.empty()) fputs(messages.c_str(), stderr);
    ed.platform.sleepUntilInput(40);
    return true;
  }
  ed.recovery.lastInput = ed.platform.seconds();
  const bool snapshot = inputSteps(ed);
  if (rq.quit) return false;
  // The wheel zooms whatever took this pass's input, after it, so that a drag of the same
  // pass (which sets the zoom from the snapshot) does not undo it.
  handleWheelZoom(ed);
  // End of pass.
  if (snapshot) endOfPass(ed);
  return true;
}

int runEditor(Platform& platform, const std::string& commandLine) {
  Editor ed(platform);
  std::string messages;
  if (commandLine != kRecoverOption) messages += recoveryNotice();
  const bool started = startEditor(ed, commandLine, "KOVRIN.INI", messages);
  if (!messages.empty()) fputs(messages.c_str(), stderr);
  if (!started) return 1;
  while (runPass(ed)) {
  }
  // Quit, the close request or a signal: unsaved work goes to a recovery file first.
  messages.clear();
  recoveryOnExit(ed, messages);
  if (!messages.empty()) fputs(messages.c_str(), stderr);
  return 0;
}

std::string joinCommandLine(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}
