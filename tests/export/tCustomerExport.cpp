#include "export/uExportFixture.h"

#include "core/uText.h"
#include "documents/uXml.h"

#include <gtest/gtest.h>

namespace {

using vq::XmlDocument;
using vq::XmlNode;
using vq::test::ChildNames;
using vq::test::Entry;
using vq::test::ExportFixture;
using vq::test::Path;

const std::vector<std::string> FixedElements = {"AccountNum",
                                                "Name",
                                                "NameAlias",
                                                "Address",
                                                "StreetNumber",
                                                "City",
                                                "ZipCode",
                                                "Phone",
                                                "PhoneLocal",
                                                "Currency",
                                                "CustGroup",
                                                "CustGroupName",
                                                "CreditMax",
                                                "Email",
                                                "Street",
                                                "CityCode",
                                                "Country",
                                                "CountryShortCode",
                                                "CountryDescr",
                                                "RevNum",
                                                "VatNum",
                                                "VatStatus",
                                                "DoyCode",
                                                "DoyName",
                                                "Profession",
                                                "ProfessionCode",
                                                "Prefecture",
                                                "PrefectureCode",
                                                "ReferenceID",
                                                "IsInactive",
                                                "SearchCode",
                                                "PriceListID",
                                                "RetailPriceListID",
                                                "AltCustGroup",
                                                "AltCustGroupName",
                                                "AgencyID",
                                                "Fax",
                                                "ContactPerson1",
                                                "ContactPerson2",
                                                "Comments",
                                                "Website",
                                                "CustDiscountCatID",
                                                "CustDiscountCatName"};

const std::vector<std::string> AddressElements = {
    "Address",    "AddressDescr",     "StreetNumber", "ZipCode", "Street",
    "Country",    "CountryShortCode", "CountryDescr", "City",    "CityCode",
    "Prefecture", "PrefectureCode",   "IsDefault"};

XmlNode Customer(const XmlDocument &document, const std::string &account) {
  return Entry(Path(document.Root(), "Items"), "AccountNum", account);
}

std::vector<std::string> Accounts(const XmlDocument &document) {
  std::vector<std::string> accounts;
  const XmlNode items = Path(document.Root(), "Items");
  for (int i = 0; i < vq::CountChildren(items, "Customer"); ++i)
    accounts.push_back(*vq::ChildText(vq::ChildAt(items, "Customer", i), "AccountNum"));
  return accounts;
}

// Each application gets the customers of its flag, with the elements in writing order:
// the 43 fixed ones, then the address list for esales and crm and the payment method for
// esales.
TEST(CustomerExport, EachApplicationGetsItsCustomersWithItsElements) {
  ExportFixture fixture;
  struct Case {
    int32_t Application;
    std::vector<std::string> Accounts;
    bool Addresses, Tender;
  };
  for (const Case &c :
       std::vector<Case>{{0, {"CUS000", "CUS001", "CUS002", "CUS003", "CUS004"}, false, false},
                         {2, {"CUS000", "CUS001"}, false, false},
                         {3, {"CUS000", "CUS001"}, true, true},
                         {4, {"CUS000", "CUS003"}, true, false},
                         {5, {"CUS000"}, false, false}}) {
    const XmlDocument document =
        XmlDocument::Parse(fixture.Customers(c.Application, 0, vq::test::Pos1));
    EXPECT_EQ(Accounts(document), c.Accounts) << c.Application;
    std::vector<std::string> expected = FixedElements;
    if (c.Addresses) expected.push_back("AddressItems");
    if (c.Tender) expected.push_back("TenderTypeItems");
    const XmlNode first = Customer(document, "CUS000");
    EXPECT_EQ(ChildNames(first), expected) << c.Application;
    if (c.Addresses) {
      EXPECT_EQ(ChildNames(Path(first, "AddressItems/AddressItem")), AddressElements);
    }
    if (c.Tender) {
      EXPECT_EQ(ChildNames(Path(first, "TenderTypeItems/TenderTypeItem")),
                (std::vector<std::string>{"TenderType", "IsDefault", "PaymentDays"}));
    }
  }
}

TEST(CustomerExport, PagesThroughRevisionsByTheRowLimit) {
  ExportFixture fixture;
  fixture.Setting("Options", "RecordsPacket", "100");
  // 245 more customers flagged for the POS, with distinct revisions above the demo's.
  fixture.RawSql("WITH N(I) AS (SELECT 1 UNION ALL SELECT I+1 FROM N WHERE I<245) "
                 "INSERT INTO CUA (ID, COMID, ABBREVIATION, NAME, UPDATEMERIVO, REVNUM) "
                 "SELECT 100+I, 1, 'P' || (1000+I), 'Πελάτης', 1, 1000+3*I FROM N");
  std::vector<size_t> pages;
  int32_t revNum = 0;
  int32_t previous = -1;
  for (;;) {
    const XmlDocument document = XmlDocument::Parse(fixture.Customers(0, revNum));
    const XmlNode items = Path(document.Root(), "Items");
    const int count = vq::CountChildren(items, "Customer");
    if (count == 0) break;
    pages.push_back(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      const int32_t rev = std::stoi(*vq::ChildText(vq::ChildAt(items, "Customer", i), "RevNum"));
      EXPECT_GT(rev, previous);
      previous = rev;
    }
    revNum = previous;
  }
  EXPECT_EQ(pages, (std::vector<size_t>{100, 100, 50}));
  EXPECT_EQ(fixture.Customers(0, revNum),
            "<?xml version=\"1.0\"?><Customers xmlns:xsi=\"http://www.w3.org/2001/"
            "XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"/>");
}

TEST(CustomerExport, AddressListsHaveTheHeadOfficeAndKeepStreetsWithoutNumber) {
  ExportFixture fixture;
  // CUS002's trader has no street number; flag it for esales too.
  fixture.Sql("UPDATE CUA SET UPDATEEXTERNALSYS=2 WHERE ABBREVIATION='CUS002'");
  const XmlDocument document = XmlDocument::Parse(fixture.Customers(3));

  const XmlNode alone = Path(Customer(document, "CUS000"), "AddressItems");
  ASSERT_EQ(vq::CountChildren(alone, "AddressItem"), 1);
  EXPECT_EQ(vq::ChildText(Path(alone, "AddressItem"), "Address"), "CUS000-ΕΔΡΑ");
  EXPECT_EQ(vq::ChildText(Path(alone, "AddressItem"), "IsDefault"), "1");

  const XmlNode list = Path(Customer(document, "CUS001"), "AddressItems");
  ASSERT_EQ(vq::CountChildren(list, "AddressItem"), 3);
  EXPECT_EQ(vq::ChildText(Entry(list, "Address", "ΑΠ01"), "IsDefault"), "1");
  EXPECT_EQ(vq::ChildText(Entry(list, "Address", "CUS001-ΕΔΡΑ"), "IsDefault"), "0");
  EXPECT_EQ(vq::ChildText(Entry(list, "Address", "ΑΠ01"), "AddressDescr"),
            "Πειραιώς 200 Άγιος Ιωάννης Ρέντης");
  EXPECT_EQ(vq::ChildText(Entry(list, "Address", "ΑΠ01"), "CityCode"), "0102");

  const XmlNode noNumber = Customer(document, "CUS002");
  EXPECT_EQ(vq::ChildText(noNumber, "Address"), "");
  EXPECT_EQ(vq::ChildText(noNumber, "Street"), "");
  EXPECT_EQ(vq::ChildText(Path(noNumber, "AddressItems/AddressItem"), "Street"),
            "Αγίου Δημητρίου ");
}

TEST(CustomerExport, CrmShowsTheMunicipalityInPlaceOfTheCity) {
  ExportFixture fixture;
  fixture.Sql("UPDATE TRD SET MNUID=NULL WHERE ABBREVIATION='CUS000'");
  const XmlDocument document = XmlDocument::Parse(fixture.Customers(4));
  const XmlNode withMunicipality = Customer(document, "CUS003");
  EXPECT_EQ(vq::ChildText(withMunicipality, "City"), "Θεσσαλονίκης");
  EXPECT_EQ(vq::ChildText(withMunicipality, "CityCode"), "5401");
  EXPECT_EQ(vq::ChildText(withMunicipality, "Street"), "Τσιμισκή");
  EXPECT_EQ(vq::ChildText(withMunicipality, "Country"), "1");
  EXPECT_EQ(vq::ChildText(withMunicipality, "CountryDescr"), "Ελλάδα");
  const XmlNode without = Customer(document, "CUS000");
  EXPECT_EQ(vq::ChildText(without, "City"), "Αθήνα");
  EXPECT_EQ(vq::ChildText(without, "CityCode"), "Αθήνα");
  EXPECT_EQ(vq::ChildText(Path(without, "AddressItems/AddressItem"), "CityCode"), "Αθήνα");
}

// Company-level price lists: CUS001's own category beats the sales options' default
// category although the default's list is dated and valid today; CUS000 has no list.
TEST(CustomerExport, OwnCategoryPriceListWinsAndNoListGivesTheMarker) {
  ExportFixture fixture;
  fixture.Sql("UPDATE SLO SET DEFINEPRICELIST=1, CREDITPLCID=2");
  fixture.Sql(
      "UPDATE PLL SET VALIDFROM='2000-01-01', VALIDTO='2000-12-31' WHERE ABBREVIATION='PL-SUMMER'");
  fixture.Sql(
      "UPDATE PLL SET VALIDFROM='2000-01-01', VALIDTO='2099-12-31' WHERE ABBREVIATION='PL-XON'");
  fixture.Sql("INSERT INTO PLL (ID, COMID, ABBREVIATION, NAME, CURID, PLCID, DISABLED) "
              "VALUES (5, 1, 'PL-OWN', 'Τιμοκατάλογος κατηγορίας', 1, 1, 0)");
  fixture.Sql("UPDATE CUA SET PLCID=1 WHERE ABBREVIATION='CUS001'");
  const XmlDocument document = XmlDocument::Parse(fixture.Customers(3, 0, vq::test::Pos1));
  const XmlNode own = Customer(document, "CUS001");
  EXPECT_EQ(vq::ChildText(own, "PriceListID"), "PL-OWN");
  EXPECT_EQ(vq::ChildText(own, "RetailPriceListID"), "PL-OWN");
  EXPECT_EQ(vq::ChildText(Path(own, "TenderTypeItems/TenderTypeItem"), "TenderType"), "02");
  EXPECT_EQ(vq::ChildText(own, "AltCustGroup"), "3");
  EXPECT_EQ(vq::ChildText(own, "AltCustGroupName"), "Εστίαση");
  EXPECT_EQ(vq::ChildText(own, "Website"), "www.papadopoulos.example");
  EXPECT_EQ(vq::ChildText(own, "ContactPerson2"), "");
  const XmlNode none = Customer(document, "CUS000");
  EXPECT_EQ(vq::ChildText(none, "PriceListID"), "[ΤΙΜΕΣ ΑΡΧΕΙΟΥ ΕΙΔΩΝ]");
  EXPECT_EQ(vq::ChildText(none, "RetailPriceListID"), "[ΤΙΜΕΣ ΑΡΧΕΙΟΥ ΕΙΔΩΝ]");
  EXPECT_EQ(vq::ChildText(none, "AltCustGroup"), "");
}

TEST(CustomerExport, KeepsCharactersOutsideTheCodePageAndDeclaresUtf8ForESales) {
  ExportFixture fixture;
  fixture.Sql("UPDATE CUA SET NAME='Жанна 😀 & <Co>' WHERE ABBREVIATION='CUS001'");
  const std::string text = fixture.Customers(3);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Customers xmlns:xsi=", 0), 0u);
  EXPECT_NE(text.find("<Name>Жанна 😀 &amp; &lt;Co&gt;</Name>"), std::string::npos);
}

} // namespace
