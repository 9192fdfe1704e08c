// The unlit part of every phase picture is a faint grey, never black: the
// disc stays visible on the dark chart at new Moon and inferior conjunction.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>

#include "pictures/image_list.h"

namespace vk {
namespace {

struct PhaseSet {
  const char* name;
  const ImageList& (*list)();
  int first;  // first phase picture
};

TEST(Earthshine, EveryDiscPixelIsAtLeast35OnEveryChannel) {
  for (const PhaseSet& set : {PhaseSet{"ImageList_MOO", &ImageList_MOO, 0}, PhaseSet{"ImageList_MER", &ImageList_MER, 0},
                              PhaseSet{"ImageList_VEN", &ImageList_VEN, 1}}) {
    const ImageList& list = set.list();
    for (int i = set.first; i < list.count(); ++i) {
      const QImage img = list.image(i);
      const QImage mask = list.mask(i);
      int disc = 0, dark = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
          if (qGray(mask.pixel(x, y)) == 0) continue;
          ++disc;
          const QRgb c = img.pixel(x, y);
          dark += std::min({qRed(c), qGreen(c), qBlue(c)}) < 35 ? 1 : 0;
        }
      EXPECT_GT(disc, img.width() * img.height() / 2) << set.name << "[" << i << "]";
      EXPECT_EQ(dark, 0) << set.name << "[" << i << "]: " << dark << " of " << disc << " disc pixels darker than 35";
    }
  }
}

}  // namespace
}  // namespace vk
