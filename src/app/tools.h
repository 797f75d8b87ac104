// The global and camera keys, the wheel and the mouse tools of a pass.
#pragma once

#include "core/editor.h"
#include "core/pass_flow.h"
#include "ui/mouse_read.h"
#include "ui/vertex_markers.h"

PassFlow handleGlobalKeys(Editor& ed);  // F2..F6 and the close request
PassFlow handleCameraKeys(Editor& ed);  // arrows, PgUp/PgDn, Home/End
// The wheel's notches of this pass: each one zooms as End (up) or Home (down) does, unless
// the view is locked; raises the render request when the camera changed.
void handleWheelZoom(Editor& ed);
PassFlow handleTool(Editor& ed);   // the current tool's per-pass work
void toolPresentWork(Editor& ed);  // the current tool's work at a present
