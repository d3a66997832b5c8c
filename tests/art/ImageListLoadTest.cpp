// The packed image lists, loaded by the engine, hold every generated picture under its key,
// in list order, with its cell size.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "PackFile.h"
#include "engine/VexelImageListCollection.h"

namespace arttest {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ListFile {
  const char* Name;
  const char* Oil;
  const char* Pack;
  int Count;
};

class EngineLoad : public ::testing::TestWithParam<ListFile> {};

TEST_P(EngineLoad, HoldsThePicturesInOrder) {
  const auto entries = ReadPackFile(std::string(ART_BUILD_DIR) + "/" + GetParam().Pack);
  ASSERT_EQ(static_cast<int>(entries.size()), GetParam().Count);
  vexel::TImageListCollection list;
  ASSERT_TRUE(list.LoadFromFile((fs::path(CLD_DATA_DIR) / "Data" / GetParam().Oil).string()))
      << list.LoadError();
  ASSERT_EQ(list.Count(), GetParam().Count);
  for (int i = 0; i < list.Count(); ++i) {
    const vexel::TImageListItem& item = *list.Items(i);
    const PackEntry& e = entries[static_cast<std::size_t>(i)];
    SCOPED_TRACE(e.Key);
    EXPECT_EQ(item.Name, e.Key);
    EXPECT_EQ(list.Find(e.Key), &item);
    EXPECT_EQ(item.TileWidth, e.TileWidth);
    EXPECT_EQ(item.TileHeight, e.TileHeight);
    EXPECT_EQ(item.Picture.Kind, vexel::TPicture::TKind::Png);
    EXPECT_TRUE(item.Picture.Data == ReadBytes(e.Picture));
  }
}

INSTANTIATE_TEST_SUITE_P(Lists, EngineLoad,
                         ::testing::Values(ListFile{"Menu", "data1.oil", "data1.pack", 84},
                                           ListFile{"Race", "data2.oil", "data2.pack", 52}),
                         [](const auto& p) { return std::string(p.param.Name); });

}  // namespace
}  // namespace arttest
