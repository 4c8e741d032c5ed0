#include "export/uExportFixture.h"

#include "documents/uXml.h"

#include <gtest/gtest.h>

namespace {

using vq::XmlDocument;
using vq::XmlNode;
using vq::test::ChildNames;
using vq::test::Entry;
using vq::test::ExportFixture;
using vq::test::Path;
using vq::test::Pos1;

const std::vector<std::string> ItemElements = {"ItemId",
                                               "ItemName",
                                               "Price",
                                               "RPrice",
                                               "ItemGroupId",
                                               "ItemGroupName",
                                               "TaxItemGroupId",
                                               "TaxItemGroupPcnt",
                                               "TaxItemGroupRId",
                                               "TaxItemGroupRPcnt",
                                               "ModuleType",
                                               "ItemType",
                                               "LineDisc",
                                               "MultiLineDisc",
                                               "DiscPcnt",
                                               "RevNum",
                                               "ScaleItem",
                                               "UnitID",
                                               "UnitName",
                                               "UnitDecs",
                                               "IsInactive",
                                               "Country",
                                               "ItemNameFL",
                                               "ItemGroupNameFL",
                                               "ItemMultiLineDiscFL",
                                               "ItemXtraFields",
                                               "ItemXtraFieldsFL",
                                               "ItemUDF1",
                                               "ItemUDF2",
                                               "ItemUDF3",
                                               "ItemUDF4",
                                               "ItemUDF5",
                                               "ItemUDF6",
                                               "ItemUDF7",
                                               "ItemUDF8",
                                               "ItemUDF9",
                                               "ItemUDF10",
                                               "AltUnitId",
                                               "AltUnitName",
                                               "AltUnitNumerator",
                                               "AltUnitDenominator",
                                               "ItemDiscountCatID",
                                               "ItemDiscountCatName",
                                               "AltItemGroupID",
                                               "AltItemGroupName",
                                               "SpecialConsumptionTaxUnitID",
                                               "SpecialConsumptionTaxPcd",
                                               "SpecialConsumptionTaxValue",
                                               "Barcodes"};

XmlNode Item(const XmlDocument &document, const std::string &id) {
  return Entry(Path(document.Root(), "Items"), "ItemId", id);
}

std::string Text(const XmlDocument &document, const std::string &id, const std::string &element) {
  return vq::ChildText(Item(document, id), element).value_or("(absent)");
}

std::vector<std::string> Ids(const XmlDocument &document) {
  std::vector<std::string> ids;
  const XmlNode items = Path(document.Root(), "Items");
  for (int i = 0; i < vq::CountChildren(items, "Item"); ++i)
    ids.push_back(*vq::ChildText(vq::ChildAt(items, "Item", i), "ItemId"));
  return ids;
}

TEST(ItemExport, EachApplicationGetsItsItemsWithTheElementsInOrder) {
  ExportFixture fixture;
  const std::vector<std::pair<int32_t, std::vector<std::string>>> cases = {
      {0, {"ITM001", "ITM002", "ITM003", "ITM004", "ITM005", "ITM006", "ITM007"}},
      {2, {"ITM001", "ITM002", "ITM003", "ITM008"}},
      {3, {"ITM001", "ITM002", "ITM005"}}};
  for (const auto &[application, ids] : cases) {
    const XmlDocument document = XmlDocument::Parse(fixture.Items(application, 0, Pos1));
    EXPECT_EQ(Ids(document), ids) << application;
    EXPECT_EQ(ChildNames(Item(document, "ITM001")), ItemElements) << application;
    EXPECT_EQ(ChildNames(Path(Item(document, "ITM001"), "Barcodes/ItemBarCode")),
              (std::vector<std::string>{"ItemId", "ItemBarcode", "Color", "Size_", "Style",
                                        "ScaleType"}));
  }
  EXPECT_EQ(fixture.Items(4), "<?xml version=\"1.0\"?><InvItems/>");
  EXPECT_EQ(fixture.Items(3, 1000), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><InvItems/>");
}

TEST(ItemExport, BarcodesCarryTheirScaleType) {
  ExportFixture fixture;
  const XmlDocument document = XmlDocument::Parse(fixture.Items(0));
  EXPECT_EQ(vq::CountChildren(Path(Item(document, "ITM001"), "Barcodes"), "ItemBarCode"), 5);
  EXPECT_EQ(Text(document, "ITM001", "ScaleItem"), "0");
  EXPECT_EQ(vq::ChildText(Path(Item(document, "ITM001"), "Barcodes/ItemBarCode"), "ScaleType"),
            "-1");
  EXPECT_EQ(Text(document, "ITM003", "ScaleItem"), "1");
  EXPECT_EQ(vq::ChildText(Path(Item(document, "ITM003"), "Barcodes/ItemBarCode"), "ScaleType"),
            "0");
  EXPECT_EQ(Text(document, "ITM005", "ScaleItem"), "1");
  EXPECT_EQ(vq::ChildText(Path(Item(document, "ITM005"), "Barcodes/ItemBarCode"), "ScaleType"),
            "1");
  EXPECT_FALSE(Path(Item(document, "ITM007"), "Barcodes"));
  EXPECT_EQ(Text(document, "ITM002", "RPrice"), "7.97"); // 8.50 / 1.13 * 1.06
  EXPECT_EQ(Text(document, "ITM007", "IsInactive"), "1");
}

// The demo's price lists are per branch; POS1's branch has PL-HQ with prices of ITM001,
// ITM002 and ITM004.
TEST(ItemExport, PricesComeFromPriceListsOrTheFiscalYear) {
  struct Case {
    std::string UsePll, PllItemsOnly;
    int32_t Application;
    std::string WebUsePll;
    std::vector<std::string> Ids;
    std::string Price001, Price003;
  };
  const std::vector<Case> cases = {
      {"0",
       "0",
       0,
       "0",
       {"ITM001", "ITM002", "ITM003", "ITM004", "ITM005", "ITM006", "ITM007"},
       "15",
       "9.8"},
      {"1",
       "0",
       0,
       "0",
       {"ITM001", "ITM002", "ITM003", "ITM004", "ITM005", "ITM006", "ITM007"},
       "14",
       "9.8"},
      {"1", "1", 0, "0", {"ITM001", "ITM002", "ITM004"}, "14", "(absent)"},
      {"1", "1", 2, "0", {}, "(absent)", "(absent)"},
      {"1", "1", 2, "1", {"ITM001", "ITM002"}, "14", "(absent)"},
  };
  for (const Case &c : cases) {
    ExportFixture fixture;
    fixture.Setting("POS1", "UsePll", c.UsePll);
    fixture.Setting("POS1", "PllItemsOnly", c.PllItemsOnly);
    fixture.Setting("WSOptions", "UsePll", c.WebUsePll);
    const XmlDocument document = XmlDocument::Parse(fixture.Items(c.Application, 0, Pos1));
    const std::string label =
        c.UsePll + c.PllItemsOnly + std::to_string(c.Application) + c.WebUsePll;
    EXPECT_EQ(Ids(document), c.Ids) << label;
    EXPECT_EQ(Text(document, "ITM001", "Price"), c.Price001) << label;
    EXPECT_EQ(Text(document, "ITM003", "Price"), c.Price003) << label;
  }
}

TEST(ItemExport, PriceListPriceOfZeroFallsBackToTheFiscalYearPrice) {
  ExportFixture fixture;
  fixture.Setting("POS1", "UsePll", "1");
  fixture.Sql("UPDATE PLI SET RETAILPRICE=0 WHERE ID=2");
  const XmlDocument document = XmlDocument::Parse(fixture.Items(0, 0, Pos1));
  EXPECT_EQ(Text(document, "ITM002", "Price"), "8.5");
  EXPECT_EQ(Text(document, "ITM004", "Price"), "4.5");
}

TEST(ItemExport, PictureSlotTakesThePictureOfItsDescriptionOrTheFirst) {
  struct Case {
    std::string ImageNum, Slot3;
    std::string Udf3Of001, Udf3Of002;
  };
  const std::string gif = "R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==";
  for (const Case &c : std::vector<Case>{{"3", "ΠΊΣΩ όψη", "iVBORw==", ""},
                                         {"3", "", gif, gif},
                                         {"0", "", "", ""},
                                         {"7", "", "", ""}}) {
    ExportFixture fixture;
    fixture.Setting("Options", "ImageNum", c.ImageNum);
    fixture.Setting("Options", "ItemUDF3", c.Slot3);
    fixture.Setting("Options", "ItemUDF1", "Αναλυτική περιγραφή");
    const XmlDocument document = XmlDocument::Parse(fixture.Items(0));
    EXPECT_EQ(Text(document, "ITM001", "ItemUDF3"), c.Udf3Of001) << c.ImageNum << c.Slot3;
    EXPECT_EQ(Text(document, "ITM002", "ItemUDF3"), c.Udf3Of002) << c.ImageNum << c.Slot3;
    EXPECT_EQ(Text(document, "ITM002", "ItemUDF1"),
              "Παρθένο ελαιόλαδο ψυχρής έκθλιψης από την Κρήτη");
  }
}

// Slots named by settings take arrays and free fields of every type; webshop lists slots
// in ItemXtraFields.
TEST(ItemExport, UserDefinedSlotsAndExtraFields) {
  ExportFixture fixture;
  const std::vector<std::pair<std::string, std::string>> slots = {
      {"Βιολογικό", "1"},
      {"Βάρος τεμαχίου", "13"},
      {"ποσοστό λιπαρών", "22.45"},
      {"Ημερομηνία λήξης", "2027-03-04T00:00:00"},
      {"Extra field 1", ""}};
  for (size_t i = 0; i < slots.size(); ++i)
    fixture.Setting("WSOptions", "ItemUDF" + std::to_string(i + 1), slots[i].first);
  fixture.Setting("WSOptions", "ItemUDF7", "Αναλυτική περιγραφή");
  fixture.Setting("WSOptions", "XtraFields", "5,7");
  const XmlDocument document = XmlDocument::Parse(fixture.Items(2));
  for (size_t i = 0; i < slots.size(); ++i)
    EXPECT_EQ(Text(document, "ITM003", "ItemUDF" + std::to_string(i + 1)), slots[i].second) << i;
  EXPECT_EQ(Text(document, "ITM002", "ItemUDF5"), "Βιολογικό");
  EXPECT_EQ(Text(document, "ITM002", "ItemUDF1"), "");
  EXPECT_EQ(Text(document, "ITM002", "ItemXtraFields"),
            "Μάρκα=Κρητικός Κάμπος|Εποχή=Όλο το χρόνο|Extra field 1=Βιολογικό|"
            "Αναλυτική περιγραφή=Παρθένο ελαιόλαδο ψυχρής έκθλιψης από την Κρήτη");
  EXPECT_EQ(Text(document, "ITM002", "ItemXtraFieldsFL"), "Extra field 1=Βιολογικό|Extra field 2=");
  EXPECT_EQ(Text(document, "ITM002", "MultiLineDisc"),
            "Παρθένο ελαιόλαδο ψυχρής έκθλιψης από την Κρήτη");
  EXPECT_EQ(Text(document, "ITM008", "ItemXtraFields"),
            "Μάρκα=|Εποχή=|Extra field 1=|Αναλυτική περιγραφή=");

  fixture.Setting("WSOptions", "XtraFields", "12");
  EXPECT_EQ(Text(XmlDocument::Parse(fixture.Items(2)), "ITM002", "ItemXtraFields"),
            "Μάρκα=Κρητικός Κάμπος|Εποχή=Όλο το χρόνο");
}

TEST(ItemExport, ESalesGetsGrossPricesUnitsAndSpecialTax) {
  ExportFixture fixture;
  fixture.Sql("UPDATE INI SET UPDATEEXTERNALSYS=2 WHERE ABBREVIATION='ITM006'");
  fixture.Setting("eSalesOptions", "ItemAltGroupName", "Μάρκα");
  const XmlDocument document = XmlDocument::Parse(fixture.Items(3));
  EXPECT_EQ(Text(document, "ITM002", "Price"), "7.52");
  EXPECT_EQ(Text(document, "ITM002", "AltUnitId"), "3");
  EXPECT_EQ(Text(document, "ITM002", "AltUnitName"), "Κιβώτιο");
  EXPECT_EQ(Text(document, "ITM002", "AltUnitNumerator"), "12");
  EXPECT_EQ(Text(document, "ITM002", "ItemDiscountCatName"), "Είδη προσφοράς");
  EXPECT_EQ(Text(document, "ITM002", "AltItemGroupID"), "2");
  EXPECT_EQ(Text(document, "ITM002", "AltItemGroupName"), "Κρητικός Κάμπος");
  EXPECT_EQ(Text(document, "ITM006", "SpecialConsumptionTaxValue"), "0.13");
  EXPECT_EQ(Text(document, "ITM006", "SpecialConsumptionTaxPcd"), "0");
  EXPECT_EQ(Text(document, "ITM006", "SpecialConsumptionTaxUnitID"), "1");
  EXPECT_EQ(Text(document, "ITM001", "AltUnitNumerator"), "0");

  fixture.Setting("eSalesOptions", "GrossPriceQUILLET", "0");
  EXPECT_EQ(Text(XmlDocument::Parse(fixture.Items(3)), "ITM002", "Price"), "8.5");
}

} // namespace
