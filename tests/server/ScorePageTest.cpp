// The page shows names that players typed: every markup character must come out as text.

#include <gtest/gtest.h>

#include <string>

#include "server/ScorePage.h"

namespace {

struct EscapeCase {
  const char* Name;
  std::string Text;
  std::string Escaped;
};

const EscapeCase kEscapes[] = {
    {"Plain", "Ann", "Ann"},
    {"Tag", "<b>x</b>", "&lt;b&gt;x&lt;/b&gt;"},
    {"Ampersand", "a&amp;", "a&amp;amp;"},
    {"Quotes", "\"'", "&quot;&#39;"},
    {"Utf8Untouched", "\xD0\x90\xD0\xBD", "\xD0\x90\xD0\xBD"},
};

class HtmlEscapeTable : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(HtmlEscapeTable, Escapes) {
  EXPECT_EQ(server::HtmlEscape(GetParam().Text), GetParam().Escaped);
}

INSTANTIATE_TEST_SUITE_P(Texts, HtmlEscapeTable, ::testing::ValuesIn(kEscapes),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(ScorePage, ListsRowsInTheGivenOrderWithRanksAndDates) {
  const std::string page =
      server::RenderScorePage({{"Zed", 900, "", 86400}, {"<i>Amy</i>", 500, "opts", 0}});
  const size_t first = page.find("<td class=\"rank\">1</td><td class=\"name\">Zed</td>");
  const size_t second = page.find(
      "<td class=\"rank\">2</td><td class=\"name\">&lt;i&gt;Amy&lt;/i&gt;</td>"
      "<td class=\"score\">500</td><td class=\"date\">1970-01-01</td>");
  EXPECT_NE(first, std::string::npos) << page;
  EXPECT_NE(second, std::string::npos) << page;
  EXPECT_LT(first, second);
  EXPECT_NE(page.find("1970-01-02"), std::string::npos);
  EXPECT_EQ(page.find("<i>"), std::string::npos);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
}

TEST(ScorePage, AnEmptyTableSaysSo) {
  const std::string page = server::RenderScorePage({});
  EXPECT_NE(page.find("No scores yet."), std::string::npos);
  EXPECT_EQ(page.find("<table"), std::string::npos);
}

}  // namespace
