#include "core/uCodePage.h"
#include "core/uDateTime.h"
#include "core/uError.h"
#include "core/uNumberText.h"
#include "core/uText.h"

#include <clocale>
#include <gtest/gtest.h>

namespace {

// Switches to a locale whose decimal separator is a comma, when the machine has one.
class CommaLocale {
public:
  CommaLocale() {
    for (const char* name : {"el_GR.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"}) {
      if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_ALL, "C");
  }
  ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
  bool Active() const { return active_; }

private:
  bool active_ = false;
};

} // namespace

TEST(NumberText, ShortestTextOfFifteenDigitsWithPoint) {
  CommaLocale locale;
  const struct {
    double value;
    const char* text;
  } cases[] = {{2.5, "2.5"},       {24, "24"},       {0.1 + 0.2, "0.3"}, {-1.75, "-1.75"},
               {0, "0"},           {1e20, "1E20"},   {1.5e-7, "1.5E-7"}, {123456.789, "123456.789"},
               {1.0 / 3, "0.333333333333333"}};
  for (const auto& c : cases) EXPECT_EQ(vq::NumberText(c.value), c.text) << c.value;
}

TEST(NumberText, ReadsBackWithPointWhateverTheLocale) {
  CommaLocale locale;
  EXPECT_EQ(vq::ParseNumber("2.5"), 2.5);
  EXPECT_EQ(vq::ParseNumber(" -0.125 "), -0.125);
  EXPECT_EQ(vq::ParseNumber("1E3"), 1000);
  EXPECT_FALSE(vq::ParseNumber("2,5"));
  EXPECT_FALSE(vq::ParseNumber(""));
  EXPECT_FALSE(vq::ParseNumber("12abc"));
  EXPECT_EQ(vq::ParseInteger("+17"), 17);
  EXPECT_FALSE(vq::ParseInteger("1.5"));
}

TEST(DateTime, CountsDaysFromTheEndOf1899) {
  EXPECT_EQ(vq::EncodeDateTime({1899, 12, 30}).Days, 0);
  EXPECT_EQ(vq::EncodeDateTime({1900, 1, 1}).Days, 2);
  EXPECT_EQ(vq::EncodeDateTime({2000, 1, 1, 12}).Days, 36526.5);
  EXPECT_EQ(vq::EncodeDateTime({1899, 12, 29, 6}).Days, -1.25);
  const vq::DateParts back = vq::DecodeDateTime(vq::EncodeDateTime({2024, 2, 29, 23, 59, 58, 7}));
  EXPECT_EQ(back.Year, 2024);
  EXPECT_EQ(back.Day, 29);
  EXPECT_EQ(back.Second, 58);
  EXPECT_EQ(back.Millisecond, 7);
  EXPECT_THROW(vq::EncodeDateTime({2023, 2, 29}), vq::Error);
}

TEST(DateTime, Texts) {
  const vq::TDateTime moment = vq::EncodeDateTime({2026, 3, 5, 9, 7, 4, 50});
  EXPECT_EQ(vq::DayMonthYearText(moment), "05/03/2026");
  EXPECT_EQ(vq::TimestampText(moment), "2026-03-05T09:07:04.50");
  EXPECT_EQ(vq::TimestampText(vq::EncodeDateTime({2026, 3, 5})), "2026-03-05T00:00:00.0");
}

TEST(DateTime, ParsesDayMonthYearAndIsoForms) {
  EXPECT_EQ(vq::ParseDateText("05/03/2026"), vq::EncodeDateTime({2026, 3, 5}));
  EXPECT_EQ(vq::ParseDateText("5/3/2026 14:30"), vq::EncodeDateTime({2026, 3, 5, 14, 30}));
  EXPECT_EQ(vq::ParseDateText("2026-03-05T14:30:15.250"),
            vq::EncodeDateTime({2026, 3, 5, 14, 30, 15, 250}));
  EXPECT_EQ(vq::ParseDateText("2026-03-05 14:30:15.5"),
            vq::EncodeDateTime({2026, 3, 5, 14, 30, 15, 500}));
  for (const char* bad : {"", "no date", "31/02/2026", "2026/03/05", "05/03/26", "05/03/2026x",
                          "2026-03-05T25:00"})
    EXPECT_FALSE(vq::ParseDateText(bad)) << bad;
}

TEST(CodePage, GreekRoundTripsThroughWindows1253) {
  const std::string greek = "Καλημέρα ΆΈΉ ς €";
  const std::string ansi = vq::Utf8ToAnsi(greek);
  EXPECT_EQ(ansi.size(), 16u);
  EXPECT_EQ(static_cast<unsigned char>(ansi[0]), 0xCA); // Κ
  EXPECT_EQ(vq::AnsiToUtf8(ansi), greek);
}

TEST(CodePage, CharactersOutsideThePageBecomeQuestionMarks) {
  EXPECT_EQ(vq::Utf8ToAnsi("a日b"), "a?b");
  EXPECT_EQ(vq::Utf8ToAnsi(std::string("x\xFFy")), "x?y");
  EXPECT_EQ(vq::Utf16ToUtf8(vq::Utf8ToUtf16("Ω😀")), "Ω😀");
}

TEST(Text, FoldsGreekCaseAndAccents) {
  EXPECT_EQ(vq::UpperText("άλφα ς abc"), "ΆΛΦΑ Σ ABC");
  EXPECT_EQ(vq::FoldText("άλφα"), vq::FoldText("ΑΛΦΑ"));
  EXPECT_EQ(vq::FoldText("Ελλάδα"), "ΕΛΛΑΔΑ");
  EXPECT_TRUE(vq::SameTextIgnoringCase("Τιμοκατάλογος", "ΤΙΜΟΚΑΤΆΛΟΓΟΣ"));
  EXPECT_FALSE(vq::SameTextIgnoringCase("Τιμοκατάλογος", "ΤΙΜΟΚΑΤΑΛΟΓΟΣ"));
}
