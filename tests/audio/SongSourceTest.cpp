// Song sources: how phrases are laid into pattern cells, and how mistakes are reported.
#include <gtest/gtest.h>

#include <string>

#include "CaseName.h"
#include "SongBuilder.h"
#include "SongParser.h"
#include "synth/SourceError.h"

namespace {

// Two short instruments that every case below may use.
constexpr const char* kHeader = R"(channels 4
instrument tone
  wave sine
  length 0.05
  loop
  volume 40
end
instrument other
  like tone
  volume 20
end
)";

xm::TModule Build(const std::string& body) {
  return xm::BuildModule(xm::ParseSong(std::string(kHeader) + body));
}

const xm::TCell& CellAt(const xm::TModule& module, int row, int channel) {
  return module.Patterns.at(0)
      .Rows.at(static_cast<std::size_t>(row))
      .at(static_cast<std::size_t>(channel));
}

// XM note value of a semitone number (C-0 = 0).
constexpr int kC4 = 49;

TEST(SongLayout, HeldRepeatedEmptyAndKeyOffTokens) {
  const xm::TModule module =
      Build("phrase p tone\n  c4/4 d4*2 . off\nend\npattern a 8\n  1 p\nend\norder a\n");
  EXPECT_EQ(CellAt(module, 0, 0).Note, kC4);
  EXPECT_EQ(CellAt(module, 0, 0).Instrument, 1);
  for (int row : {1, 2, 3, 6}) EXPECT_EQ(CellAt(module, row, 0).Note, 0) << "row " << row;
  EXPECT_EQ(CellAt(module, 4, 0).Note, kC4 + 2);
  EXPECT_EQ(CellAt(module, 5, 0).Note, kC4 + 2);
  EXPECT_EQ(CellAt(module, 7, 0).Note, xm::kNoteOff);
  EXPECT_EQ(CellAt(module, 7, 0).Instrument, 0);
}

TEST(SongLayout, SharpNotesAreNotCommentsButSpacedHashesAre) {
  const xm::TModule module =
      Build("phrase p tone  # a comment\n  c#4 # d4\nend\npattern a 4\n  1 p\nend\norder a\n");
  EXPECT_EQ(CellAt(module, 0, 0).Note, kC4 + 1);
  EXPECT_EQ(CellAt(module, 1, 0).Note, 0);
}

TEST(SongLayout, PhraseUsesTransposeRepeatDelayAndSwitchInstrument) {
  const xm::TModule module = Build(
      "phrase p tone\n  c4 . e4 g4\nend\n"
      "pattern a 8\n  1 p+2*2\n  2 p>1:other\nend\norder a\n");
  EXPECT_EQ(CellAt(module, 0, 0).Note, kC4 + 2);
  EXPECT_EQ(CellAt(module, 4, 0).Note, kC4 + 2) << "second repeat";
  EXPECT_EQ(CellAt(module, 7, 0).Note, kC4 + 9);
  EXPECT_EQ(CellAt(module, 0, 1).Note, 0) << "delayed by a row";
  EXPECT_EQ(CellAt(module, 1, 1).Note, kC4);
  EXPECT_EQ(CellAt(module, 1, 1).Instrument, 2);
  EXPECT_EQ(CellAt(module, 3, 1).Note, kC4 + 4);
  EXPECT_EQ(CellAt(module, 4, 1).Note, 0) << "the last note is pushed out of the phrase";
}

TEST(SongLayout, VolumesComeFromTokensAliasesAndScaledUses) {
  const xm::TModule module = Build(
      "alias k c4:other@48\n"
      "phrase p tone\n  c4 c4@32 k\nend\n"
      "pattern a 4\n  1 p\n  2 p@32\nend\norder a\n");
  EXPECT_EQ(CellAt(module, 0, 0).Volume, 0) << "the instrument's own volume applies";
  EXPECT_EQ(CellAt(module, 1, 0).Volume, 0x10 + 32);
  EXPECT_EQ(CellAt(module, 2, 0).Volume, 0x10 + 48);
  EXPECT_EQ(CellAt(module, 2, 0).Instrument, 2);
  EXPECT_EQ(CellAt(module, 0, 1).Volume, 0x10 + 20) << "half of the instrument's 40";
  EXPECT_EQ(CellAt(module, 1, 1).Volume, 0x10 + 16);
  EXPECT_EQ(CellAt(module, 2, 1).Volume, 0x10 + 24);
}

TEST(SongLayout, OrderAndLoopPoint) {
  const xm::TModule module = Build(
      "phrase p tone\n  c4\nend\npattern a 4\n  1 p\nend\npattern b 4\n  2 p\nend\n"
      "order a loop b\norder a\n");
  EXPECT_EQ(module.Orders, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(module.Restart, 1);
  EXPECT_EQ(module.Channels, 4);
}

// A mistake in a song body, the line it is on (counting the header) and words of the message.
struct SongErrorCase {
  const char* Name;
  const char* Body;
  int Line;
  const char* Message;
};

void PrintTo(const SongErrorCase& c, std::ostream* out) {
  *out << c.Name;
}

// Builds a faulty song body and expects a source error.
class SongSourceRejects : public ::testing::TestWithParam<SongErrorCase> {};

TEST_P(SongSourceRejects, WithTheLineAndTheReason) {
  try {
    Build(GetParam().Body);
    FAIL() << "the song was accepted";
  } catch (const synth::TSourceError& error) {
    EXPECT_EQ(error.Line(), GetParam().Line) << error.what();
    EXPECT_NE(std::string(error.what()).find(GetParam().Message), std::string::npos)
        << error.what();
  }
}

// The header takes lines 1 to 11, so a body starts on line 12.
INSTANTIATE_TEST_SUITE_P(
    BadSongs, SongSourceRejects,
    ::testing::Values(
        SongErrorCase{"UnknownInstrumentSetting", "instrument x\n  sparkle 3\nend\norder a\n", 13,
                      "unknown instrument setting \"sparkle\""},
        SongErrorCase{"BlockWithoutEnd", "phrase p tone\n  c4\n", 12, "has no \"end\""},
        SongErrorCase{"ChannelOutOfRange", "phrase p tone\n  c4\nend\npattern a 4\n  5 p\nend\n",
                      16, "channel must be in the range 1 to 4"},
        SongErrorCase{"PhraseLongerThanItsPattern",
                      "phrase p tone\n  c4/8\nend\npattern a 4\n  1 p\nend\norder a\n", 16,
                      "runs past the 4 rows of pattern \"a\""},
        SongErrorCase{"UnknownPhrase", "pattern a 4\n  1 q\nend\norder a\n", 13,
                      "unknown phrase \"q\""},
        SongErrorCase{"UnknownInstrumentInPhrase",
                      "phrase p drum\n  c4\nend\npattern a 4\n  1 p\nend\norder a\n", 12,
                      "unknown instrument \"drum\""},
        SongErrorCase{"NoteWithoutInstrument",
                      "phrase p\n  c4\nend\npattern a 4\n  1 p\nend\norder a\n", 12,
                      "without an instrument"},
        SongErrorCase{"TransposedOutOfRange",
                      "phrase p tone\n  c7\nend\npattern a 4\n  1 p+24\nend\norder a\n", 16,
                      "leaves the note range"},
        SongErrorCase{"BadToken", "phrase p tone\n  c4 h2x\nend\n", 13, "\"h2x\" is not a note"},
        SongErrorCase{"RepeatAndHoldTogether", "phrase p tone\n  c4*2/3\nend\n", 13,
                      "cannot both repeat"},
        SongErrorCase{"VolumeOnAKeyOff", "phrase p tone\n  off@20\nend\n", 13, "only notes take"},
        SongErrorCase{"DuplicatePhrase", "phrase p tone\n  c4\nend\nphrase p tone\n  d4\nend\n", 15,
                      "defined twice"},
        SongErrorCase{"UnknownPatternInOrder", "order nowhere\n", 12,
                      "unknown pattern \"nowhere\""},
        SongErrorCase{"LoopAfterTheLastPattern",
                      "phrase p tone\n  c4\nend\npattern a 4\n  1 p\nend\norder a loop\n", 18,
                      "\"loop\" must come before"},
        SongErrorCase{"NoOrder", "phrase p tone\n  c4\nend\n", 14, "no \"order\""},
        SongErrorCase{"LikeUnknownInstrument", "instrument y\n  like z\nend\n", 13,
                      "unknown instrument \"z\""},
        SongErrorCase{"EnvelopeWithOddValues", "instrument y\n  envelope 0 0 10\nend\n", 13,
                      "pairs of tick and level"},
        SongErrorCase{"AliasThatIsANote", "alias a4 c4:tone\n", 12, "clashes"}),
    audio_test::CaseName<SongErrorCase>);

}  // namespace
