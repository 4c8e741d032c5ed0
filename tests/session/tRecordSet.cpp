#include "core/uError.h"
#include "session/uRecordSet.h"

#include <gtest/gtest.h>

using vq::DataPacket;
using vq::FieldType;
using vq::RecordSet;
using vq::Value;

namespace {

DataPacket Accounts() {
  DataPacket packet;
  packet.Fields = {{"AccountNum", FieldType::Text, 20},
                   {"chkcategory", FieldType::Integer, 0},
                   {"Balance", FieldType::Number, 0}};
  packet.Rows = {{Value("C2"), Value(1), Value(10.5)},
                 {Value("C1"), Value(2), Value::Null()},
                 {Value("C1"), Value(1), Value(-3.0)}};
  return packet;
}

} // namespace

TEST(DataPacket, EncodesAndDecodesEveryValueType) {
  DataPacket packet;
  packet.Fields = {{"A", FieldType::Text, 10}, {"B", FieldType::Date, 0}};
  packet.Rows = {{Value("Ελληνικά"), Value(vq::TDateTime{46000.25})},
                 {Value::Null(), Value(std::vector<Value>{Value(1), Value(true), Value(2.5)})},
                 {Value(vq::Bytes{0, 255}), Value()}};
  EXPECT_EQ(DataPacket::Decode(packet.Encode()), packet);
}

TEST(DataPacket, RejectsBytesThatAreNoPacket) {
  vq::Bytes bytes = Accounts().Encode();
  EXPECT_THROW(DataPacket::Decode(vq::Bytes{1, 2, 3}), vq::Error);
  bytes.pop_back();
  EXPECT_THROW(DataPacket::Decode(bytes), vq::Error);
  bytes.push_back(0);
  bytes.push_back(0);
  EXPECT_THROW(DataPacket::Decode(bytes), vq::Error);
  vq::Bytes huge = DataPacket{{{"A", FieldType::Text, 1}}, {}}.Encode();
  huge[huge.size() - 1] = 0x7F; // claims many rows it does not hold
  EXPECT_THROW(DataPacket::Decode(huge), vq::Error);
}

TEST(RecordSet, EmptySetIsAtBothEnds) {
  RecordSet records(DataPacket{Accounts().Fields, {}});
  EXPECT_TRUE(records.IsEmpty());
  EXPECT_TRUE(records.Field("AccountNum").IsNull());
  records.Next();
  EXPECT_TRUE(records.Eof());
}

TEST(RecordSet, WalksRowsWithEndAndBeginningFlags) {
  RecordSet records(Accounts());
  EXPECT_TRUE(records.Bof());
  EXPECT_FALSE(records.Eof());
  int seen = 0;
  for (records.First(); !records.Eof(); records.Next()) ++seen;
  EXPECT_EQ(seen, 3);
  EXPECT_EQ(records.Field("accountnum").AsText(), "C1"); // stays on the last row
  records.Prior();
  EXPECT_FALSE(records.Eof());
  EXPECT_EQ(records.Field("chkcategory").AsInteger(), 2);
  EXPECT_THROW(records.Field("Missing"), vq::Error);
}

TEST(RecordSet, LocatesByOneOrSeveralKeyFields) {
  RecordSet records(Accounts());
  ASSERT_TRUE(records.Locate("AccountNum;chkcategory", {Value("C1"), Value("1")}));
  EXPECT_EQ(records.Field("Balance").AsNumber(), -3.0);
  ASSERT_TRUE(records.Locate("AccountNum", {Value("C1")}));
  EXPECT_EQ(records.Field("chkcategory").AsInteger(), 2);
  EXPECT_FALSE(records.Locate("AccountNum", {Value("c1")})); // exact texts
  EXPECT_EQ(records.Field("chkcategory").AsInteger(), 2);    // cursor unchanged
  EXPECT_TRUE(records.Locate("Balance", {Value::Null()}));
  EXPECT_THROW(records.Locate("AccountNum;chkcategory", {Value("C1")}), vq::Error);
}

TEST(RecordSet, IndexOrdersByFieldListAndLocateFollowsIt) {
  RecordSet records(Accounts());
  records.SetIndexFieldNames("AccountNum;chkcategory");
  std::vector<std::string> order;
  for (records.First(); !records.Eof(); records.Next())
    order.push_back(records.Field("AccountNum").AsText() + "/" +
                    records.Field("chkcategory").AsText());
  EXPECT_EQ(order, (std::vector<std::string>{"C1/1", "C1/2", "C2/1"}));
  ASSERT_TRUE(records.Locate("AccountNum", {Value("C1")}));
  EXPECT_EQ(records.Field("chkcategory").AsInteger(), 1);
  EXPECT_THROW(records.SetIndexFieldNames("Nope"), vq::Error);
}

TEST(RecordSet, InMemoryDefinitionsAppendEditAndPost) {
  RecordSet map;
  map.AddFieldDef("POSNAME", FieldType::Text, 255);
  map.AddFieldDef("SCOID", FieldType::Integer);
  map.CreateDataSet();
  ASSERT_TRUE(map.Active());
  EXPECT_THROW(map.SetField("SCOID", Value(1)), vq::Error);
  map.Append();
  map.SetField("POSNAME", Value("POS1"));
  map.Post();
  map.Append();
  map.SetField("POSNAME", Value("POS2"));
  map.SetField("SCOID", Value(7));
  map.Post();
  EXPECT_EQ(map.RecordCount(), 2);
  ASSERT_TRUE(map.Locate("POSNAME", {Value("POS1")}));
  EXPECT_TRUE(map.Field("SCOID").IsNull());
  map.Edit();
  map.SetField("SCOID", Value(3));
  map.Post();
  RecordSet copy;
  copy.SetData(map.Data());
  ASSERT_TRUE(copy.Locate("SCOID", {Value(3)}));
  EXPECT_EQ(copy.Field("POSNAME").AsText(), "POS1");
  copy.Delete();
  EXPECT_EQ(copy.RecordCount(), 1);
}
