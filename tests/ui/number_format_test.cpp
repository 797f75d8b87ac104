#include <gtest/gtest.h>

#include "ui/menus.h"

namespace {

TEST(NumberFormat, IntegersRightAligned) {
  EXPECT_EQ(formatNumber7(250.0f), "    250");
  EXPECT_EQ(formatNumber7(0.0f), "      0");
  EXPECT_EQ(formatNumber7(-3.0f), "     -3");
  EXPECT_EQ(formatNumber7(9999999.0f), "9999999");
  EXPECT_EQ(formatNumber7(-999999.0f), "-999999");
  EXPECT_EQ(formatNumber7(1000.0f), "   1000");
}

TEST(NumberFormat, TooLargeIsBigNum) {
  EXPECT_EQ(formatNumber7(-2000000.0f), "big num");
  EXPECT_EQ(formatNumber7(20000000.0f), "big num");
  EXPECT_EQ(formatNumber7(10000000.0f), "big num");
  EXPECT_EQ(formatNumber7(-1000000.0f), "big num");
}

TEST(NumberFormat, FractionsBySinglePrecisionSubtraction) {
  EXPECT_EQ(formatNumber7(1.5f), "1.50000");
  EXPECT_EQ(formatNumber7(0.25f), ".250000");
  EXPECT_EQ(formatNumber7(0.11f), ".109999");
  EXPECT_EQ(formatNumber7(0.65f), ".649999");
  EXPECT_EQ(formatNumber7(0.3f), ".300000");
  EXPECT_EQ(formatNumber7(3.14159f), "3.14159");
  EXPECT_EQ(formatNumber7(-1.5f), "-1.5000");
}

}  // namespace
