#include "core/uError.h"
#include "core/uValue.h"

#include <gtest/gtest.h>

using vq::Value;

TEST(Value, MissingValuesConvertToZeroFalseAndEmpty) {
  for (const Value& missing : {Value(), Value::Null()}) {
    EXPECT_EQ(missing.AsInteger(), 0);
    EXPECT_EQ(missing.AsNumber(), 0);
    EXPECT_FALSE(missing.AsBoolean());
    EXPECT_EQ(missing.AsText(), "");
    EXPECT_EQ(missing.AsDate().Days, 0);
    EXPECT_TRUE(missing.IsMissing());
  }
}

TEST(Value, ConvertsBetweenScalarTypes) {
  EXPECT_EQ(Value("42").AsInteger(), 42);
  EXPECT_EQ(Value(" 2.5 ").AsNumber(), 2.5);
  EXPECT_EQ(Value(2.5).AsText(), "2.5");
  EXPECT_EQ(Value(24.0).AsText(), "24");
  EXPECT_EQ(Value(int64_t{7}).AsText(), "7");
  EXPECT_TRUE(Value("True").AsBoolean());
  EXPECT_FALSE(Value("0").AsBoolean());
  EXPECT_EQ(Value("31/12/2026").AsDate(), vq::EncodeDateTime({2026, 12, 31}));
  EXPECT_EQ(Value(vq::EncodeDateTime({2026, 12, 31, 8, 5, 0})).AsText(), "31/12/2026 08:05:00");
}

TEST(Value, TextThatIsNoNumberRaises) {
  EXPECT_THROW(Value("abc").AsInteger(), vq::Error);
  EXPECT_THROW(Value("1,5").AsNumber(), vq::Error);
  EXPECT_THROW(Value("32/01/2026").AsDate(), vq::Error);
  EXPECT_THROW(Value(int64_t{1} << 40).AsInt32(), vq::Error);
  EXPECT_THROW(Value(1).AsBytes(), vq::Error);
}

TEST(Value, EqualityComparesNumbersByValue) {
  EXPECT_EQ(Value(3), Value(3.0));
  EXPECT_NE(Value(3), Value("3"));
  EXPECT_NE(Value(), Value::Null());
  EXPECT_EQ(Value(std::vector<Value>{1, "a"}), Value(std::vector<Value>{1, "a"}));
}
