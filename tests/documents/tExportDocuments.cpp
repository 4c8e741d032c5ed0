#include "core/uError.h"
#include "documents/uBase64.h"
#include "documents/uCustomers.h"
#include "documents/uItems.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vq::AddressField;
using vq::CustomerField;
using vq::ItemInteger;
using vq::ItemText;
using vq::Value;

namespace {

const std::string Namespaces = " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                               " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"";

TEST(ExportDocuments, EmptyDocumentsHaveTheirExactTexts) {
  const vq::TCustomersDocument customers;
  EXPECT_EQ(customers.Text(0), "<?xml version=\"1.0\"?><Customers" + Namespaces + "/>");
  EXPECT_EQ(customers.Text(3),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Customers" + Namespaces + "/>");
  const vq::TItemsDocument items;
  EXPECT_EQ(items.Text(1), "<?xml version=\"1.0\"?><InvItems/>");
  EXPECT_EQ(items.Text(3), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><InvItems/>");
}

TEST(ExportDocuments, NamespacesStandOnCustomersButOnItemsNotInvItems) {
  vq::TCustomersDocument customers;
  customers.Customers().Items().Add().Set(CustomerField::AccountNum, Value("C1"));
  EXPECT_EQ(customers.Text(4), "<?xml version=\"1.0\"?><Customers" + Namespaces +
                                   "><Items><Customer><AccountNum>C1</AccountNum></Customer>"
                                   "</Items></Customers>");
  vq::TItemsDocument items;
  vq::TXmlItem item = items.InvItems().Items().Add();
  item.Set(ItemText::ItemId, "I1");
  item.Barcodes().Add().Set(vq::BarcodeField::Size_, "M");
  EXPECT_EQ(items.Text(2), "<?xml version=\"1.0\"?><InvItems><Items" + Namespaces +
                               "><Item><ItemId>I1</ItemId><Barcodes><ItemBarCode><Size_>M"
                               "</Size_></ItemBarCode></Barcodes></Item></Items></InvItems>");
}

// Elements appear in the order first set, later sets replace the text, empty text prints as
// an empty element, texts are escaped, and no character is lost to an 8-bit code page.
TEST(ExportDocuments, ElementsKeepFirstSetOrderEscapesAndEveryCharacter) {
  vq::TItemsDocument items;
  vq::TXmlItem item = items.InvItems().Items().Add();
  item.Set(ItemText::ItemName, "first");
  item.Set(ItemInteger::ModuleType, 2);
  item.SetUserDefined(10, Value::Null());
  item.Set(ItemText::ItemId, "A&B <x>");
  item.Set(ItemText::ItemName, "Ζώνη Ж € 😀");
  item.SetIsInactive(Value(1));
  item.Set(ItemText::ItemId, "");
  EXPECT_EQ(items.Text(0), "<?xml version=\"1.0\"?><InvItems><Items" + Namespaces +
                               "><Item><ItemName>Ζώνη Ж € 😀</ItemName><ModuleType>2</ModuleType>"
                               "<ItemUDF10/><ItemId/><IsInactive>1</IsInactive></Item></Items>"
                               "</InvItems>");
  item.Set(ItemText::ItemId, "A&B <x>");
  EXPECT_NE(items.Text(0).find("<ItemId>A&amp;B &lt;x&gt;</ItemId>"), std::string::npos);
  EXPECT_EQ(item.Get(ItemText::ItemId), "A&B <x>");
  EXPECT_EQ(item.Get(ItemText::Price), std::nullopt);
  EXPECT_THROW(item.SetUserDefined(11, Value("x")), vq::Error);
  EXPECT_THROW(item.UserDefined(0), vq::Error);
}

TEST(ExportDocuments, ParsedCustomersGiveTypedValues) {
  const vq::TCustomersDocument document = vq::TCustomersDocument::Parse(
      "<?xml version=\"1.0\"?><Customers><Items><Customer><AccountNum>C1</AccountNum><Name/>"
      "<AddressItems><AddressItem><Street>Οδός 1</Street><IsDefault>1</IsDefault></AddressItem>"
      "<AddressItem><IsDefault>yes</IsDefault></AddressItem></AddressItems>"
      "<TenderTypeItems><TenderTypeItem><TenderType>01</TenderType><PaymentDays>30</PaymentDays>"
      "</TenderTypeItem></TenderTypeItems></Customer></Items></Customers>");
  vq::TXmlCustomers customers = document.Customers();
  ASSERT_EQ(customers.CustomerCount(), 1);
  vq::TXmlCustomer customer = customers.Items()[0];
  EXPECT_EQ(customer.Get(CustomerField::AccountNum), Value("C1"));
  EXPECT_EQ(customer.Get(CustomerField::Name), Value(""));
  EXPECT_TRUE(customer.Get(CustomerField::SPID).IsNull());
  auto addresses = customer.AddressItems();
  ASSERT_EQ(addresses.Count(), 2);
  EXPECT_EQ(addresses[0].Get(AddressField::Street), "Οδός 1");
  EXPECT_EQ(addresses[0].IsDefault(), 1);
  EXPECT_THROW(addresses[1].IsDefault(), vq::Error);
  EXPECT_THROW(addresses[2], vq::Error);
  auto tender = customer.TenderTypeItems()[0];
  EXPECT_EQ(tender.TenderType(), "01");
  EXPECT_EQ(tender.PaymentDays(), 30);
  EXPECT_EQ(tender.IsDefault(), std::nullopt);

  EXPECT_THROW(vq::TCustomersDocument::Parse("<Customer/>"), vq::Error);
  EXPECT_THROW(vq::TCustomersDocument::Parse("<Customers><Items>"), vq::Error);
}

TEST(ExportDocuments, Base64UsesTheStandardAlphabetWithPaddingAndNoLineBreaks) {
  const std::vector<std::pair<std::string, std::string>> cases = {{"", ""},
                                                                  {"f", "Zg=="},
                                                                  {"fo", "Zm8="},
                                                                  {"foo", "Zm9v"},
                                                                  {"foobar", "Zm9vYmFy"},
                                                                  {"\xfb\xff\xbf", "+/+/"},
                                                                  {std::string("\0\0", 2), "AAA="}};
  for (const auto &[bytes, text] : cases) {
    const std::vector<uint8_t> data(bytes.begin(), bytes.end());
    EXPECT_EQ(vq::Base64Encode(data), text) << bytes;
  }
  const std::vector<uint8_t> picture(300, 0x47);
  const std::string encoded = vq::Base64Encode(picture);
  EXPECT_EQ(encoded.size(), 400u);
  EXPECT_EQ(encoded.find_first_of("\r\n"), std::string::npos);
}

} // namespace
