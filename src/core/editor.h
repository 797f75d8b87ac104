// All state of one editor run, sized once at start-up and owned by the main loop.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/input_state.h"
#include "core/menu_state.h"
#include "core/platform/platform.h"
#include "core/requests.h"
#include "core/settings.h"
#include "io/recovery_file.h"
#include "model/fields.h"
#include "model/history.h"
#include "model/model.h"
#include "render/camera.h"
#include "render/render_buffers.h"

// Bits of the option word viewFlags, one per check box.
enum ViewFlag : uint32_t {
  kShowVerts = 1u << 0,
  kShowTris = 1u << 1,
  kShowLines = 1u << 2,
  kLockView = 1u << 3,
  kBackfaceCulling = 1u << 4,
  kShowGrid = 1u << 5,
  kWireframe = 1u << 6,
  kMousePlot = 1u << 7,
  kOnlySelectVisible = 1u << 8,
  kSelectTool = 1u << 9,
  kUnselect = 1u << 10,
  kAbsoluteCoords = 1u << 11,
  kRemoveVerts = 1u << 12,
  kVertSelector = 1u << 13,
  kModelColors = 1u << 14,
};
constexpr uint32_t kInitialViewFlags = 0x26;

// The interface colours by what they paint (indices into uiColors).
enum UiColor : uint8_t {
  kUiText = 0,                  // black: entry text, panel frames
  kUiPanel = 1,                 // dark grey: the modal panels' frame background
  kUiPlain = 2,                 // grey: captions, read-outs, fields; the panels' text background
  kUiBright = 3,                // light grey: highlighted text, typed numbers and answers
  kUiFieldBack = 4,             // dark blue: behind a field's number and a typed answer
  kUiCheckbox = 5,              // green: check boxes
  kUiAction = 6,                // entries that run a command
  kUiSubmenu = 7,               // entries that open a menu
  kUiPartName = 8,              // part-name rows
  kUiPart = 9,                  // part rows
  kUiStatusText = kUiCheckbox,  // the status and progress lines: green on black
  kUiStatusBack = kUiText,
};

// The 16 interface colours, 0x00RRGGBB (palette indices at depth 8 after start-up).
constexpr std::array<uint32_t, 16> kUiColors = {
    0x000000, 0x404040, 0x808080, 0xC0C0C0, 0x000040, 0x80C080, 0xC08080, 0x8080C0,
    0xC0A080, 0xC060C0, 0,        0,        0,        0,        0,        0};

struct Editor {
  explicit Editor(Platform& p) : platform(p) {}

  Platform& platform;
  Settings settings;
  ScreenInfo screen;     // what the platform opened
  int screenDepth = 32;  // depth in force
  int cellHeight = 16;   // screen height / text rows
  int rdet = 1;          // detail level in force: 0 half, 1 same, 2 double frame size
  std::array<uint32_t, 16> uiColors = kUiColors;

  Model model;
  RenderBuffers render;
  Camera camera;
  Fields fields;
  Selection selection;
  MenuState menus;
  InputState input;
  ToolState tools;
  LoopRequests requests;
  History history;  // undo and redo of the model
  RecoveryState recovery;

  uint32_t viewFlags = kInitialViewFlags;
  uint16_t currentColor = 0;  // colour word given to new triangles
  std::string currentFile = "default.rq";
  std::string windowTitle;  // the window title shown now
  std::string inputLine;    // answer of the last prompt
  int shotCounter = 0;      // next screenshot number
};

inline bool flagOn(const Editor& ed, uint32_t bit) {
  return (ed.viewFlags & bit) != 0;
}
