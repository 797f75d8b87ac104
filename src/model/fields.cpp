#include "model/fields.h"

void setFieldDefaults(Fields& f) {
  f.displayValues.fill(0);
  f.floatFields.fill(0.0f);
  f.floatFields[kXScale] = 1.0f;
  f.floatFields[kYScale] = 1.0f;
  f.floatFields[kZScale] = 1.0f;
  f.floatFields[kRadius] = 10.0f;
  f.floatFields[kHeight] = 10.0f;
  f.floatFields[kDrawDepth] = kDefaultDrawDepth;
  f.displayValues[kFieldSides] = 18;
}
