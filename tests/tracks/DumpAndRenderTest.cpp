// Listing track records, and drawing overview pictures of tracks.

#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TrackDump.h"
#include "TrackModel.h"
#include "TrackRender.h"
#include "TrackTestSupport.h"

namespace {

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

TEST(TrackDump, ListsEveryRecordWithKindNameAndFields) {
  const std::string text = tracktool::DumpRecords({{80, 708, 105, 0, 0},
                                                   {400, 1200, 101, 0, 2},
                                                   {-400, 1200, 0, 2, 15},
                                                   {0, 1120, 13, 0, 0},
                                                   {5, 6, 42, -1, 7}});
  EXPECT_EQ(text,
            "# index kind x y paramA paramB\n"
            "0 finish 708 80 0 0\n"
            "1 checkpoint 1200 400 0 2\n"
            "2 path 1200 -400 2 15\n"
            "3 corner-13 1120 0 0 0\n"
            "4 unknown-42 6 5 -1 7\n");
}

TEST(TrackDump, NoRecordsGiveOnlyTheHeader) {
  EXPECT_EQ(tracktool::DumpRecords({}), "# index kind x y paramA paramB\n");
}

/// Alpha of one pixel of an ARGB32 image.
int AlphaAt(cairo_surface_t* s, int x, int y) {
  const unsigned char* row =
      cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
  return row[x * 4 + 3];
}

class TrackRenderTest : public ::testing::Test {
 protected:
  SurfacePtr Render(const tracktool::TRenderOptions& options) {
    const std::string file = tracktest::TempFolder("render") + "/overview.png";
    const tracktool::TTrackModel model =
        tracktool::BuildTrackModel(tracktest::SmallTrack(), tracktest::Sizes());
    std::string error;
    EXPECT_TRUE(tracktool::RenderOverview(model, tracktest::Sizes(), options, file, error))
        << error;
    SurfacePtr picture(cairo_image_surface_create_from_png(file.c_str()), &cairo_surface_destroy);
    EXPECT_EQ(cairo_surface_status(picture.get()), CAIRO_STATUS_SUCCESS);
    cairo_surface_flush(picture.get());
    return picture;
  }
};

TEST_F(TrackRenderTest, PreviewHasTheAskedSizeAndADarkPanelWithTheRoadInside) {
  tracktool::TRenderOptions options;
  const SurfacePtr picture = Render(options);
  EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 200);
  EXPECT_EQ(cairo_image_surface_get_height(picture.get()), 150);
  EXPECT_EQ(AlphaAt(picture.get(), 100, 75), 255) << "panel behind the infield";
  EXPECT_EQ(AlphaAt(picture.get(), 0, 0), 0) << "rounded panel corner";
}

TEST_F(TrackRenderTest, TransparentPictureShowsOnlyTheTrack) {
  tracktool::TRenderOptions options;
  options.Width = 296;
  options.Height = 256;
  options.Transparent = true;
  const SurfacePtr picture = Render(options);
  EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 296);
  EXPECT_EQ(AlphaAt(picture.get(), 148, 128), 0) << "infield left clear";
  int opaque = 0;
  for (int x = 0; x < 296; ++x) opaque += AlphaAt(picture.get(), x, 128) == 255 ? 1 : 0;
  EXPECT_GT(opaque, 10) << "road crosses the middle row";
}

TEST(TrackRender, UnwritableFileGivesAReason) {
  const tracktool::TTrackModel model =
      tracktool::BuildTrackModel(tracktest::SmallTrack(), tracktest::Sizes());
  std::string error;
  EXPECT_FALSE(
      tracktool::RenderOverview(model, tracktest::Sizes(), {}, "/nonexistent/x.png", error));
  EXPECT_NE(error.find("/nonexistent/x.png"), std::string::npos);
}

}  // namespace
