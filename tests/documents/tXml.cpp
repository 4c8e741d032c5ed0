#include "core/uError.h"
#include "documents/uXml.h"

#include <gtest/gtest.h>

TEST(Xml, NotWellFormedTextFailsWithThePosition) {
  try {
    vq::XmlDocument::Parse("<Pos>\n  <PosItems>\n</Pos>");
    FAIL() << "parsed";
  } catch (const vq::Error &failure) {
    const std::string message = failure.what();
    EXPECT_NE(message.find("not well-formed"), std::string::npos) << message;
    EXPECT_NE(message.find("line 3"), std::string::npos) << message;
  }
  EXPECT_THROW(vq::XmlDocument::Parse(""), vq::Error);
}

TEST(Xml, LooksChildrenUpByNameAndPosition) {
  const vq::XmlDocument doc = vq::XmlDocument::Parse(
      "<Pos><PosItems><rConfigPos><Name> POS_1 </Name><ID>7</ID></rConfigPos>"
      "<rConfigPos><ID>x</ID><Name>Β</Name></rConfigPos></PosItems></Pos>");
  const vq::XmlNode items = vq::Child(doc.Root(), "PosItems");
  ASSERT_EQ(vq::CountChildren(items, "rConfigPos"), 2);
  const vq::XmlNode first = vq::ChildAt(items, "rConfigPos", 0);
  EXPECT_EQ(vq::ChildText(first, "Name"), " POS_1 ");
  EXPECT_EQ(vq::ChildInteger(first, "ID"), 7);
  EXPECT_EQ(vq::ChildText(first, "GroupName"), std::nullopt);
  const vq::XmlNode second = vq::ChildAt(items, "rConfigPos", 1);
  EXPECT_EQ(vq::ChildText(second, "Name"), "Β");
  EXPECT_THROW(vq::ChildInteger(second, "ID"), vq::Error);
  EXPECT_FALSE(vq::ChildAt(items, "rConfigPos", 2));
}

TEST(Xml, ElementsAppearInTheOrderTheyAreFirstSet) {
  vq::XmlDocument doc;
  vq::XmlNode root = doc.CreateRoot("Customer");
  vq::SetChildText(root, "Name", "first");
  vq::SetChildText(root, "AccountNum", "C<1>&");
  vq::SetChildText(root, "Name", "Παπαδόπουλος");
  vq::SetChildText(root, "Empty", "");
  vq::AddChild(vq::EnsureChild(root, "Items"), "Item");
  EXPECT_EQ(vq::NodeText(root), "<Customer><Name>Παπαδόπουλος</Name><AccountNum>C&lt;1&gt;&amp;"
                                "</AccountNum><Empty></Empty><Items><Item/></Items></Customer>");
}
