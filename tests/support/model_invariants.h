// Checks that a model is well formed: counts within the capacities, every triangle and line
// index naming an existing vertex, no removal mark left and every group within 0..99.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "model/model.h"
#include "model/model_check.h"
#include "support/small_models.h"

inline ::testing::AssertionResult modelIsSound(const Model& m) {
  const std::string fault = checkModel(m);
  if (fault.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << fault;
}

inline Model makeTestModel(int32_t maxv = 1000, int32_t maxt = 1000, int32_t maxl = 100) {
  return makeEmptyModel(maxv, maxt, maxl);
}
