// The command vocabulary: what a menu entry of kind action runs, and which command group
// carries it out.
#pragma once

#include <cstdint>

#include "ui/menu_ids.h"

// The action of an entry of kind kAction; its number is the argument in the label table.
enum class Action : uint8_t {
  Quit = 0,                 // " Quit"
  Open = 1,                 // " Open"
  Save = 2,                 // " Save"
  SaveAs = 3,               // " save As"
  CloseMenu = 4,            // "---- close -----"
  FrontView = 5,            // "froNt view"
  BackView = 6,             // "Back view"
  TopView = 7,              // "Top view"
  BottomView = 8,           // "bOttom view"
  LeftView = 9,             // "Left side view"
  RightView = 10,           // "Right side view"
  ExportStl = 11,           // " exPort stl"
  Create = 12,              // ".... create ....": the shape of the menu it stands in
  DeleteLastVertex = 13,    // "Delete last vert"
  SelectEntireModel = 14,   // "sl. eNtire model"
  ClearSelection = 15,      // "cLear selection"
  FlipX = 16,               // "flip X"
  Confirm = 17,             // "....confirm.....": the operation of the menu it stands in
  New = 18,                 // " New"
  StepPartGroup = 19,       // "<- part group ->"
  ReassignTo = 20,          // "reassigN to"
  SelectionCenter = 21,     // "selection center"
  FlipY = 22,               // "flip Y"
  FlipZ = 23,               // "flip Z"
  DeleteLastTriangle = 24,  // "delete last Tri"
  DeleteLastLine = 25,      // "deLete last line"
  DeleteVertex = 26,        // "Delete vert"
  ManualTriangle = 27,      // "Manual triangle"
  AutoTriangle = 28,        // "Auto triangle"
  SliceXY = 29,             // "Slice xy plane"
  Unused = 30,              // no entry runs it
  LoadPart = 31,            // "Load part from"
  SavePart = 32,            // "save To file"
  Benchmark = 33,           // "Benchmark"
  ReverseFaces = 34,        // "reverse fAces"
  MoveVertex = 35,          // "Move vert"
  SliceYZ = 36,             // "sLice yz plane"
  SliceXZ = 37,             // "slIce xz plane"
  SaveScreenshot = 38,      // "save scReenshot"
};
constexpr int kActionCount = 39;

constexpr uint8_t actionCode(Action a) {
  return static_cast<uint8_t>(a);
}

// Who carries out an action: the dispatch itself (quit, close, view presets, screenshot) or
// one of the command groups; None only redraws.
enum class CommandGroup : uint8_t { Dispatch, File, Edit, Build, None };

// The one table of which group handles each action, in action order.
constexpr CommandGroup kCommandGroups[kActionCount] = {
    CommandGroup::Dispatch,  // Quit
    CommandGroup::File,      // Open
    CommandGroup::File,      // Save
    CommandGroup::File,      // SaveAs
    CommandGroup::Dispatch,  // CloseMenu
    CommandGroup::Dispatch,  // FrontView
    CommandGroup::Dispatch,  // BackView
    CommandGroup::Dispatch,  // TopView
    CommandGroup::Dispatch,  // BottomView
    CommandGroup::Dispatch,  // LeftView
    CommandGroup::Dispatch,  // RightView
    CommandGroup::File,      // ExportStl
    CommandGroup::Build,     // Create
    CommandGroup::Build,     // DeleteLastVertex
    CommandGroup::Edit,      // SelectEntireModel
    CommandGroup::Edit,      // ClearSelection
    CommandGroup::Edit,      // FlipX
    CommandGroup::Edit,      // Confirm (the drill's is the build group's: commandGroupOf)
    CommandGroup::Build,     // New
    CommandGroup::Edit,      // StepPartGroup
    CommandGroup::Edit,      // ReassignTo
    CommandGroup::Edit,      // SelectionCenter
    CommandGroup::Edit,      // FlipY
    CommandGroup::Edit,      // FlipZ
    CommandGroup::Build,     // DeleteLastTriangle
    CommandGroup::Build,     // DeleteLastLine
    CommandGroup::Build,     // DeleteVertex
    CommandGroup::Build,     // ManualTriangle
    CommandGroup::Build,     // AutoTriangle
    CommandGroup::Build,     // SliceXY
    CommandGroup::None,      // Unused
    CommandGroup::File,      // LoadPart
    CommandGroup::File,      // SavePart
    CommandGroup::Build,     // Benchmark
    CommandGroup::Edit,      // ReverseFaces
    CommandGroup::Build,     // MoveVertex
    CommandGroup::Build,     // SliceYZ
    CommandGroup::Build,     // SliceXZ
    CommandGroup::Dispatch,  // SaveScreenshot
};

// The group of `action` run from `invokingMenu`; None for a number outside the table.
constexpr CommandGroup commandGroupOf(Action action, int invokingMenu) {
  const int code = actionCode(action);
  if (code >= kActionCount) return CommandGroup::None;
  if (action == Action::Confirm && invokingMenu == kMenuDrill) return CommandGroup::Build;
  return kCommandGroups[code];
}
