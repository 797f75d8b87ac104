#include "ui/menu_tables.h"

#include "ui/actions.h"

namespace {

// [SECTION] labels

constexpr uint8_t act(Action a) {
  return actionCode(a);
}

struct LabelRow {
  std::string_view text;  // without the right padding
  LabelKind kind;
  uint8_t arg;
  char hotKey;
};

constexpr LabelRow kLabelRows[kLabelCount] = {
    {"", kCaption, 0, ' '},                                              // 0 spacer
    {"  File", kSubmenu, kMenuFile, 'f'},                                // 1
    {"  Edit", kSubmenu, kMenuEdit, 'e'},                                // 2
    {"  View", kSubmenu, kMenuView, 'v'},                                // 3
    {" Camera", kSubmenu, kMenuCamera, 'c'},                             // 4
    {" Quit", kAction, act(Action::Quit), 'q'},                          // 5
    {" Open", kAction, act(Action::Open), 'o'},                          // 6
    {" Save", kAction, act(Action::Save), 's'},                          // 7
    {" save As", kAction, act(Action::SaveAs), 'a'},                     // 8
    {"current totals", kCaption, 0, ' '},                                // 9
    {"verteces", kReadout, 0, ' '},                                      // 10
    {"triangles", kReadout, 1, ' '},                                     // 11
    {"lines", kReadout, 2, ' '},                                         // 12
    {" exPort stl", kAction, act(Action::ExportStl), 'p'},               // 13
    {"---- close -----", kAction, act(Action::CloseMenu), '-'},          // 14
    {"[_] show veRts", kCheckbox, 0, 'r'},                               // 15
    {"[_] show Tris", kCheckbox, 1, 't'},                                // 16
    {"[_] show Lines", kCheckbox, 2, 'l'},                               // 17
    {"", kPartRow, 0, ' '},                                              // 18
    {"[_] Backface", kCheckbox, 4, 'b'},                                 // 19
    {"    culling", kCaption, 0, ' '},                                   // 20
    {"CXY", kReadout, 4, ' '},                                           // 21
    {"CXZ", kReadout, 5, ' '},                                           // 22
    {"CYZ", kReadout, 6, ' '},                                           // 23
    {"distance", kReadout, 7, ' '},                                      // 24
    {"scaling", kReadout, 8, ' '},                                       // 25
    {"[_] show Grid", kCheckbox, 5, 'g'},                                // 26
    {"froNt view", kAction, act(Action::FrontView), 'n'},                // 27
    {"Back view", kAction, act(Action::BackView), 'b'},                  // 28
    {"Top view", kAction, act(Action::TopView), 't'},                    // 29
    {"bOttom view", kAction, act(Action::BottomView), 'o'},              // 30
    {"Left side view", kAction, act(Action::LeftView), 'l'},             // 31
    {"Right side view", kAction, act(Action::RightView), 'r'},           // 32
    {"new verteX", kSubmenu, kMenuNewVertex, 'x'},                       // 33
    {"new Line", kSubmenu, kMenuNewLine, 'l'},                           // 34
    {"new Triangle", kSubmenu, kMenuNewTriangle, 't'},                   // 35
    {"new quAd", kSubmenu, kMenuNewQuad, 'a'},                           // 36
    {"new cUbe", kSubmenu, kMenuNewCube, 'u'},                           // 37
    {"h offset", kReadout, 9, ' '},                                      // 38
    {"v offset", kReadout, 10, ' '},                                     // 39
    {"[_] Wireframe", kCheckbox, 6, 'w'},                                // 40
    {"[_] locK view", kCheckbox, 3, 'k'},                                // 41
    {"X1", kField, 50, '1'},                                             // 42
    {"Y1", kField, 51, ' '},                                             // 43
    {"Z1", kField, 52, ' '},                                             // 44
    {"X2", kField, 53, '2'},                                             // 45
    {"Y2", kField, 54, ' '},                                             // 46
    {"Z2", kField, 55, ' '},                                             // 47
    {"X3", kField, 56, '3'},                                             // 48
    {"Y3", kField, 57, ' '},                                             // 49
    {"Z3", kField, 58, ' '},                                             // 50
    {"X4", kField, 59, '4'},                                             // 51
    {"Y4", kField, 60, ' '},                                             // 52
    {"Z4", kField, 61, ' '},                                             // 53
    {".... create ....", kAction, act(Action::Create), '.'},             // 54
    {"siZe", kField, 62, 'z'},                                           // 55
    {"Selection...", kSubmenu, kMenuSelection, 's'},                     // 56
    {"Delete last vert", kAction, act(Action::DeleteLastVertex), 'd'},   // 57
    {"[_] Mouse plot", kCheckbox, 7, 'm'},                               // 58
    {"sl. eNtire model", kAction, act(Action::SelectEntireModel), 'n'},  // 59
    {"cLear selection", kAction, act(Action::ClearSelection), 'l'},      // 60
    {"[_] Only select", kCheckbox, 8, 'o'},                              // 61
    {"   visible parts", kCaption, 0, ' '},                              // 62
    {"Move selection", kSubmenu, kMenuMove, 'm'},                        // 63
    {"dUplicate", kSubmenu, kMenuDuplicate, 'u'},                        // 64
    {"Rotate selection", kSubmenu, kMenuRotate, 'r'},                    // 65
    {"Delete selection", kSubmenu, kMenuDelete, 'd'},                    // 66
    {"selection total:", kCaption, 0, ' '},                              // 67
    {"triangles", kReadout, 11, ' '},                                    // 68
    {"XY angle", kField, 63, '2'},                                       // 69
    {"XZ angle", kField, 64, ' '},                                       // 70
    {"YZ angle", kField, 65, ' '},                                       // 71
    {"....confirm.....", kAction, act(Action::Confirm), '.'},            // 72
    {"scaLe selection", kSubmenu, kMenuScale, 'l'},                      // 73
    {"[_] select Tool", kCheckbox, 9, 't'},                              // 74
    {"drawdepth", kField, 66, 'd'},                                      // 75
    {"X scale", kField, 67, '2'},                                        // 76
    {"Y scale", kField, 68, ' '},                                        // 77
    {"Z scale", kField, 69, ' '},                                        // 78
    {"[_] Unselect", kCheckbox, 10, 'u'},                                // 79
    {" New", kAction, act(Action::New), 'n'},                            // 80
    {"create Primitive", kSubmenu, kMenuCreatePrimitive, 'p'},           // 81
    {"new Disc", kSubmenu, kMenuNewDisc, 'd'},                           // 82
    {"new cYlinder", kSubmenu, kMenuNewCylinder, 'y'},                   // 83
    {"new cOne", kSubmenu, kMenuNewCone, 'o'},                           // 84
    {"Radius", kField, 82, 'r'},                                         // 85
    {"Height", kField, 83, 'h'},                                         // 86
    {"sIdes", kField, 12, 'i'},                                          // 87
    {"<- part group ->", kAction, act(Action::StepPartGroup), ' '},      // 88
    {"part Names", kSubmenu, kMenuPartNames, 'n'},                       // 89
    {"", kPartNameRow, 0, ' '},                                          // 90
    {"By part group", kSubmenu, kMenuByPartGroup, 'b'},                  // 91
    {"reassigN to", kAction, act(Action::ReassignTo), 'n'},              // 92
    {"selection center", kAction, act(Action::SelectionCenter), ' '},    // 93
    {"[_] absolute co.", kCheckbox, 11, ' '},                            // 94
    {"[_] remove verts", kCheckbox, 12, ' '},                            // 95
    {"Actions", kSubmenu, kMenuActions, 'a'},                            // 96
    {"flip X", kAction, act(Action::FlipX), 'x'},                        // 97
    {"flip Y", kAction, act(Action::FlipY), 'y'},                        // 98
    {"flip Z", kAction, act(Action::FlipZ), 'z'},                        // 99
    {"Misc tools", kSubmenu, kMenuMiscTools, 'm'},                       // 100
    {"delete last Tri", kAction, act(Action::DeleteLastTriangle), 't'},  // 101
    {"deLete last line", kAction, act(Action::DeleteLastLine), 'l'},     // 102
    {"vert edIt", kSubmenu, kMenuVertEdit, 'i'},                         // 103
    {"Manual triangle", kAction, act(Action::ManualTriangle), 'm'},      // 104
    {"Auto triangle", kAction, act(Action::AutoTriangle), 'a'},          // 105
    {"Guillotine", kSubmenu, kMenuGuillotine, 'g'},                      // 106
    {"dRill", kSubmenu, kMenuDrill, 'r'},                                // 107
    {"screenX", kField, 13, ' '},                                        // 108
    {"screenY", kField, 14, ' '},                                        // 109
    {"", kCaption, 0, ' '},                                              // 110 unused
    {"Load part from", kAction, act(Action::LoadPart), 'l'},             // 111
    {"save To file", kAction, act(Action::SavePart), 't'},               // 112
    {"Benchmark", kAction, act(Action::Benchmark), 'b'},                 // 113
    {"reverse fAces", kAction, act(Action::ReverseFaces), 'a'},          // 114
    {"Move vert", kAction, act(Action::MoveVertex), 'm'},                // 115
    {"Delete vert", kAction, act(Action::DeleteVertex), 'd'},            // 116
    {"[_] vert Selectr", kCheckbox, 13, 's'},                            // 117
    {"Slice xy plane", kAction, act(Action::SliceXY), 's'},              // 118
    {"sLice yz plane", kAction, act(Action::SliceYZ), 'l'},              // 119
    {"slIce xz plane", kAction, act(Action::SliceXZ), 'i'},              // 120
    {"[_] model Colors", kCheckbox, 14, 'c'},                            // 121
    {"Change color", kSubmenu, kMenuChangeColor, 'c'},                   // 122
    {" (range is 0-31)", kCaption, 0, ' '},                              // 123
    {"Red", kField, 15, 'r'},                                            // 124
    {"Green", kField, 16, 'g'},                                          // 125
    {"Blue", kField, 17, 'b'},                                           // 126
    {"save scReenshot", kAction, act(Action::SaveScreenshot), 'r'},      // 127
    {"Red", kField, 18, 'r'},                                            // 128
    {"Green", kField, 19, 'g'},                                          // 129
    {"Blue", kField, 20, 'b'},                                           // 130
    {"deFault color", kSubmenu, kMenuDefaultColor, 'f'},                 // 131
};

constexpr std::array<MenuLabel, kLabelCount> buildLabels() {
  std::array<MenuLabel, kLabelCount> labels{};
  for (int i = 0; i < kLabelCount; ++i) {
    const LabelRow& r = kLabelRows[i];
    MenuLabel& l = labels[i];
    for (int c = 0; c < kLabelTextLength; ++c)
      l.text[c] = c < static_cast<int>(r.text.size()) ? r.text[c] : ' ';
    l.width = (i >= 1 && i <= 4) ? 8 : 16;
    l.kind = r.kind;
    l.arg = r.arg;
    l.hotKey = r.hotKey;
  }
  return labels;
}

static_assert([] {
  for (const LabelRow& r : kLabelRows)
    if (r.text.size() > kLabelTextLength) return false;
  return true;
}());

// [SECTION] menu definitions

// Packed one after another: anchor column, anchor row, entry count, label numbers; a column
// of 0 ends the data. Menus are in number order, 1 to 28.
// clang-format off
constexpr uint8_t kMenuDefs[] = {
    // 1 "  File"
    2, 4, 13, 14, 80, 6, 7, 8, 5, 13, 127, 0, 9, 10, 11, 12,
    // 2 "  Edit"
    2, 4, 10, 14, 81, 89, 56, 100, 131, 0, 88, 18, 111,
    // 3 "  View"
    2, 4, 12, 14, 15, 16, 17, 0, 26, 19, 20, 40, 0, 121, 75,
    // 4 " Camera"
    2, 4, 16, 14, 21, 22, 23, 24, 25, 38, 39, 0, 27, 28, 29, 30, 31, 32, 41,
    // 5 "new verteX"
    19, 4, 6, 14, 58, 42, 43, 44, 54,
    // 6 "new Line"
    19, 4, 9, 14, 58, 42, 43, 44, 45, 46, 47, 54,
    // 7 "new Triangle"
    19, 4, 12, 14, 58, 42, 43, 44, 45, 46, 47, 48, 49, 50, 54,
    // 8 "new quAd"
    19, 4, 15, 14, 58, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54,
    // 9 "new cUbe"
    19, 4, 7, 14, 58, 42, 43, 44, 55, 54,
    // 10 "Selection..."
    2, 4, 12, 14, 59, 60, 91, 74, 79, 61, 62, 96, 0, 67, 68,
    // 11 "Move selection"
    19, 4, 7, 14, 58, 94, 42, 43, 44, 72,
    // 12 "dUplicate"
    19, 4, 7, 14, 58, 94, 42, 43, 44, 72,
    // 13 "Rotate selection"
    19, 4, 10, 14, 58, 93, 42, 43, 44, 69, 70, 71, 72,
    // 14 "scaLe selection"
    19, 4, 10, 14, 58, 93, 42, 43, 44, 76, 77, 78, 72,
    // 15 "create Primitive"
    2, 4, 12, 14, 88, 18, 33, 34, 35, 36, 37, 82, 83, 84, 0,
    // 16 "new Disc"
    19, 4, 8, 14, 58, 42, 43, 44, 85, 87, 54,
    // 17 "new cYlinder"
    19, 4, 9, 14, 58, 42, 43, 44, 85, 86, 87, 54,
    // 18 "new cOne"
    19, 4, 9, 14, 58, 42, 43, 44, 85, 86, 87, 54,
    // 19 "part Names"
    19, 4, 10, 14, 88, 90, 90, 90, 90, 90, 90, 90, 90,
    // 20 "By part group"
    19, 4, 10, 14, 88, 18, 18, 18, 18, 18, 18, 18, 18,
    // 21 "Delete selection"
    19, 4, 3, 14, 95, 72,
    // 22 "Actions"
    2, 4, 15, 14, 63, 64, 65, 73, 66, 97, 98, 99, 112, 114, 122, 92, 88, 18,
    // 23 "Misc tools"
    2, 4, 10, 14, 57, 101, 102, 103, 104, 105, 106, 107, 113,
    // 24 "dRill"
    19, 4, 6, 14, 58, 108, 109, 85, 72,
    // 25 "vert edIt"
    19, 4, 8, 14, 117, 42, 43, 44, 115, 0, 116,
    // 26 "Guillotine"
    19, 4, 8, 14, 58, 42, 43, 44, 118, 119, 120,
    // 27 "Change color"
    19, 4, 6, 14, 123, 124, 125, 126, 72,
    // 28 "deFault color"
    19, 4, 5, 14, 123, 128, 129, 130,
    // end
    0,
};
// clang-format on

// Walks the packed definitions once, recording where each menu's record starts.
constexpr std::array<int, kMenuCount + 1> buildMenuDefStart() {
  std::array<int, kMenuCount + 1> start{};
  int pos = 0;
  for (int menu = 1; menu <= kMenuCount && kMenuDefs[pos] != 0; ++menu) {
    start[menu] = pos;
    pos += 3 + kMenuDefs[pos + 2];
  }
  return start;
}

constexpr std::array<int, kMenuCount + 1> kMenuDefStart = buildMenuDefStart();

constexpr int totalEntries() {
  int total = 0;
  for (int menu = 1; menu <= kMenuCount; ++menu) total += kMenuDefs[kMenuDefStart[menu] + 2];
  return total;
}

// Every record is where the walk put it, the walk ends on the end record, and the entry
// list can hold the bar plus every menu at once.
static_assert(kMenuDefs[kMenuDefStart[kMenuCount] + 3 + kMenuDefs[kMenuDefStart[kMenuCount] + 2]] ==
              0);
static_assert(sizeof(kMenuDefs) ==
              static_cast<size_t>(kMenuDefStart[kMenuCount] + 3 +
                                  kMenuDefs[kMenuDefStart[kMenuCount] + 2] + 1));
static_assert(totalEntries() == 265);
static_assert(kMaxMenuEntries >= 4 + totalEntries());

}  // namespace

const std::array<MenuLabel, kLabelCount> menuLabels = buildLabels();

MenuDef menuDef(int menu) {
  if (menu < 1 || menu > kMenuCount) return {};
  const int pos = kMenuDefStart[menu];
  return {kMenuDefs[pos], kMenuDefs[pos + 1],
          std::span<const uint8_t>(kMenuDefs + pos + 3, kMenuDefs[pos + 2])};
}

const std::array<int, kMenuCount + 1>& menuDefStartTable() {
  return kMenuDefStart;
}
