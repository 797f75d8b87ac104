#include "core/usage.h"

#include <charconv>
#include <string_view>

#include "core/platform/window_scale.h"

#ifndef KOVRIN_VERSION
#error "KOVRIN_VERSION is defined by the build"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: kovrin [--scale N] [MODEL FILE]\n"
    "       kovrin --recover\n"
    "       kovrin --render IN -o OUT.png|OUT.bmp [--size WxH] [--rdet 0|1|2]\n"
    "              [--view front|back|left|right|top|bottom|iso]\n"
    "       kovrin --thumbnail IN OUT SIZE\n"
    "       kovrin --convert IN OUT.rq|OUT.stl|OUT.obj|OUT.ply\n"
    "       kovrin --info IN\n"
    "       kovrin --help | --version\n"
    "\n"
    "KOVRIN is an interactive polygon-model editor: build a model of vertices, triangles and\n"
    "lines, colour, select, move, duplicate, rotate, scale, mirror, cut and drill it, and see\n"
    "it at once in a flat-shaded perspective view. The whole text after the program name (and\n"
    "after --scale N) is one file name (blanks included) that is opened at start. --scale N opens\n"
    "the window at N times the screen mode's size (by default 2 on a desktop twice as big).\n"
    "\n"
    "The tools --render, --thumbnail, --convert and --info need no window or display and\n"
    "read no settings file: they picture the model framed to fill the frame, write it in\n"
    "another format, or print its counts and measures as \"key: value\" lines. Exit code 0\n"
    "on success, 1 with a one-line message on standard error otherwise.\n"
    "\n"
    "Keys:\n"
    "  F1  help            F2  create Primitive   F3  Selection...\n"
    "  F4  Actions         F5  Misc tools         F6  invert the selection\n"
    "  Alt menu bar; arrows, Enter, Tab and the hot keys (the capital letter of a label)\n"
    "  arrows turn the view, PgUp/PgDn distance, Home/End zoom, f fit the model in view;\n"
    "  Esc closes the focused menu; Ctrl+S save, Ctrl+O open, Ctrl+Shift+S save as;\n"
    "  Ctrl+Z undo, Ctrl+Y or Ctrl+Shift+Z redo\n"
    "Mouse: left drag orbits, right drag zooms, both pan; the wheel zooms as Home/End;\n"
    "  right drag on a menu moves it.\n"
    "\n"
    "Settings: KOVRIN.INI in the current folder (created with defaults when missing),\n"
    "  keys mode (13..21, screen size), cdep (8, 15, 16, 32 bits), rdet (0 low, 1 normal,\n"
    "  2 antialiased), maxv, maxt, maxl (vertex, triangle and line capacities).\n"
    "\n"
    "Files: RQ models (.rq) read and written; STL (binary and ASCII), OBJ and PLY read;\n"
    "  binary STL exported (OBJ or PLY when the name ends in .obj or .ply); part files for a\n"
    "  selection; 24-bit BMP screenshots imageAAA.bmp onward.\n"
    "  A file dropped on the window is opened like File > Open.\n"
    "\n"
    "Unsaved work is written to $XDG_STATE_HOME/kovrin (~/.local/state/kovrin) when the\n"
    "program ends and after 30 idle seconds; --recover opens the newest such file.\n";

}  // namespace

LaunchArgs parseLaunchArgs(int argc, char** argv) {
  LaunchArgs args;
  int first = 1;
  if (argc >= 2 && std::string_view(argv[1]) == "--scale") {
    const std::string_view n = argc >= 3 ? std::string_view(argv[2]) : std::string_view();
    int value = 0;
    const auto [end, fault] = std::from_chars(n.data(), n.data() + n.size(), value);
    if (n.empty() || fault != std::errc() || end != n.data() + n.size() || value < 1 ||
        value > kMostWindowScale) {
      args.error = "kovrin: --scale wants a whole number from 1 to " +
                   std::to_string(kMostWindowScale) + "\n";
      return args;
    }
    args.windowScale = value;
    first = 3;
  }
  for (int i = first; i < argc; ++i) {
    if (i > first) args.commandLine += ' ';
    args.commandLine += argv[i];
  }
  return args;
}

std::optional<std::string> commandLineInfo(const std::string& commandLine) {
  if (commandLine == "--help") return std::string(kUsage);
  if (commandLine == "--version") return std::string("kovrin " KOVRIN_VERSION "\n");
  return std::nullopt;
}
