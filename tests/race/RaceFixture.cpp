#include "RaceFixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/race/Player.h"
#include "platform/ImageFile.h"
#include "tools/track-tool/TrackFile.h"

namespace racetest {
namespace fs = std::filesystem;
namespace {

/// A picture of Columns x Rows cells of TileWidth x TileHeight.
struct TSizes {
  std::string Key;
  int32_t Columns = 1;
  int32_t Rows = 1;
  int32_t TileWidth = 0;
  int32_t TileHeight = 0;
};

/// Race pictures whose sizes track design does not depend on.
const std::vector<TSizes> kOtherPictures = {
    {"dim", 1, 1, 64, 64},         {"groundpoint", 1, 1, 4, 4},   {"blank", 1, 1, 130, 56},
    {"radararrow", 1, 1, 32, 40},  {"begarrows", 1, 1, 128, 128}, {"speeder", 1, 2, 800, 134},
    {"upspeeder", 1, 1, 800, 128}, {"playermark", 1, 1, 96, 96},  {"mapmarks", 2, 1, 8, 8},
    {"car1paint", 5, 1, 40, 64},   {"car2paint", 5, 1, 40, 64},   {"car3paint", 5, 1, 40, 64},
    {"car4paint", 5, 1, 40, 64},   {"car5paint", 5, 1, 40, 64},
};

std::vector<TSizes> RacePictureSizes() {
  std::ifstream in(CLD_RACE_SIZES_FILE);
  EXPECT_TRUE(in) << CLD_RACE_SIZES_FILE;
  std::vector<TSizes> sizes = kOtherPictures;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    TSizes s;
    if (words >> s.Key >> s.Columns >> s.Rows >> s.TileWidth >> s.TileHeight) sizes.push_back(s);
  }
  return sizes;
}

void AddPicture(vexel::TVexelImageList& list, const TSizes& s) {
  const int32_t width = s.Columns * s.TileWidth;
  const int32_t height = s.Rows * s.TileHeight;
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  const std::vector<uint32_t> texels(static_cast<size_t>(width * height), 0xFF808080u);
  EXPECT_TRUE(platform::EncodePng(width, height, texels, picture.Data));
  vexel::TImageListItem* item = list.ImageList.Add();
  item->Name = s.Key;
  item->SetPicture(picture);
  item->SetTileWidth(s.TileWidth);
  item->SetTileHeight(s.TileHeight);
}

std::string FreshDir() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "race";
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const fs::path dir = fs::path(::testing::TempDir()) / ("race-" + std::to_string(getpid())) / name;
  fs::remove_all(dir);
  fs::create_directories(dir / "Data");
  return dir.string();
}

}  // namespace

void WriteTrack(const std::string& file, const std::vector<TRecord>& records, size_t extra) {
  std::vector<tracktool::TrackRecord> out;
  for (const TRecord& r : records) out.push_back({r.PosY, r.PosX, r.Kind, r.ParamA, r.ParamB});
  std::vector<uint8_t> bytes = tracktool::EncodeRecords(out);
  bytes.resize(bytes.size() + extra, 0);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<TRecord> MinimalTrack(int32_t opponents) {
  std::vector<TRecord> records = {{1000, 300, game::TrackKind::FinishLine, 90, 0},
                                  {1100, 300, game::TrackKind::PathPoint, 1, 1},
                                  {1500, 300, game::TrackKind::PathPoint, 2, 2},
                                  {1500, 800, game::TrackKind::PathPoint, 3, 3},
                                  {1500, 600, game::TrackKind::CheckLine, 0, 0},
                                  {1000, 800, game::TrackKind::CheckLine, 0, 1},
                                  {500, 600, game::TrackKind::CheckLine, 0, 2}};
  for (int32_t slot = 1; slot <= opponents + 1; ++slot) {
    records.push_back({900 - 80 * slot, 300, game::TrackKind::GridSlot, 0, slot});
  }
  return records;
}

game::TPoint2 Middle(const std::vector<vexel::TVertex>& quad) {
  game::TPoint2 sum;
  for (const vexel::TVertex& v : quad) {
    sum.X += v.X;
    sum.Y += v.Y;
  }
  return {sum.X / static_cast<double>(quad.size()), sum.Y / static_cast<double>(quad.size())};
}

bool SameRgb(uint32_t a, uint32_t b) {
  for (const int shift : {0, 8, 16}) {
    const int difference =
        static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (difference < -1 || difference > 1) return false;
  }
  return true;
}

RaceFixture::RaceFixture()
    : Screen(std::make_unique<vexel::TRecordingSystem>()),
      Dir(FreshDir()),
      World(Engine, Images, Catalogue, Random, KeyDown, KeyReleased, Dir) {
  Screen.Initialize();
  Device = static_cast<vexel::TRecordingSystem*>(Screen.System())->LastDevice;
  Images.SetVexelScreen(&Screen);
  for (const TSizes& sizes : RacePictureSizes()) AddPicture(Images, sizes);
  Images.Prepare();
  Catalogue.CarsAvailable = game::CarCount;
  Catalogue.TracksAvailable = game::TrackCount;
  Catalogue.ApplyAvailability();
}

void RaceFixture::SetTile(const std::string& key, int32_t width, int32_t height) {
  vexel::TImageListItem* item = Images.ImageList.Find(key);
  ASSERT_NE(item, nullptr) << key;
  item->TileWidth = width;
  item->TileHeight = height;
}

void RaceFixture::SetPath(const std::vector<game::TPathPoint>& points) {
  World.PathPoints = points;
  World.PathCount = static_cast<int32_t>(points.size());
  World.TaggedPathCount = 0;
  for (const game::TPathPoint& p : points) {
    if (p.Tag > 0) ++World.TaggedPathCount;
  }
  World.PathDistance = game::BuildPathDistance(points);
}

game::TPlayer& RaceFixture::MakePlayer(double x, double y, int32_t carType, double heading) {
  World.Player = Engine.Create<game::TPlayer>(World, x, y, carType, "player", heading);
  return *World.Player;
}

game::TEnemyCar& RaceFixture::MakeEnemy(double x, double y, int32_t carType, double heading) {
  const int32_t index = World.EnemyCount;
  auto* enemy = Engine.Create<game::TEnemyCar>(World, x, y, carType, "enemy", index, heading);
  World.Enemies[static_cast<size_t>(index)] = enemy;
  return *enemy;
}

std::string RaceFixture::PutTrack(const std::string& name, const std::vector<TRecord>& records,
                                  size_t extra) {
  WriteTrack((fs::path(Dir) / "Data" / name).string(), records, extra);
  return "Data\\" + name;
}

void RaceFixture::SelectTrack(const std::string& gamePath, int32_t opponents, int32_t laps) {
  Catalogue.SelectedTrack = 0;
  Catalogue.TrackInfo[0].DataFile = gamePath;
  Catalogue.TrackInfo[0].Opponents = opponents;
  Catalogue.TrackInfo[0].Laps = laps;
}

std::vector<std::vector<vexel::TVertex>> RaceFixture::QuadsOf(const std::string& key) const {
  const vexel::TImageListItem* item = Images.ImageList.Find(key);
  std::vector<std::vector<vexel::TVertex>> quads;
  if (!item || !item->Texture) return quads;
  const vexel::TTexture* current = nullptr;
  for (const vexel::TDeviceCall& call : Device->Calls) {
    if (call.Kind == vexel::TDeviceCall::TKind::Texture) current = call.Texture;
    if (call.Kind == vexel::TDeviceCall::TKind::Draw && current == item->Texture.get()) {
      quads.push_back(call.Vertices);
    }
  }
  return quads;
}

void RaceFixture::Frame() {
  Engine.ClearDead();
  Engine.Move(0);
  game::TrackPathPoints(World);
}

}  // namespace racetest
