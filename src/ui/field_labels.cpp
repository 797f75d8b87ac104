#include "ui/field_labels.h"

#include <array>
#include <utility>

#include "model/fields.h"

namespace {

// Label number and field code of every label of kind field.
constexpr std::array<std::pair<int, int>, 31> kFieldLabels = {
    {{42, kFieldX1},          {43, kFieldX1 + 1},      {44, kFieldX1 + 2},
     {45, kFieldX1 + 3},      {46, kFieldX1 + 4},      {47, kFieldX1 + 5},
     {48, kFieldX1 + 6},      {49, kFieldX1 + 7},      {50, kFieldX1 + 8},
     {51, kFieldX1 + 9},      {52, kFieldX1 + 10},     {53, kFieldX1 + 11},
     {55, kFieldSize},        {69, kFieldXYAngle},     {70, kFieldXZAngle},
     {71, kFieldYZAngle},     {75, kFieldDrawDepth},   {76, kFieldXScale},
     {77, kFieldYScale},      {78, kFieldZScale},      {85, kFieldRadius},
     {86, kFieldHeight},      {87, kFieldSides},       {108, kFieldScreenX},
     {109, kFieldScreenY},    {124, kFieldChangeRed},  {125, kFieldChangeGreen},
     {126, kFieldChangeBlue}, {128, kFieldDefaultRed}, {129, kFieldDefaultGreen},
     {130, kFieldDefaultBlue}}};

}  // namespace

int fieldCodeOfLabel(int label) {
  for (const auto& [l, code] : kFieldLabels)
    if (l == label) return code;
  return -1;
}
