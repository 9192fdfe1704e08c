// The phase pictures as seen from the site: south of the equator mirrored
// left to right, on the equator and north of it as drawn.
#include <gtest/gtest.h>

#include <QImage>

#include "chart/day_chart.h"
#include "support/chart_fixtures.h"

namespace vk {
namespace {

using test::Local;

constexpr double kJan1 = 2459580.5;  // 2022-01-01 00:00

struct PictureCase {
  const char* body;  // name in the event table
  int chart;         // entry of Body_Charts
  const ImageList& (*list)();
  int index;         // picture index (the phase table's value)
};

// Pixels of the disc that differ from picture `index`, read straight or mirrored.
int Differences(const QImage& chart, int left, int top, const ImageList& list, int index, bool mirrored) {
  const QImage picture = list.image(index);
  const QImage mask = list.mask(index);
  const int n = list.width();
  int differ = 0;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const int sx = mirrored ? n - 1 - x : x;
      if (qGray(mask.pixel(sx, y)) == 0) continue;
      differ += chart.pixel(left + x, top + y) != picture.pixel(sx, y) ? 1 : 0;
    }
  return differ;
}

TEST(SouthernView, PhasePicturesMirroredSouthOfTheEquator) {
  const PictureCase kPictures[] = {{"Mond", 0, &ImageList_MOO, 5},
                                   {"Merkur", 1, &ImageList_MER, 7},
                                   {"Venus", 2, &ImageList_VEN, 30}};
  const struct {
    double lat;
    bool mirrored;
  } kSites[] = {{47.5, false}, {0.0, false}, {-0.01, true}, {-33.87, true}, {-89.0, true}};
  for (const PictureCase& pc : kPictures) {
    test::StoreBuilder b;
    b.add(Local(2022, 1, 1, 10, 0), pc.body, "Aufgang");
    b.add(Local(2022, 1, 1, 20, 0), pc.body, "Untergang");
    const PhaseTable phases = test::Phases(kJan1, 3, pc.index, pc.index, pc.index);
    for (const auto& site : kSites) {
      DayChart chart;
      chart.Sel_JD = kJan1;
      chart.Site_nLat = site.lat;
      chart.Pictures = ShippedChartPictures();
      ASSERT_TRUE(Render_Day_Chart(chart, b.store, phases));
      const tBodyChart& body = Body_Charts[static_cast<std::size_t>(pc.chart)];
      const int top = test::Row(10, 0) - body.picture_offset;
      const ImageList& list = pc.list();
      EXPECT_EQ(Differences(chart.Img, body.picture_x, top, list, pc.index, site.mirrored), 0)
          << pc.body << " at " << site.lat;
      EXPECT_GT(Differences(chart.Img, body.picture_x, top, list, pc.index, !site.mirrored), 0)
          << pc.body << " at " << site.lat;
    }
  }
}

TEST(SouthernView, PlanetPicturesNeverMirrored) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 10, 0), "Saturn", "Aufgang");
  b.add(Local(2022, 1, 1, 20, 0), "Saturn", "Untergang");
  DayChart chart;
  chart.Sel_JD = kJan1;
  chart.Site_nLat = -33.87;
  chart.Pictures = ShippedChartPictures();
  ASSERT_TRUE(Render_Day_Chart(chart, b.store, {}));
  const tBodyChart& saturn = Body_Charts[5];
  const int top = test::Row(10, 0) - saturn.picture_offset;
  EXPECT_EQ(Differences(chart.Img, saturn.picture_x, top, ImageList1(), 4, false), 0);
}

}  // namespace
}  // namespace vk
