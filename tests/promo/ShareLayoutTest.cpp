// The promotion layout parser: every fault of the file leaves the layout not valid, with the
// first faulty line named; the values land in the fields their lines give them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PromoFolder.h"
#include "online/ShareLayout.h"

namespace {

using online::TShareLayout;
using promo_test::JoinLines;
using promo_test::kLayoutLines;

using TLines = std::vector<std::string>;

struct TLayoutCase {
  const char* Name;
  std::function<void(TLines&)> Edit;
  bool Valid;
  // The start of the fault text of an invalid layout ("line 3:").
  const char* Fault = "";
};

// Line numbers (from 0) of the test layout: 0 count, 1 background, 2-6 first button, 7-11
// second button, 12-17 exit button, 18 countdown centre, 19 length, 20 colours, 21 flag, 22 size.
const std::vector<TLayoutCase> kCases = {
    {"test layout", [](TLines&) {}, true},
    {"two blanks between numbers", [](TLines& l) { l[2] = "10  20 30 40"; }, false, "line 3:"},
    {"empty number line", [](TLines& l) { l[3] = ""; }, false, "line 4:"},
    {"number line of blanks only", [](TLines& l) { l[18] = "   "; }, false, "line 19:"},
    {"piece that is no integer", [](TLines& l) { l[3] = "11 21 1OO 50"; }, false, "line 4:"},
    {"tab between numbers", [](TLines& l) { l[18] = "400\t502"; }, false, "line 19:"},
    {"too few numbers", [](TLines& l) { l[18] = "400"; }, false, "line 19:"},
    {"number beyond 32 bits", [](TLines& l) { l[19] = "2147483648"; }, false, "line 20:"},
    {"lone minus sign", [](TLines& l) { l[20] = "255 - 120"; }, false, "line 21:"},
    {"sign twice", [](TLines& l) { l[20] = "255 +-2 120"; }, false, "line 21:"},
    {"no buttons", [](TLines& l) { l[0] = "0"; }, false, "line 1:"},
    {"negative button count", [](TLines& l) { l[0] = "-2"; }, false, "line 1:"},
    {"more buttons than the file holds", [](TLines& l) { l[0] = "4"; }, false},
    {"empty background line", [](TLines& l) { l[1] = ""; }, false, "line 2:"},
    {"missing hover picture name", [](TLines& l) { l[11] = ""; }, false, "line 12:"},
    {"missing file to open", [](TLines& l) { l[6] = "   "; }, false, "line 7:"},
    {"missing idle picture name", [](TLines& l) { l[17] = ""; }, false, "line 18:"},
    {"ends inside the buttons", [](TLines& l) { l.resize(9); }, false, "line 10:"},
    {"ends before the flag line", [](TLines& l) { l.resize(21); }, false, "line 22:"},
    {"TRUE without a size", [](TLines& l) { l.resize(22); }, false, "line 23:"},
    {"empty file", [](TLines& l) { l.clear(); }, false, "line 1:"},
    {"lower-case true means no size follows", [](TLines& l) { l[21] = "true"; }, true},
    {"other word means no size follows",
     [](TLines& l) {
       l[21] = "NO";
       l.pop_back();
     },
     true},
    {"empty flag line", [](TLines& l) { l[21] = ""; }, true},
    {"blank after the last number", [](TLines& l) { l[18] = "400 502 "; }, true},
    {"numbers beyond those asked for", [](TLines& l) { l[18] = "400 502 9"; }, true},
    {"leading blanks",
     [](TLines& l) {
       l[19] = " \t 5";
       l[1] = "  " + l[1];
     },
     true},
    {"plus sign and negative numbers", [](TLines& l) { l[2] = "+10 -20 30 40"; }, true},
    {"countdown of one second", [](TLines& l) { l[19] = "1"; }, true},
    {"only the exit button",
     [](TLines& l) {
       l[0] = "1";
       l.erase(l.begin() + 2, l.begin() + 12);
     },
     true},
};

void PrintTo(const TLayoutCase& c, std::ostream* out) {
  *out << c.Name;
}

class ShareLayoutCases : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(ShareLayoutCases, ValidOnlyWithoutFaults) {
  TLines lines(kLayoutLines.begin(), kLayoutLines.end());
  GetParam().Edit(lines);
  const TShareLayout layout = TShareLayout::Parse(JoinLines(lines, "\n"));
  EXPECT_EQ(layout.Valid, GetParam().Valid) << layout.Fault;
  EXPECT_EQ(layout.Fault.empty(), layout.Valid);
  EXPECT_EQ(layout.Fault.rfind(GetParam().Fault, 0), 0u) << layout.Fault;
}

INSTANTIATE_TEST_SUITE_P(Layouts, ShareLayoutCases, ::testing::ValuesIn(kCases),
                         promo_test::CaseName<TLayoutCase>);

TEST(ShareLayout, LinesLandInTheirFields) {
  const TShareLayout layout = TShareLayout::Parse(JoinLines(kLayoutLines, "\n"));
  ASSERT_TRUE(layout.Valid) << layout.Fault;
  EXPECT_EQ(layout.ButtonTotal, 3);
  EXPECT_EQ(layout.BackgroundFile, "wdata\\back.png");
  ASSERT_EQ(layout.Buttons.size(), 3u);
  const online::TButton& first = layout.Buttons[0];
  EXPECT_EQ(first.HoverX, 10);
  EXPECT_EQ(first.HoverY, 20);
  EXPECT_EQ(first.HoverWidth, 30);
  EXPECT_EQ(first.HoverHeight, 40);
  EXPECT_EQ(first.NormalX, 11);
  EXPECT_EQ(first.NormalY, 21);
  EXPECT_EQ(first.ButtonWidth, 100);
  EXPECT_EQ(first.ButtonHeight, 50);
  EXPECT_EQ(first.IdleX, 11) << "idle position is the normal one";
  EXPECT_EQ(first.IdleY, 21);
  EXPECT_EQ(first.NormalFile, "wdata\\b1.png");
  EXPECT_EQ(first.HoverFile, "wdata\\b1_hover.png");
  EXPECT_EQ(first.IdleFile, first.NormalFile);
  EXPECT_EQ(first.Action, "first.url");
  EXPECT_TRUE(first.Active);
  EXPECT_EQ(layout.Buttons[1].Action, "setup\\installer.sh");
  const online::TButton& exit = layout.Buttons[2];
  EXPECT_TRUE(exit.IsExit());
  EXPECT_FALSE(exit.Active);
  EXPECT_EQ(exit.NormalX, 312);
  EXPECT_EQ(exit.ButtonHeight, 54);
  EXPECT_EQ(exit.IdleX, 314);
  EXPECT_EQ(exit.IdleY, 484);
  EXPECT_EQ(exit.IdleWidth, 7);
  EXPECT_EQ(exit.IdleHeight, 8);
  EXPECT_EQ(exit.NormalFile, "wdata\\exit.png");
  EXPECT_EQ(exit.HoverFile, "wdata\\exit_hover.png");
  EXPECT_EQ(exit.IdleFile, "wdata\\exit_wait.png");
  EXPECT_EQ(layout.CountdownX, 400);
  EXPECT_EQ(layout.CountdownY, 502);
  EXPECT_EQ(layout.CountdownLength, 5);
  EXPECT_EQ(layout.Color1, 255);
  EXPECT_EQ(layout.Color2, 210);
  EXPECT_EQ(layout.Color3, 120);
  EXPECT_TRUE(layout.FontSizeGiven);
  EXPECT_EQ(layout.FontSize, 22);
}

TEST(ShareLayout, WindowsLineEndsAndByteOrderMarkReadAsPlainLines) {
  const TShareLayout plain = TShareLayout::Parse(JoinLines(kLayoutLines, "\n"));
  const TShareLayout windows =
      TShareLayout::Parse("\xEF\xBB\xBF" + JoinLines(kLayoutLines, "\r\n") + "\r\n");
  ASSERT_TRUE(windows.Valid) << windows.Fault;
  EXPECT_EQ(windows.BackgroundFile, plain.BackgroundFile);
  EXPECT_EQ(windows.Buttons.back().IdleFile, plain.Buttons.back().IdleFile);
  EXPECT_EQ(windows.FontSize, plain.FontSize);
}

TEST(ShareLayout, TrailingBlanksAreNoPartOfAFileName) {
  TLines lines(kLayoutLines.begin(), kLayoutLines.end());
  lines[1] += "  ";
  const TShareLayout layout = TShareLayout::Parse(JoinLines(lines, "\n"));
  EXPECT_EQ(layout.BackgroundFile, "wdata\\back.png");
}

TEST(ShareLayout, EveryCutShortFileIsInvalid) {
  const std::string text = JoinLines(kLayoutLines, "\n");
  // Complete once the first digit of the font size is there. A flag line cut to "T", "TR" or
  // "TRU" is a word other than TRUE: a whole layout without a font size.
  const size_t complete = text.rfind('\n') + 2;
  const size_t flag = text.rfind("TRUE");
  for (size_t length = 0; length <= text.size(); ++length) {
    const TShareLayout layout = TShareLayout::Parse(text.substr(0, length));
    const bool whole = length >= complete || (length > flag && length < flag + 4);
    ASSERT_EQ(layout.Valid, whole) << "cut after " << length << " bytes: " << layout.Fault;
    if (layout.Valid) {
      EXPECT_EQ(layout.Buttons.size(), 3u);
      EXPECT_EQ(layout.FontSizeGiven, length >= complete);
    }
  }
}

TEST(ShareLayout, ShippedLayoutIsValid) {
  const TShareLayout layout = TShareLayout::Parse(promo_test::ShippedLayoutText());
  ASSERT_TRUE(layout.Valid) << layout.Fault;
  ASSERT_EQ(static_cast<int32_t>(layout.Buttons.size()), layout.ButtonTotal);
  EXPECT_TRUE(layout.Buttons.back().IsExit());
  EXPECT_GE(layout.CountdownLength, 2) << "the exit button waits";
}

}  // namespace
