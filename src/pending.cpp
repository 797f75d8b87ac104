// Interim weak definitions of functions whose owners are still being written, so that the
// editor links and runs while its subsystems land one by one. A real definition elsewhere
// replaces each of these at link time. This file is removed once every subsystem is in.
#include <memory>

#include "core/platform/headless_platform.h"
#include "core/platform/sdl_platform.h"
#include "core/tools.h"
#include "io/model_file.h"
#include "io/screenshot.h"
#include "model/selection.h"
#include "model/triangle_tools.h"
#include "render/box_select.h"
#include "render/camera_ops.h"
#include "render/render_passes.h"
#include "ui/commands.h"
#include "ui/dispatch.h"
#include "ui/field_entry.h"
#include "ui/interface.h"
#include "ui/menus.h"
#include "ui/prompt.h"

#define WEAK __attribute__((weak))

WEAK std::unique_ptr<Platform> makeSdlPlatform() {
  return std::make_unique<HeadlessPlatform>();
}

WEAK void computeCameraTrig(Camera&) {}
WEAK void projectVertices(Model&, const Camera&) {}
WEAK bool updateCamera(Camera&, const CameraSnapshot&) {
  return false;
}
WEAK void clearRenderBuffers(RenderBuffers&, float) {}
WEAK void drawTriangles(RenderBuffers&, Model&, const Camera&, uint32_t, bool) {}
WEAK void drawGrid(RenderBuffers&, const Camera&) {}
WEAK void drawLines(RenderBuffers&, const Model&, const Camera&) {}
WEAK void drawVertices(RenderBuffers&, const Model&, const Camera&) {}
WEAK void presentFrame(const RenderBuffers&, int, int, uint8_t*, int, int, int) {}
WEAK void setEightBitPalette(Platform&) {}
WEAK uint32_t toPaletteIndex(uint32_t rgb) {
  return rgb;
}

WEAK void initMenus(MenuState&) {}
WEAK PassFlow handleMenuKeys(Editor&) {
  return PassFlow::Next;
}
WEAK PassFlow handleMenuDrag(Editor&) {
  return PassFlow::Next;
}
WEAK PassFlow handleMenuClick(Editor&) {
  return PassFlow::Next;
}
WEAK void drawMenus(Editor&) {}
WEAK PassFlow activateField(Editor&, int) {
  return PassFlow::ToTools;
}
WEAK PassFlow activatePartRow(Editor&, int) {
  return PassFlow::ToTools;
}
WEAK PassFlow runCommand(Editor&, int) {
  return PassFlow::ToTools;
}
WEAK std::string textPrompt(Editor&, std::string_view) {
  return {};
}

WEAK void drawInterface(Editor&) {}
WEAK void showHelp(Editor&) {}

WEAK void readMouse(Editor&) {}
WEAK PassFlow handleGlobalKeys(Editor& ed) {
  if (ed.input.keyPressed == keys::kClose) ed.requests.quit = true;
  return PassFlow::Next;
}
WEAK PassFlow handleCameraKeys(Editor&) {
  return PassFlow::Next;
}
WEAK PassFlow handleTool(Editor&) {
  return PassFlow::Next;
}
WEAK void toolPresentWork(Editor&) {}

WEAK void loadModelFile(Editor&, const std::string&) {}

WEAK PassFlow runFileCommand(Editor&, int) {
  return PassFlow::ToTools;
}
WEAK PassFlow runEditCommand(Editor&, int) {
  return PassFlow::ToTools;
}
WEAK PassFlow runBuildCommand(Editor&, int) {
  return PassFlow::ToTools;
}
WEAK EditResult manualTriangleClick(Model&, ToolState&, uint16_t) {
  return {};
}
WEAK EditResult autoTriangleClick(Model&, ToolState&, uint16_t) {
  return {};
}
WEAK void selectRectangle(RenderBuffers&, Model&, const Camera&, uint32_t, float, int, int, int,
                          int) {}
WEAK PassFlow activateHotKey(Editor&, const std::string&) {
  return PassFlow::Next;
}
WEAK EditResult saveScreenshot(RenderBuffers&, int&, const std::string&) {
  return {};
}
WEAK void stepRotate(Camera&, RotateDir, bool) {}
WEAK void scaleDistance(Camera&, float) {}
WEAK void scaleZoom(Camera&, float) {}
WEAK void orbitDrag(Camera&, const CameraSnapshot&, int, int, int, int, int, int) {}
WEAK void dollyZoomDrag(Camera&, const CameraSnapshot&, int, int, int, int, int) {}
WEAK void pan(Camera&, int, int) {}
WEAK void setViewPreset(Camera&, ViewPreset) {}
WEAK bool unprojectPixel(const Camera&, float, int, int, float, Vec3&) {
  return false;
}
WEAK int32_t pickNearestVertex(const Model&, const Camera&, float, int, int, int32_t previous) {
  return previous;
}
WEAK void drawVertexMarker(Editor&, int32_t, uint32_t) {}
WEAK void openMenu(Editor&, int) {}
WEAK void closeMenu(Editor&, int) {}
WEAK int hitTest(MenuState&, int, int, int) {
  return -1;
}
WEAK PassFlow activateEntry(Editor&, int) {
  return PassFlow::ToTools;
}
WEAK std::string formatNumber7(float) {
  return "      0";
}
WEAK const char* statusMessageText(int) {
  return "                         ";
}
WEAK std::string cutPromptAnswer(std::string_view) {
  return {};
}
