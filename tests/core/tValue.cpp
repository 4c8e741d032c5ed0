#include "core/uValue.h"

#include <gtest/gtest.h>

TEST(Value, MissingValuesConvertToZeroAndEmpty) {
  EXPECT_EQ(vq::Value().AsInteger(), 0);
  EXPECT_EQ(vq::Value::Null().AsText(), "");
}
