#include "com/uHelpers.h"

#include <gtest/gtest.h>

TEST(BuildErrorXml, NineLinesEachEndingWithCrLf) {
  const std::string expected =
      "<?xml version=\"1.0\"?>\r\n"
      "<ErrorMessages xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
      "  <ListOfErrorMessages>\r\n"
      "    <ErrorMessage>\r\n"
      "      <ErrorOrWarrning>2</ErrorOrWarrning>\r\n"
      "      <ErrorDescription>x</ErrorDescription>\r\n"
      "    </ErrorMessage>\r\n"
      "  </ListOfErrorMessages>\r\n"
      "</ErrorMessages>\r\n";
  EXPECT_EQ(vq::BuildErrorXml(2, "x"), expected);
  EXPECT_EQ(vq::BuildErrorXml(7, "x"), expected);
  EXPECT_EQ(vq::BuildErrorXml(0, "x"), expected);
  EXPECT_NE(vq::BuildErrorXml(1, "x").find("<ErrorOrWarrning>1</ErrorOrWarrning>\r\n"),
            std::string::npos);
}

TEST(BuildErrorXml, TextGoesInUnescaped) {
  const std::string xml = vq::BuildErrorXml(1, "a<b&c\r\nd");
  EXPECT_NE(xml.find("      <ErrorDescription>a<b&c\r\nd</ErrorDescription>\r\n"),
            std::string::npos);
}

TEST(XmlEscape, ReplacesInOrderWithoutRescanning) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"a|b\nc", "a&brvbar;b c"},
               {"x<y&z>w", "x&lt;y&amp;z&gt;w"},
               {"&amp;", "&amp;amp;"},
               {"say \"hi\"", "say &quot;hi&quot;"},
               {"it's\r\n", "it's\r "},
               {"", ""},
               {"Ελληνικά", "Ελληνικά"}};
  for (const auto& c : cases) EXPECT_EQ(vq::XmlEscape(c.in), c.out) << c.in;
}

TEST(XmlUnescapeAngles, OnlyAngleEntities) {
  EXPECT_EQ(vq::XmlUnescapeAngles("&lt;a&gt;&amp;&lt;/a&gt;"), "<a>&amp;</a>");
}

TEST(DateText, DayMonthYearOrEmpty) {
  EXPECT_EQ(vq::DateText(vq::Value(vq::EncodeDateTime({2026, 1, 9, 13, 0}))), "09/01/2026");
  EXPECT_EQ(vq::DateText(vq::Value("2026-12-31")), "31/12/2026");
  EXPECT_EQ(vq::DateText(vq::Value("no date")), "");
  EXPECT_EQ(vq::DateText(vq::Value::Null()), "");
  EXPECT_EQ(vq::DateText(vq::Value()), "");
}
