// Checks of how the generated pictures look where the game depends on it: readable fonts,
// hover and disabled cells, contrast under the texts the game draws, tiling ground, roads
// that join, and sprites that stay inside their cells.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "PackFile.h"
#include "PngImage.h"

namespace arttest {
namespace {

class ArtPictures : public ::testing::Test {
 protected:
  static const std::vector<PackEntry>& Menu() {
    static const auto kEntries = ReadPackFile(std::string(ART_BUILD_DIR) + "/data1.pack");
    return kEntries;
  }
  static const std::vector<PackEntry>& Race() {
    static const auto kEntries = ReadPackFile(std::string(ART_BUILD_DIR) + "/data2.pack");
    return kEntries;
  }
  static const PackEntry& Entry(const std::string& key) {
    const PackEntry* e = FindEntry(Menu(), key);
    if (e == nullptr) e = FindEntry(Race(), key);
    if (e == nullptr) throw std::runtime_error("no picture " + key);
    return *e;
  }
  static PngImage Picture(const std::string& key) { return PngImage(Entry(key).Picture); }
  static Area Cell(const std::string& key, const PngImage& png, int index) {
    const PackEntry& e = Entry(key);
    return CellArea(png, e.TileWidth, e.TileHeight, index);
  }
};

TEST_F(ArtPictures, FontCellsHoldLightGlyphsAndSpaceIsEmpty) {
  const PngImage font = Picture("font");
  ASSERT_TRUE(font.Valid());
  EXPECT_EQ(font.OpaqueShare(Cell("font", font, 0), 1), 0.0) << "space must be empty";
  // Every character of the default set, the Latin letters after the first 109 included.
  for (int k = 1; k < 161; ++k) {
    const Area a = Cell("font", font, k);
    EXPECT_GT(font.OpaqueShare(a, 128), 0.01) << "cell " << k << " has no glyph";
    EXPECT_LT(font.MeanSaturation(a), 0.1) << "cell " << k << " is not white";
  }
}

struct ButtonCase {
  const char* Key;
  int Cells;
};

const std::vector<ButtonCase> kButtons = {
    {"b_stgame", 2},     {"b_opt", 2},     {"b_presshere", 2}, {"b_help", 2},   {"b_visit", 2},
    {"b_exit", 2},       {"b_logo", 2},    {"b_back", 2},      {"b_next", 2},   {"b_prev", 2},
    {"b_apply", 2},      {"b_cancel", 2},  {"b_yes", 2},       {"b_no", 2},     {"b_clrhiscr", 2},
    {"b_viewwhiscr", 2}, {"bc_next", 2},   {"bc_prev", 2},     {"bc_race", 2},  {"b_back2", 3},
    {"b_up", 3},         {"b_down", 3},    {"b_add", 3},       {"b_delete", 3}, {"b_select", 3},
    {"b_ok", 3},         {"b_yes1", 2},    {"b_no1", 2},       {"bro_next", 2}, {"b_hiscr", 3},
    {"bro_replay", 2},   {"b_records", 2}, {"bc_trial", 2},
};

TEST_F(ArtPictures, HoverCellsAreBrighterThanNormalCells) {
  for (const ButtonCase& b : kButtons) {
    const PngImage png = Picture(b.Key);
    const double normal = png.MeanLuminance(Cell(b.Key, png, 0));
    const double hover = png.MeanLuminance(Cell(b.Key, png, 1));
    EXPECT_GT(hover, normal * 1.15) << b.Key;
  }
}

TEST_F(ArtPictures, DisabledCellsAreGreyed) {
  for (const ButtonCase& b : kButtons) {
    if (b.Cells < 3) continue;
    const PngImage png = Picture(b.Key);
    const double normal = png.MeanSaturation(Cell(b.Key, png, 0));
    const double disabled = png.MeanSaturation(Cell(b.Key, png, 2));
    EXPECT_LT(disabled, normal * 0.5) << b.Key;
    EXPECT_LT(png.MeanLuminance(Cell(b.Key, png, 2)), png.MeanLuminance(Cell(b.Key, png, 1)))
        << b.Key;
  }
}

struct ContrastCase {
  const char* Key;
  Area Where;
  bool Light;
  const char* Why;
};

// Areas in picture pixels: screen position of the text minus the picture's position.
const std::vector<ContrastCase> kContrast = {
    {"scr_hiscr", {14, 76, 430, 206}, true, "dark table rows at x 280..710, y 266..472"},
    {"scr_records", {14, 90, 690, 250}, true, "dark record rows at x 54..730, y 250..500"},
    {"scr_choose", {196, 74, 200, 120}, false, "track information at x 556..756, y 354..474"},
    {"scr_change", {62, 70, 286, 150}, false, "profile names at x 432..718, y 350..500"},
    {"scr_delete", {110, 72, 200, 28}, false, "profile name centred on x 580 at y 352"},
    {"scr_raceover", {262, 86, 76, 116}, false, "result values centred on x 487, y 239..355"},
    {"scr_trialover", {250, 86, 120, 116}, false, "trial values centred on x 497, y 239..355"},
    {"scr_av", {60, 5, 288, 20}, false, "unlock text centred on x 400 at y 451"},
    {"speeder", {704, 52, 84, 72}, true, "black HUD text at x 704..788, y 518..590"},
    {"Edit", {4, 4, 150, 22}, false, "light edit text"},
    {"e_name", {4, 4, 200, 26}, false, "white edit text"},
    {"mainback", {80, 8, 640, 16}, false, "white ticker at (70, 8)"},
};

TEST_F(ArtPictures, TextAreasContrastWithTheTextTheGameDraws) {
  for (const ContrastCase& c : kContrast) {
    const PngImage png = Picture(c.Key);
    const double lum = png.MeanLuminance(c.Where);
    if (c.Light) {
      EXPECT_GT(lum, 170) << c.Key << ": " << c.Why;
    } else {
      EXPECT_LT(lum, 60) << c.Key << ": " << c.Why;
      EXPECT_GT(png.OpaqueShare(c.Where, 160), 0.95) << c.Key << ": " << c.Why;
    }
  }
}

// Mean colour difference between pixel (x1, y1) and (x2, y2) over a run of pixels.
double RunDifference(const PngImage& png, int x1, int y1, int x2, int y2, int dx, int dy, int n) {
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    const Rgba a = png.At(x1 + i * dx, y1 + i * dy);
    const Rgba b = png.At(x2 + i * dx, y2 + i * dy);
    sum += std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B);
  }
  return sum / n;
}

TEST_F(ArtPictures, GroundTilesWithoutSeams) {
  const PngImage g = Picture("grass");
  ASSERT_TRUE(g.Valid());
  EXPECT_EQ(g.OpaqueShare({0, 0, g.Width, g.Height}, 255), 1.0);
  const double across = RunDifference(g, g.Width - 1, 0, 0, 0, 0, 1, g.Height);
  const double inside = RunDifference(g, g.Width / 2 - 1, 0, g.Width / 2, 0, 0, 1, g.Height);
  EXPECT_LT(across, inside * 2 + 4);
  const double down = RunDifference(g, 0, g.Height - 1, 0, 0, 1, 0, g.Width);
  const double within = RunDifference(g, 0, g.Height / 2 - 1, 0, g.Height / 2, 1, 0, g.Width);
  EXPECT_LT(down, within * 2 + 4);
}

// Which sides each corner cell joins, as the race size table describes them.
std::map<int, std::pair<std::string, std::string>> CornerJoins() {
  std::ifstream in(RACE_SIZES_FILE);
  std::map<int, std::pair<std::string, std::string>> joins;
  const std::regex cell(R"(cell (\d): (\w+) and (\w+))");
  std::string line;
  while (std::getline(in, line)) {
    for (std::sregex_iterator it(line.begin(), line.end(), cell), end; it != end; ++it) {
      joins[std::stoi((*it)[1])] = {(*it)[2], (*it)[3]};
    }
  }
  return joins;
}

TEST_F(ArtPictures, CornerCellsCoverTheSidesTheyJoin) {
  const auto joins = CornerJoins();
  ASSERT_EQ(joins.size(), 4u);
  const PngImage png = Picture("roadroters");
  const int s = Entry("roadroters").TileWidth;
  for (const auto& [index, sides] : joins) {
    const Area a = Cell("roadroters", png, index);
    const auto edgeMiddle = [&](const std::string& side) {
      if (side == "left") return std::pair{a.X, a.Y + s / 2};
      if (side == "right") return std::pair{a.X + s - 1, a.Y + s / 2};
      if (side == "top") return std::pair{a.X + s / 2, a.Y};
      return std::pair{a.X + s / 2, a.Y + s - 1};
    };
    for (const auto& side : {sides.first, sides.second}) {
      const auto [x, y] = edgeMiddle(side);
      EXPECT_EQ(png.At(x, y).A, 255) << "cell " << index << " " << side;
    }
    const int fx = sides.first == "left" || sides.second == "left" ? a.X + s - 1 : a.X;
    const int fy = sides.first == "top" || sides.second == "top" ? a.Y + s - 1 : a.Y;
    EXPECT_EQ(png.At(fx, fy).A, 0) << "cell " << index << " outside of the bend";
  }
}

TEST_F(ArtPictures, StraightsAreOpaqueAndContinueIntoEachOther) {
  for (const char* key : {"roadstr", "roadstrvert"}) {
    const PngImage png = Picture(key);
    EXPECT_EQ(png.OpaqueShare({0, 0, png.Width, png.Height}, 255), 1.0) << key;
  }
  const PngImage h = Picture("roadstr");
  const int w = h.Width;
  const int rows = h.Height - 40;
  const double join = RunDifference(h, w - 1, 20, 0, 20, 0, 1, rows);
  const double inside = RunDifference(h, w / 2 - 1, 20, w / 2, 20, 0, 1, rows);
  EXPECT_LT(join, inside * 2 + 6);
}

TEST_F(ArtPictures, RotatedSpritesKeepATransparentBorder) {
  for (const char* key : {"car1", "car2", "car3", "car4", "car5", "bigblocks", "rock1", "ark", "p1",
                          "p2", "p3", "p4", "p5", "p6", "radararrow"}) {
    const PackEntry& e = Entry(key);
    const PngImage png(e.Picture);
    for (int i = 0; i < (png.Width / e.TileWidth) * (png.Height / e.TileHeight); ++i) {
      const Area a = CellArea(png, e.TileWidth, e.TileHeight, i);
      EXPECT_EQ(png.OpaqueShare({a.X, a.Y, a.W, 1}, 1), 0.0) << key << " cell " << i;
      EXPECT_EQ(png.OpaqueShare({a.X, a.Y + a.H - 1, a.W, 1}, 1), 0.0) << key << " cell " << i;
      EXPECT_EQ(png.OpaqueShare({a.X, a.Y, 1, a.H}, 1), 0.0) << key << " cell " << i;
      EXPECT_EQ(png.OpaqueShare({a.X + a.W - 1, a.Y, 1, a.H}, 1), 0.0) << key << " cell " << i;
    }
  }
}

// Mean alpha difference between an area and its left-right mirror image.
double MirrorDifference(const PngImage& png, const Area& a) {
  double sum = 0;
  for (int y = a.Y; y < a.Y + a.H; ++y) {
    for (int x = 0; x < a.W; ++x) {
      sum += std::abs(png.At(a.X + x, y).A - png.At(a.X + a.W - 1 - x, y).A);
    }
  }
  return sum / (a.W * a.H);
}

TEST_F(ArtPictures, CarsStandStraightInCellTwoAndLeanInTheOthers) {
  for (const char* key : {"car1", "car2", "car3", "car4", "car5"}) {
    const PngImage png = Picture(key);
    const double straight = MirrorDifference(png, Cell(key, png, 2));
    EXPECT_LT(straight, 2) << key;
    for (const int lean : {0, 4}) {
      EXPECT_GT(MirrorDifference(png, Cell(key, png, lean)), straight + 3) << key << " " << lean;
    }
    for (int i = 0; i < 5; ++i) {
      EXPECT_GT(png.OpaqueShare(Cell(key, png, i), 200), 0.45) << key << " should fill its cell";
    }
  }
}

TEST_F(ArtPictures, CarDesignsDiffer) {
  const std::vector<const char*> cars = {"car1", "car2", "car3", "car4", "car5"};
  for (std::size_t i = 0; i < cars.size(); ++i) {
    for (std::size_t j = i + 1; j < cars.size(); ++j) {
      const PngImage a = Picture(cars[i]);
      const PngImage b = Picture(cars[j]);
      const Area cell = Cell(cars[i], a, 2);
      double diff = 0;
      for (int y = cell.Y; y < cell.Y + cell.H; ++y) {
        for (int x = cell.X; x < cell.X + cell.W; ++x) {
          const Rgba p = a.At(x, y);
          const Rgba q = b.At(x, y);
          diff +=
              std::abs(p.R - q.R) + std::abs(p.G - q.G) + std::abs(p.B - q.B) + std::abs(p.A - q.A);
        }
      }
      EXPECT_GT(diff / (cell.W * cell.H), 40) << cars[i] << " and " << cars[j] << " look alike";
    }
  }
}

TEST_F(ArtPictures, NeedleRisesFromTheBottomMiddle) {
  const PngImage n = Picture("blank");
  const int mid = n.Width / 2;
  EXPECT_GT(n.At(mid, n.Height - 2).A, 200);
  EXPECT_GT(n.At(mid, n.Height / 3).A, 200);
  EXPECT_EQ(n.OpaqueShare({0, 0, mid - 12, n.Height}, 8), 0.0);
  EXPECT_EQ(n.OpaqueShare({mid + 12, 0, n.Width - mid - 12, n.Height}, 8), 0.0);
}

// Opaque pixels of one row of a picture.
int RowWidth(const PngImage& png, int y) {
  int n = 0;
  for (int x = 0; x < png.Width; ++x) n += png.At(x, y).A >= 128 ? 1 : 0;
  return n;
}

TEST_F(ArtPictures, RadarArrowPointsUp) {
  const PngImage a = Picture("radararrow");
  int top = 0;
  while (top < a.Height && RowWidth(a, top) == 0) ++top;
  int bottom = a.Height - 1;
  while (bottom > top && RowWidth(a, bottom) == 0) --bottom;
  ASSERT_LT(top, bottom);
  EXPECT_LT(RowWidth(a, top), RowWidth(a, bottom)) << "the tip must be at the top";
  int widest = top;
  for (int y = top; y <= bottom; ++y) {
    if (RowWidth(a, y) > RowWidth(a, widest)) widest = y;
  }
  EXPECT_LT(widest, top + (bottom - top) * 3 / 4) << "the head must be in the upper part";
  double sumX = 0;
  int count = 0;
  for (int x = 0; x < a.Width; ++x) {
    if (a.At(x, top).A >= 128) {
      sumX += x;
      ++count;
    }
  }
  EXPECT_NEAR(sumX / count, (a.Width - 1) / 2.0, 1.0) << "the tip is not at the top middle";
}

TEST_F(ArtPictures, PaintLayersCoverTheBodyOfTheirCarInGreys) {
  for (const char* car : {"car1", "car2", "car3", "car4", "car5"}) {
    const std::string paint = std::string(car) + "paint";
    const PngImage body = Picture(car);
    const PngImage layer = Picture(paint);
    ASSERT_EQ(layer.Width, body.Width) << paint;
    ASSERT_EQ(layer.Height, body.Height) << paint;
    for (int cell = 0; cell < 5; ++cell) {
      SCOPED_TRACE(paint + " cell " + std::to_string(cell));
      const Area a = Cell(paint, layer, cell);
      int painted = 0;
      int carPixels = 0;
      int outside = 0;
      for (int y = a.Y; y < a.Y + a.H; ++y) {
        for (int x = a.X; x < a.X + a.W; ++x) {
          const Rgba p = layer.At(x, y);
          const Rgba c = body.At(x, y);
          carPixels += c.A >= 200 ? 1 : 0;
          if (p.A < 128) continue;
          ++painted;
          outside += c.A < 64 ? 1 : 0;
          // Grey, so that the game's tint is the colour the body takes.
          EXPECT_LE(std::max({p.R, p.G, p.B}) - std::min({p.R, p.G, p.B}), 8) << x << "," << y;
        }
      }
      EXPECT_EQ(outside, 0) << "paint where the car has none";
      EXPECT_GT(painted, carPixels / 4) << "the paint covers too little of the car";
      EXPECT_LT(painted, carPixels * 9 / 10) << "wheels, canopy and stripes must show through";
    }
  }
}

TEST_F(ArtPictures, PlayerMarkIsARingInThePlayersColourWithAChevronAtTheNose) {
  const PngImage m = Picture("playermark");
  const int cx = m.Width / 2;
  const int cy = m.Height / 2;
  // Clear in the middle, where the car is.
  EXPECT_LT(m.At(cx, cy).A, 40);
  // The ring's core is the player's colour (the game's kPlayerColour, #3dff9a): green. Its
  // arcs break at the four sides; half way between them it is whole.
  const Rgba side = m.At(cx + 27, cy + 27);
  EXPECT_GT(side.A, 180);
  EXPECT_GT(side.G, 200);
  EXPECT_LT(side.R, 150);
  // Cars face down their pictures: the chevron is at the bottom, the ring's gap for it too.
  int below = 0;
  int above = 0;
  for (int y = 0; y < m.Height; ++y) {
    const int width = RowWidth(m, y);
    (y > cy ? below : above) += width;
  }
  EXPECT_GT(m.At(cx, cy + 38 + 2).A, 180) << "no chevron at the nose";
  EXPECT_GT(below, above) << "the chevron adds to the lower half";
}

TEST_F(ArtPictures, MapMarksAreWhiteToBeTinted) {
  const PngImage m = Picture("mapmarks");
  const Area dot = Cell("mapmarks", m, 0);
  const Rgba middle = m.At(dot.X + dot.W / 2, dot.Y + dot.H / 2);
  EXPECT_GT(middle.A, 240);
  EXPECT_GT(std::min({middle.R, middle.G, middle.B}), 240) << "the dot is white inside";
  EXPECT_LT(m.At(dot.X, dot.Y).A, 64) << "the dot is round";
  const Area ring = Cell("mapmarks", m, 1);
  const int open = m.At(ring.X + ring.W / 2, ring.Y + ring.H / 2).A;
  EXPECT_LT(open, 128) << "the ring is open";
  EXPECT_LT(open, m.At(ring.X + ring.W / 2, ring.Y + 1).A) << "the ring is open";
  EXPECT_GT(m.OpaqueShare(ring, 128), 0.3);
}

TEST_F(ArtPictures, CheckpointIsTranslucentInTheMiddle) {
  const PngImage c = Picture("checkline");
  EXPECT_LT(c.At(c.Width / 2, c.Height / 4).A, 128);
  EXPECT_GT(c.OpaqueShare({0, 0, c.Width, c.Height}, 200), 0.03);
}

// The game turns the upright needle by 585 - share * 190 degrees (clockwise) about the
// pivot (needle width / 2, 480 + needle height); the dial scale must follow that sweep.
TEST_F(ArtPictures, DialScaleFollowsTheNeedleSweep) {
  const PackEntry& needle = Entry("blank");
  const PngImage dial = Picture("speeder");
  const PngImage glass = Picture("upspeeder");
  const double px = needle.TileWidth / 2.0;
  const double pivotY = 480.0 + needle.TileHeight;
  const double dialY = pivotY - 466;
  const double glassY = pivotY - 472;
  EXPECT_EQ(dial.At(static_cast<int>(px), static_cast<int>(dialY)).A, 255);
  EXPECT_EQ(glass.At(static_cast<int>(px), static_cast<int>(glassY)).A, 255) << "hub cap";
  const double pi = std::acos(-1.0);
  for (double share = 0; share <= 1.0; share += 0.05) {
    const double a = (585 - share * 190) * pi / 180;
    const double length = needle.TileHeight * 0.7;
    const int gx = static_cast<int>(px + std::sin(a) * length);
    const int gy = static_cast<int>(glassY - std::cos(a) * length);
    EXPECT_LT(glass.At(gx, gy).A, 40) << "the glass hides the needle at share " << share;
  }
  int redOnScale = 0;
  int redOffScale = 0;
  for (int step = 0; step < 72; ++step) {
    const double rotation = step * 5.0;
    const double share = std::fmod(585 - rotation, 360.0) / 190;
    const double a = rotation * pi / 180;
    double reddest = 0;
    for (double r = needle.TileHeight * 0.9; r < needle.TileHeight * 1.25; r += 1) {
      const Rgba p = dial.At(static_cast<int>(px + std::sin(a) * r),
                             static_cast<int>(dialY - std::cos(a) * r));
      reddest = std::max(reddest, static_cast<double>(p.R - std::max(p.G, p.B)));
    }
    if (reddest > 80 && share > 0.6 && share <= 1.0) ++redOnScale;
    if (reddest > 80 && share > 1.02) ++redOffScale;
  }
  EXPECT_GE(redOnScale, 3) << "no red zone towards top speed";
  EXPECT_EQ(redOffScale, 0) << "scale marks outside the needle's sweep";
}

TEST_F(ArtPictures, StartLampsLightTheirSockets) {
  const PngImage housing = Picture("svetophor");
  for (int k = 0; k < 3; ++k) {
    const char* key = k == 0 ? "redlight" : k == 1 ? "yellowlight" : "greenlight";
    const PngImage lamp = Picture(key);
    const int cx = lamp.Width / 2;
    const int cy = lamp.Height / 2;
    EXPECT_EQ(lamp.At(cx, cy).A, 255) << key;
    EXPECT_LT(lamp.At(1, 1).A, 10) << key << " glow must fade out";
    const int hx = 280 + 65 * k + cx - 300;
    const int hy = 28 + cy - 50;
    ASSERT_LT(hx, housing.Width);
    ASSERT_LT(hy, housing.Height);
    const Rgba socket = housing.At(hx, hy);
    EXPECT_EQ(socket.A, 255) << key << " lamp centre is off the housing";
    EXPECT_LT(socket.R + socket.G + socket.B, 300) << key << " socket should be an unlit lens";
  }
}

}  // namespace
}  // namespace arttest
