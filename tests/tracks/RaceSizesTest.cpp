// The race sizes file: cell sizes and the sides the road corner cells join.

#include <gtest/gtest.h>

#include <string>

#include "RaceSizes.h"
#include "TrackTestSupport.h"

namespace {

using tracktool::Dir;
using tracktool::TRaceSizes;
using tracktool::TRaceSizesError;

const std::string CornerLines =
    "#   cell 0: right and bottom    cell 1: left and bottom\n"
    "#   cell 2: left and top        cell 3: right and top\n";

const std::string RoadLines =
    "roadstr 1 1 320 160\n"
    "roadstrvert 1 1 160 320\n"
    "roadroters 4 1 160 160\n";

TEST(RaceSizes, RealFileGivesTheRoadGridAndCars) {
  const TRaceSizes& sizes = tracktest::Sizes();
  EXPECT_EQ(sizes.GridSize(), 160);
  EXPECT_EQ(sizes.Cell("checkline").Width, 168);
  EXPECT_EQ(sizes.Cell("fline").Height, 176);
  EXPECT_EQ(sizes.LargestCar().Width, 40);
  EXPECT_EQ(sizes.LargestCar().Height, 64);
}

TEST(RaceSizes, CornerKindsFollowTheCellDescriptions) {
  const TRaceSizes& sizes = tracktest::Sizes();
  EXPECT_EQ(sizes.CornerKind(Dir::Right, Dir::Down), 14);
  EXPECT_EQ(sizes.CornerKind(Dir::Down, Dir::Left), 13);
  EXPECT_EQ(sizes.CornerKind(Dir::Left, Dir::Up), 12);
  EXPECT_EQ(sizes.CornerKind(Dir::Up, Dir::Right), 11);
  EXPECT_EQ(sizes.CornerKind(Dir::Left, Dir::Right), 0);
  const auto sides = sizes.CornerSides(13);
  EXPECT_EQ(sides[0], Dir::Left);
  EXPECT_EQ(sides[1], Dir::Down);
}

TEST(RaceSizes, ParsedCornerOrderIsTakenFromTheText) {
  const TRaceSizes sizes =
      TRaceSizes::Parse(RoadLines +
                        "# cell 0: left and top  cell 1: right and top\n"
                        "# cell 2: right and bottom  cell 3: left and bottom\n");
  EXPECT_EQ(sizes.CornerKind(Dir::Left, Dir::Up), 14);
  EXPECT_EQ(sizes.CornerKind(Dir::Left, Dir::Down), 11);
}

TEST(RaceSizes, UnusableFilesAreRefused) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"no corner descriptions", RoadLines},
      {"three corners described", RoadLines + "# cell 0: right and bottom cell 1: left and bottom\n"
                                              "# cell 2: left and top\n"},
      {"a corner joining opposite sides", RoadLines + "# cell 0: left and right\n" +
                                              "# cell 1: left and bottom cell 2: left and top\n"
                                              "# cell 3: right and top\n"},
      {"two cells alike", RoadLines + "# cell 0: right and bottom cell 1: bottom and right\n"
                                      "# cell 2: left and top cell 3: right and top\n"},
      {"a size line with a word for a number", "roadstr 1 1 wide 160\n" + RoadLines + CornerLines},
      {"a zero size", "roadstr 1 1 0 160\n" + RoadLines + CornerLines},
      {"straights not two corners long",
       "roadstr 1 1 300 160\nroadstrvert 1 1 160 320\nroadroters 4 1 160 160\n" + CornerLines},
      {"no corner picture", "roadstr 1 1 320 160\nroadstrvert 1 1 160 320\n" + CornerLines},
  };
  for (const auto& [what, text] : cases) {
    EXPECT_THROW(TRaceSizes::Parse(text), TRaceSizesError) << what;
  }
}

TEST(RaceSizes, UnknownPictureAndMissingFileAreErrors) {
  EXPECT_THROW(tracktest::Sizes().Cell("nosuchpicture"), TRaceSizesError);
  EXPECT_THROW(TRaceSizes::Load("/nonexistent/race-sizes.txt"), TRaceSizesError);
}

}  // namespace
