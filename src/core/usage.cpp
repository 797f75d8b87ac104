#include "core/usage.h"

#ifndef KOVRIN_VERSION
#error "KOVRIN_VERSION is defined by the build"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: kovrin [MODEL FILE]\n"
    "       kovrin --recover\n"
    "       kovrin --help | --version\n"
    "\n"
    "KOVRIN is an interactive polygon-model editor: build a model of vertices, triangles and\n"
    "lines, colour, select, move, duplicate, rotate, scale, mirror, cut and drill it, and see\n"
    "it at once in a flat-shaded perspective view. The whole text after the program name is\n"
    "one file name (blanks included) that is opened at start.\n"
    "\n"
    "Keys:\n"
    "  F1  help            F2  create Primitive   F3  Selection...\n"
    "  F4  Actions         F5  Misc tools         F6  invert the selection\n"
    "  Alt menu bar; arrows, Enter, Tab and the hot keys (the capital letter of a label)\n"
    "  arrows turn the view, PgUp/PgDn distance, Home/End zoom\n"
    "  Ctrl+Z undo, Ctrl+Y or Ctrl+Shift+Z redo\n"
    "Mouse: left drag orbits, right drag zooms, both pan; right drag on a menu moves it.\n"
    "\n"
    "Settings: KOVRIN.INI in the current folder (created with defaults when missing),\n"
    "  keys mode (13..21, screen size), cdep (8, 15, 16, 32 bits), rdet (0 low, 1 normal,\n"
    "  2 antialiased), maxv, maxt, maxl (vertex, triangle and line capacities).\n"
    "\n"
    "Files: RQ models (.rq) read and written; STL (binary and ASCII) read, binary STL\n"
    "  exported; part files for a selection; 24-bit BMP screenshots imageAAA.bmp onward.\n"
    "  A file dropped on the window is opened like File > Open.\n"
    "\n"
    "Unsaved work is written to $XDG_STATE_HOME/kovrin (~/.local/state/kovrin) when the\n"
    "program ends and after 30 idle seconds; --recover opens the newest such file.\n";

}  // namespace

std::optional<std::string> commandLineInfo(const std::string& commandLine) {
  if (commandLine == "--help") return std::string(kUsage);
  if (commandLine == "--version") return std::string("kovrin " KOVRIN_VERSION "\n");
  return std::nullopt;
}
