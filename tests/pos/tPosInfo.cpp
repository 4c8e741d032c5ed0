#include "core/uError.h"
#include "pos/uPosInfo.h"
#include "settings/uConnectorSettings.h"
#include "support/uDemoHome.h"

#include <gtest/gtest.h>

using vq::Value;

namespace {

// POS2 sells in the second branch, POS3 shares POS1's store, POS4 names a warehouse and
// store that do not exist and POS codes with underscores.
const char *const MorePos = "[POS2]\nBraAbbr=BR2\nWarAbbr=W2\nScoAbbr=S2\n"
                            "InvoiceType_1=ALP\nInvoiceType_9=TDA\nTenderType_01=CASH2\n"
                            "[POS3]\nBraAbbr=HQ\nWarAbbr=W1\nScoAbbr=S1\nInvoiceType_7=TIM\n"
                            "[POS4]\nBraAbbr=HQ\nWarAbbr=NOWAR\nScoAbbr=S1\n"
                            "InvoiceType_A_B=NOTYPE\nTenderType_X_1=CASH2\nTenderType2_Y_2=Κάρτα\n";

std::string PosInfo(const std::vector<std::string> &names) {
  std::string xml = "<Pos><PosItems>";
  for (const std::string &name : names)
    xml += "<rConfigPos><ID>1</ID><Name>" + name + "</Name><IsActive>True</IsActive></rConfigPos>";
  return xml + "</PosItems></Pos>";
}

class PosContextTest : public ::testing::Test {
protected:
  PosContextTest()
      : home_(MorePos), connector_(home_.OpenConnector()), state_(connector_->State()) {
    state_.Global = vq::ReadSettings(*state_.Settings, state_.ExtApplicationID);
  }

  void Resolve(const std::string &pos) {
    vq::ReadPosSection(state_, pos);
    vq::ResolvePosBranch(state_);
    vq::ResolvePosWarehouse(state_);
    vq::ResolvePosStore(state_);
  }

  // Rows of a mapping table as "POSNAME/SCOID/code/value/id".
  static std::vector<std::string> Lines(vq::RecordSet &map, const char *code, const char *value,
                                        const char *id) {
    std::vector<std::string> lines;
    for (map.First(); !map.Eof(); map.Next())
      lines.push_back(map.Field("POSNAME").AsText() + "/" + map.Field("SCOID").AsText() + "/" +
                      map.Field(code).AsText() + "/" + map.Field(value).AsText() + "/" +
                      (map.Field(id).IsNull() ? "null" : map.Field(id).AsText()));
    return lines;
  }

  vq::test::DemoHome home_;
  std::unique_ptr<vq::TBackOfficeConnector> connector_;
  vq::TConnectorState &state_;
};

} // namespace

TEST(ParsePosInfo, ReadsEveryPosInOrder) {
  const vq::PosInfo info = vq::ParsePosInfo(
      "<?xml version=\"1.0\"?><Pos><PosItems><rConfigPos><PortActions>3</PortActions>"
      "<Name>POS_1</Name><IsActive>TRUE</IsActive></rConfigPos>"
      "<rConfigPos><Name>Ταμείο 2</Name></rConfigPos></PosItems></Pos>");
  ASSERT_EQ(info.Items.size(), 2u);
  EXPECT_EQ(info.First().Name, "POS_1");
  EXPECT_TRUE(info.Items[0].IsActive);
  EXPECT_EQ(info.Items[1].Name, "Ταμείο 2");
  EXPECT_FALSE(info.Items[1].IsActive);
}

TEST(ParsePosInfo, RefusesWhatIsNoPosInfo) {
  EXPECT_THROW(vq::ParsePosInfo("<Pos><PosItems>"), vq::Error);
  EXPECT_THROW(vq::ParsePosInfo("<Customers/>"), vq::Error);
  EXPECT_THROW(vq::ParsePosInfo("<Pos><PosItems/></Pos>").First(), vq::Error);
}

TEST_F(PosContextTest, ResolvesTheFirstPosFromItsSection) {
  const vq::PosInfo info = vq::ParsePosInfo(PosInfo({"POS2", "POS1"}));
  Resolve(info.First().Name);
  EXPECT_EQ(state_.Global.BraAbbr, "BR2"); // the POS section replaces the connection's
  EXPECT_EQ(state_.PosBranchId, 2);
  EXPECT_EQ(state_.PosWarehouseId, 2);
  EXPECT_EQ(state_.PosStoreId, 2);
}

TEST_F(PosContextTest, UnknownWarehouseKeepsTheEarlierOne) {
  Resolve("POS2");
  vq::ReadPosSection(state_, "POS4");
  EXPECT_EQ(vq::ResolvePosBranch(state_), 1);
  EXPECT_EQ(vq::ResolvePosWarehouse(state_), 0);
  EXPECT_EQ(state_.PosWarehouseId, 2);
  // The store is looked up in the warehouse kept from before: S1 is not there.
  EXPECT_EQ(vq::ResolvePosStore(state_), 0);
  EXPECT_EQ(state_.PosStoreId, 2);
}

TEST_F(PosContextTest, PosWithoutSectionResolvesNothing) {
  Resolve("POS1");
  Resolve("NOSUCHPOS");
  EXPECT_EQ(state_.Pos.UpdateStatus, 2);
  EXPECT_EQ(state_.PosStoreId, 1);
}

TEST_F(PosContextTest, SelectStoreTakesAStoreOfTheBranchOnly) {
  Resolve("POS1");
  vq::SelectStore(state_, 3); // S3, the second store of W1 in HQ
  EXPECT_EQ(state_.PosStoreId, 3);
  EXPECT_EQ(state_.PosWarehouseId, 1);
  vq::SelectStore(state_, 2); // S2 belongs to BR2: back to the POS's own store
  EXPECT_EQ(state_.PosStoreId, 1);
  EXPECT_EQ(state_.PosBranchId, 1);
}

TEST_F(PosContextTest, MappingsOfAllPos) {
  const vq::PosIdLists lists =
      vq::BuildPosMappings(state_, vq::ParsePosInfo(PosInfo({"POS1", "POS2", "POS3", "POS4"})));
  EXPECT_EQ(lists.StoreIds, "1,2,1,"); // POS4's warehouse does not exist
  EXPECT_EQ(lists.DocTypeIds, "1,2,3,6,");
  EXPECT_EQ(Lines(state_.DocTypeMap, "OTYPE", "CTYPE", "IVTID"),
            (std::vector<std::string>{"POS1/1/1/ALP/1", "POS1/1/2/TIM/2", "POS1/1/3/PIS/3",
                                      "POS2/2/1/ALP/1", "POS2/2/9/TDA/6", "POS3/1/7/TIM/2",
                                      "POS4/0/A_B/NOTYPE/null"}));
  EXPECT_EQ(Lines(state_.FundMap, "OFUND", "CFUND", "FUAID"),
            (std::vector<std::string>{"POS1/1/01/CASH1/1", "POS1/1/03/CARD1/2", "POS2/2/01/CASH2/3",
                                      "POS4/0/X_1/CASH2/null"}));
  ASSERT_TRUE(state_.FundMap.Locate("POSNAME;OFUND", {Value("POS2"), Value("01")}));
  EXPECT_EQ(state_.FundMap.Field("BRAID").AsInteger(), 2);
  EXPECT_EQ(Lines(state_.PayMethodMap, "OPAY", "CPAY", "UPWID"),
            (std::vector<std::string>{"POS1/1/01/Μετρητά/1", "POS1/1/02/Πίστωση 30 ημερών/3",
                                      "POS1/1/03/Κάρτα/2", "POS4/0/Y_2/Κάρτα/2"}));
}
