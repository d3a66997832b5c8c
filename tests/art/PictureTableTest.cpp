// Every picture the game looks up must be in its image list with the cells the game draws
// and a size that keeps it on screen and clear of its neighbours.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "PackFile.h"
#include "PngImage.h"

namespace arttest {
namespace {

struct Limits {
  const char* Key;
  int MinCells;
  int MaxCells;
  int MaxWidth;
  int MaxHeight;
  int MinWidth = 1;
  int MinHeight = 1;
};

// Cell sizes are tile sizes; buttons may carry a spare third cell.
const std::vector<Limits> kMenuList = {
    {"font", 109, 256, 16, 32, 6, 10},
    {"mousecursor", 8, 8, 32, 32, 8, 8},
    {"loading", 1, 1, 800, 600, 800, 600},
    {"logo_kvt", 1, 1, 294, 181},
    {"logo", 1, 1, 800, 600},
    {"mainback", 1, 1, 800, 600, 800, 600},
    {"p1", 8, 8, 200, 140},
    {"p2", 8, 8, 200, 140},
    {"p3", 8, 8, 200, 140},
    {"p4", 8, 8, 200, 140},
    {"p5", 8, 8, 200, 140},
    {"p6", 8, 8, 200, 140},
    {"light1", 1, 1, 210, 290},
    {"light2", 1, 1, 128, 128},
    {"chooseline", 1, 1, 300, 15, 250, 4},
    {"scr_help", 1, 1, 430, 320},
    {"scr_help2", 1, 1, 430, 320},
    {"scr_help3", 1, 1, 430, 320},
    {"scr_opt", 1, 1, 430, 350},
    {"scr_ExitTheGame", 1, 1, 442, 335},
    {"scr_hiscr", 1, 1, 534, 300, 450, 290},
    {"scr_clearhiscr", 1, 1, 490, 316, 260, 130},
    {"scr_records", 1, 1, 760, 380, 700, 330},
    {"scr_choose", 1, 1, 440, 320},
    {"scr_choosecar", 1, 1, 440, 320},
    {"scr_change", 1, 1, 430, 320},
    {"scr_entername", 1, 1, 430, 320},
    {"scr_delete", 1, 1, 430, 320},
    {"tr_track1", 1, 1, 160, 143},
    {"tr_track2", 1, 1, 160, 143},
    {"tr_track3", 1, 1, 160, 143},
    {"tr_track4", 1, 1, 160, 143},
    {"tr_track5", 1, 1, 160, 143},
    {"tr_track6", 1, 1, 160, 143},
    {"tr_track7", 1, 1, 160, 143},
    {"tr_track8", 1, 1, 160, 143},
    {"tr_track9", 1, 1, 160, 143},
    {"tr_track10", 1, 1, 160, 143},
    {"tr_track11", 1, 1, 160, 143},
    {"tr_track12", 1, 1, 160, 143},
    {"tr_notav", 1, 1, 160, 143},
    {"c_lock", 1, 1, 72, 72, 72, 72},
    {"c_car1", 1, 1, 159, 140},
    {"c_car2", 1, 1, 159, 140},
    {"c_car3", 1, 1, 159, 140},
    {"c_car4", 1, 1, 159, 140},
    {"c_car5", 1, 1, 159, 140},
    {"bar1", 1, 1, 228, 27},
    {"bar2", 1, 1, 228, 27},
    {"bar3", 1, 1, 228, 27},
    {"bar4", 1, 1, 228, 27},
    {"Edit", 1, 1, 216, 46, 170, 24},
    {"e_name", 1, 1, 343, 69, 190, 30},
    {"b_on", 1, 2, 164, 32},
    {"b_off", 1, 2, 164, 32},
    {"b_stgame", 2, 3, 200, 40},
    {"b_opt", 2, 3, 143, 40},
    {"b_presshere", 2, 3, 145, 40},
    {"b_help", 2, 3, 105, 40},
    {"b_visit", 2, 3, 205, 40},
    {"b_exit", 2, 3, 188, 40},
    {"b_hiscr", 3, 3, 210, 40},
    {"b_logo", 2, 3, 200, 90},
    {"b_back", 2, 3, 115, 55},
    {"b_next", 2, 3, 155, 95},
    {"b_prev", 2, 3, 110, 95},
    {"b_apply", 2, 3, 140, 125},
    {"b_cancel", 2, 3, 200, 125},
    {"b_yes", 2, 3, 120, 125},
    {"b_no", 2, 3, 200, 125},
    {"b_clrhiscr", 2, 3, 470, 25},
    {"b_viewwhiscr", 2, 3, 510, 25},
    {"b_records", 2, 3, 220, 25},
    {"bc_next", 2, 3, 52, 97},
    {"bc_prev", 2, 3, 79, 97},
    {"bc_race", 2, 3, 151, 95},
    {"bc_trial", 2, 3, 151, 95},
    {"b_back2", 3, 3, 80, 90},
    {"b_up", 3, 3, 70, 80},
    {"b_down", 3, 3, 70, 45},
    {"b_add", 3, 3, 80, 90},
    {"b_delete", 3, 3, 80, 90},
    {"b_select", 3, 3, 140, 90},
    {"b_ok", 3, 3, 270, 120},
};

const std::vector<Limits> kRaceList = {
    {"car1", 5, 5, 80, 100, 7, 7},       {"car2", 5, 5, 80, 100, 7, 7},
    {"car3", 5, 5, 80, 100, 7, 7},       {"car4", 5, 5, 80, 100, 7, 7},
    {"car5", 5, 5, 80, 100, 7, 7},       {"dim", 1, 1, 128, 128, 16, 16},
    {"grass", 1, 1, 1024, 1024, 64, 64}, {"speeder", 2, 2, 800, 134},
    {"upspeeder", 1, 1, 800, 128},       {"blank", 1, 1, 200, 60},
    {"radararrow", 1, 1, 43, 43},        {"begarrows", 1, 1, 256, 256, 80, 80},
    {"svetophor", 1, 1, 500, 550},       {"redlight", 1, 1, 160, 160},
    {"yellowlight", 1, 1, 160, 160},     {"greenlight", 1, 1, 160, 160},
    {"roadstr", 1, 1, 640, 640},         {"roadstrvert", 1, 1, 640, 640},
    {"roadroters", 4, 4, 640, 640},      {"inplace", 1, 1, 400, 400},
    {"startline", 1, 1, 400, 400},       {"romhor", 5, 5, 400, 400},
    {"romver", 5, 5, 400, 400},          {"bigblocks", 8, 8, 200, 200},
    {"rock1", 5, 5, 200, 200},           {"ark", 3, 3, 300, 300},
    {"horwall", 1, 1, 320, 320},         {"vertwall", 1, 1, 320, 320},
    {"horwalls", 5, 5, 320, 320},        {"vertwalls", 5, 5, 320, 320},
    {"groundpoint", 1, 1, 16, 16},       {"checkline", 1, 1, 400, 400},
    {"fline", 1, 1, 400, 400},           {"scr_exitgame", 1, 1, 613, 447},
    {"scr_pause", 1, 1, 613, 447},       {"scr_raceover", 1, 1, 613, 447},
    {"scr_send", 1, 1, 613, 447},        {"scr_av", 1, 1, 800, 60},
    {"newrecord", 1, 1, 115, 60},        {"b_yes1", 2, 3, 111, 100},
    {"b_no1", 2, 3, 195, 100},           {"bro_next", 2, 3, 200, 100},
    {"car1paint", 5, 5, 80, 100, 7, 7},  {"car2paint", 5, 5, 80, 100, 7, 7},
    {"car3paint", 5, 5, 80, 100, 7, 7},  {"car4paint", 5, 5, 80, 100, 7, 7},
    {"car5paint", 5, 5, 80, 100, 7, 7},  {"playermark", 1, 1, 128, 128, 72, 72},
    {"mapmarks", 2, 2, 16, 16, 6, 6},    {"scr_standings", 1, 1, 180, 206},
    {"bro_replay", 2, 3, 200, 100},      {"scr_trialover", 1, 1, 613, 447},
};

struct ListCase {
  const char* Name;
  const char* Pack;
  const std::vector<Limits>* Table;
};

class PictureTable : public ::testing::TestWithParam<ListCase> {
 protected:
  std::vector<PackEntry> Entries = ReadPackFile(std::string(ART_BUILD_DIR) + "/" + GetParam().Pack);
};

TEST_P(PictureTable, HoldsExactlyTheKeysOfTheList) {
  ASSERT_FALSE(Entries.empty());
  std::set<std::string> keys;
  for (const PackEntry& e : Entries) EXPECT_TRUE(keys.insert(e.Key).second) << e.Key << " twice";
  std::set<std::string> expected;
  for (const Limits& l : *GetParam().Table) expected.insert(l.Key);
  EXPECT_EQ(keys, expected);
}

TEST_P(PictureTable, EveryPictureHasItsCellsAndASizeWithinItsLimits) {
  for (const Limits& l : *GetParam().Table) {
    SCOPED_TRACE(l.Key);
    const PackEntry* e = FindEntry(Entries, l.Key);
    ASSERT_NE(e, nullptr);
    const PngImage png(e->Picture);
    ASSERT_TRUE(png.Valid());
    ASSERT_GT(e->TileWidth, 0);
    ASSERT_GT(e->TileHeight, 0);
    EXPECT_EQ(png.Width % e->TileWidth, 0) << "pixels left over at the right";
    EXPECT_EQ(png.Height % e->TileHeight, 0) << "pixels left over at the bottom";
    const int cells = (png.Width / e->TileWidth) * (png.Height / e->TileHeight);
    EXPECT_GE(cells, l.MinCells);
    EXPECT_LE(cells, l.MaxCells);
    EXPECT_LE(e->TileWidth, l.MaxWidth);
    EXPECT_LE(e->TileHeight, l.MaxHeight);
    EXPECT_GE(e->TileWidth, l.MinWidth);
    EXPECT_GE(e->TileHeight, l.MinHeight);
  }
}

INSTANTIATE_TEST_SUITE_P(Lists, PictureTable,
                         ::testing::Values(ListCase{"Menu", "data1.pack", &kMenuList},
                                           ListCase{"Race", "data2.pack", &kRaceList}),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST(PictureTable, FontIsTheFirstMenuEntry) {
  const auto entries = ReadPackFile(std::string(ART_BUILD_DIR) + "/data1.pack");
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front().Key, "font");
}

// Pictures that share one sprite or screen slot must be the same size, because the game does
// not re-read the size when it swaps them.
TEST(PictureTable, SwappedPicturesShareOneSize) {
  const std::vector<std::pair<const char*, std::vector<const char*>>> groups = {
      {"data1.pack",
       {"tr_track1", "tr_track2", "tr_track3", "tr_track4", "tr_track5", "tr_track6", "tr_track7",
        "tr_track8", "tr_track9", "tr_track10", "tr_track11", "tr_track12", "tr_notav"}},
      {"data1.pack", {"c_car1", "c_car2", "c_car3", "c_car4", "c_car5"}},
      {"data1.pack", {"b_on", "b_off"}},
      {"data1.pack", {"b_yes", "b_no"}},
      {"data1.pack", {"b_add", "b_ok"}},
      {"data2.pack", {"scr_raceover", "scr_send"}},
      {"data2.pack", {"b_yes1", "b_no1"}},
      {"data2.pack", {"redlight", "yellowlight", "greenlight"}},
      {"data2.pack", {"car1", "car2", "car3", "car4", "car5"}},
      // A paint layer is drawn over its car with the car's place, cell and turn.
      {"data2.pack", {"car1", "car1paint", "car2paint", "car3paint", "car4paint", "car5paint"}},
  };
  for (const auto& [pack, keys] : groups) {
    const auto entries = ReadPackFile(std::string(ART_BUILD_DIR) + "/" + pack);
    const PackEntry* first = FindEntry(entries, keys.front());
    ASSERT_NE(first, nullptr) << keys.front();
    for (const char* key : keys) {
      const PackEntry* e = FindEntry(entries, key);
      ASSERT_NE(e, nullptr) << key;
      EXPECT_EQ(e->TileWidth, first->TileWidth) << key;
      EXPECT_EQ(e->TileHeight, first->TileHeight) << key;
    }
  }
}

TEST(PictureTable, RacePicturesHaveTheSizesTrackDesignUses) {
  std::ifstream in(RACE_SIZES_FILE);
  ASSERT_TRUE(in) << RACE_SIZES_FILE;
  const auto entries = ReadPackFile(std::string(ART_BUILD_DIR) + "/data2.pack");
  std::string line;
  int checked = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string key;
    int columns = 0, rows = 0, width = 0, height = 0;
    if (!(fields >> key) || key[0] == '#') continue;
    ASSERT_TRUE(fields >> columns >> rows >> width >> height) << line;
    SCOPED_TRACE(key);
    const PackEntry* e = FindEntry(entries, key);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->TileWidth, width);
    EXPECT_EQ(e->TileHeight, height);
    const PngImage png(e->Picture);
    EXPECT_EQ(png.Width, columns * width);
    EXPECT_EQ(png.Height, rows * height);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace arttest
