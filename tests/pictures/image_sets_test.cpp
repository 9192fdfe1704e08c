// The shipped picture sets, read from the program's resources: counts and
// sizes, masks, and for every phase picture that it is lit on the side and by
// the share its index says.
#include "pictures/image_list.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <sstream>

#include "base/error.h"

namespace vk {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(ImageSets, CountsAndSizes) {
  EXPECT_EQ(ImageList_MOO().count(), 36);
  EXPECT_EQ(ImageList_MOO().width(), 96);
  EXPECT_EQ(ImageList_MOO().height(), 96);
  EXPECT_EQ(ImageList_MER().count(), 36);
  EXPECT_EQ(ImageList_MER().width(), 40);
  EXPECT_EQ(ImageList_VEN().count(), 37);
  EXPECT_EQ(ImageList_VEN().width(), 48);
  EXPECT_EQ(ImageList1().count(), 7);
  EXPECT_EQ(ImageList1().width(), 64);
  EXPECT_EQ(ProgramEmblem().size(), QSize(64, 64));
}

TEST(ImageSets, TheEmblemHasTransparentCornersAndAnOpaqueMiddle) {
  const QImage& e = ProgramEmblem();
  EXPECT_EQ(qAlpha(e.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(e.pixel(63, 63)), 0);
  EXPECT_EQ(qAlpha(e.pixel(32, 32)), 255);
  EXPECT_EQ(qAlpha(e.pixel(32, 0)), 255);
}

// Every picture of a phase list: the mask is the disc, centred and filling
// the square, and exactly the pixels that are not black. The tools' pictures
// (from `first_tool` on) are at least as bright as their brightening by 20.
void CheckDiscMask(const ImageList& list, int first_tool, const char* name) {
  const int n = list.width();
  const double r = n / 2.0;
  for (int i = 0; i < list.count(); ++i) {
    const QImage img = list.image(i);
    const QImage mask = list.mask(i);
    int area = 0, misplaced = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        const bool set = qGray(mask.pixel(x, y)) != 0;
        const QRgb c = img.pixel(x, y);
        const bool black = qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0;
        ASSERT_EQ(set, !black) << name << "[" << i << "] pixel (" << x << ", " << y << "): mask and colour disagree";
        area += set;
        const double dx = x + 0.5 - r, dy = y + 0.5 - r;
        const double d = std::sqrt(dx * dx + dy * dy);
        if ((d < r - 1.5 && !set) || (d > r + 0.5 && set)) ++misplaced;
        if (set && i >= first_tool) {
          EXPECT_GE(std::max({qRed(c), qGreen(c), qBlue(c)}), 17) << name << "[" << i << "] (" << x << ", " << y
                                                                     << ") is darker than the brightening allows";
        }
      }
    EXPECT_NEAR(area, kPi * r * r, 0.03 * kPi * r * r) << name << "[" << i << "]: disc area " << area;
    EXPECT_EQ(misplaced, 0) << name << "[" << i << "]: pixels off the disc";
  }
}

TEST(ImageSets, PhasePicturesAreDiscsWithTheirMasks) {
  CheckDiscMask(ImageList_MOO(), 0, "ImageList_MOO");
  CheckDiscMask(ImageList_MER(), 0, "ImageList_MER");
  CheckDiscMask(ImageList_VEN(), 1, "ImageList_VEN");
}

// What the geometry of picture k says, and what the picture shows.
struct PhaseMeasure {
  double expected_share = 0;     // lit part of the disc's pixels
  double expected_centroid = 0;  // x of the lit pixels' centroid, in disc radii (+ right)
  double share = 0;
  double centroid = 0;
  double right = 0;  // lit pixels right of the centre minus left of it, share of the disc
};

// A pixel counts as lit when its brightest byte exceeds the unlit part's
// earthshine grey (15 % of 255 at most, plus the tools' 20: 58) by more than
// 3 (JPEG noise on the dark side stays below that).
constexpr int kLitAbove = 61;

PhaseMeasure Measure(const QImage& img, const QImage& mask, int k) {
  const int n = img.width();
  const double r = n / 2.0;
  const double phi = 10.0 * k * kPi / 180.0;
  const double sx = std::sin(phi), sz = -std::cos(phi);  // towards the Sun
  PhaseMeasure m;
  int disc = 0, lit = 0, geo = 0;
  double lit_x = 0, geo_x = 0;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      if (qGray(mask.pixel(x, y)) == 0) continue;
      ++disc;
      const double X = (x + 0.5 - r) / r, Y = (r - y - 0.5) / r;
      const double Z = std::sqrt(std::max(0.0, 1 - X * X - Y * Y));
      if (X * sx + Z * sz > 0) {
        ++geo;
        geo_x += X;
      }
      const QRgb c = img.pixel(x, y);
      if (std::max({qRed(c), qGreen(c), qBlue(c)}) > kLitAbove) {
        ++lit;
        lit_x += X;
        m.right += X > 0 ? 1 : -1;
      }
    }
  m.expected_share = static_cast<double>(geo) / disc;
  m.expected_centroid = geo > 0 ? geo_x / geo : 0;
  m.share = static_cast<double>(lit) / disc;
  m.centroid = lit > 0 ? lit_x / lit : 0;
  m.right /= disc;
  return m;
}

std::string Describe(const char* name, int index, int k, const PhaseMeasure& m) {
  std::ostringstream out;
  out.precision(3);
  out << name << "[" << index << "] (phase picture " << k << ", phase angle " << std::abs(180 - 10 * k)
      << " deg): lit share " << m.share << ", geometry says " << m.expected_share << " (off by "
      << m.share - m.expected_share << "); lit centroid x " << m.centroid << " radii, geometry says "
      << m.expected_centroid << " (off by " << m.centroid - m.expected_centroid << ")";
  return out.str();
}

// Tolerances: the terminator is soft and the limb of a thin crescent is
// only a pixel or two wide, so the share may fall short by a few per cent and
// the centroid move by a tenth of the radius.
void CheckPhases(const ImageList& list, int first, const char* name) {
  for (int index = first; index < list.count(); ++index) {
    const int k = index - first;
    const PhaseMeasure m = Measure(list.image(index), list.mask(index), k);
    const std::string what = Describe(name, index, k, m);
    EXPECT_NEAR(m.share, m.expected_share, 0.05) << what;
    if (m.expected_share > 0.03) {
      EXPECT_NEAR(m.centroid, m.expected_centroid, 0.10) << what;
    }
    if (k == 0) {
      EXPECT_LT(m.share, 0.005) << what << ": picture 0 must be unlit";
    } else if (k == 18) {
      EXPECT_GT(m.share, 0.97) << what << ": picture 18 must be full";
    } else if (k < 18) {
      EXPECT_GT(m.right, 0.0) << what << ": must be lit on the right-hand limb";
    } else {
      EXPECT_LT(m.right, 0.0) << what << ": must be lit on the left-hand limb";
    }
  }
}

TEST(ImageSets, MoonPhasesAreLitOnTheRightSideByTheRightShare) { CheckPhases(ImageList_MOO(), 0, "ImageList_MOO"); }
TEST(ImageSets, MercuryPhasesAreLitOnTheRightSideByTheRightShare) {
  CheckPhases(ImageList_MER(), 0, "ImageList_MER");
}
TEST(ImageSets, VenusPhasesAreLitOnTheRightSideByTheRightShare) { CheckPhases(ImageList_VEN(), 1, "ImageList_VEN"); }

TEST(ImageSets, WaxingAndWaningPicturesMirrorEachOther) {
  // Pictures k and 36 - k show the same phase angle on opposite limbs.
  for (int k = 1; k < 18; ++k) {
    const PhaseMeasure a = Measure(ImageList_MOO().image(k), ImageList_MOO().mask(k), k);
    const PhaseMeasure b = Measure(ImageList_MOO().image(36 - k), ImageList_MOO().mask(36 - k), 36 - k);
    EXPECT_NEAR(a.share, b.share, 0.03) << "Moon pictures " << k << " and " << 36 - k;
    EXPECT_NEAR(a.centroid, -b.centroid, 0.05) << "Moon pictures " << k << " and " << 36 - k;
  }
}

TEST(ImageSets, VenusCloudPictureIsAFullDiscInColour) {
  const QImage img = ImageList_VEN().image(0);
  const PhaseMeasure m = Measure(img, ImageList_VEN().mask(0), 18);
  EXPECT_GT(m.share, 0.97) << "the cloud picture is fully lit";
  double saturation = 0;
  int n = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      const QColor c = QColor(img.pixel(x, y));
      if (c.value() < 60) continue;
      saturation += c.hsvSaturationF();
      ++n;
    }
  EXPECT_GT(saturation / n, 0.15) << "mean saturation of the cloud picture";
  EXPECT_NE(img, ImageList_VEN().image(19)) << "index 0 is not the full phase";
}

// Mean colour of the masked pixels.
QColor MeanColour(const ImageList& list, int i) {
  const QImage img = list.image(i), mask = list.mask(i);
  double r = 0, g = 0, b = 0;
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      if (qGray(mask.pixel(x, y)) == 0) continue;
      r += qRed(img.pixel(x, y));
      g += qGreen(img.pixel(x, y));
      b += qBlue(img.pixel(x, y));
      ++n;
    }
  return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

QRect MaskBounds(const ImageList& list, int i) {
  const QImage mask = list.mask(i);
  QRect box;
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x)
      if (qGray(mask.pixel(x, y)) != 0) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(ImageSets, PlanetPictures) {
  const ImageList& p = ImageList1();
  for (int i = 0; i < 7; ++i) {
    const QRect box = MaskBounds(p, i);
    EXPECT_GT(box.width(), 30) << "planet " << i;
    EXPECT_NEAR(box.center().x(), 31.5, 1.5) << "planet " << i << " centred";
    EXPECT_NEAR(box.center().y(), 31.5, 1.5) << "planet " << i << " centred";
  }
  const QRect saturn = MaskBounds(p, 4);
  EXPECT_GT(saturn.width(), 1.8 * saturn.height()) << "Saturn with its rings";
  const QColor mars = MeanColour(p, 2), uranus = MeanColour(p, 5), neptune = MeanColour(p, 6);
  EXPECT_GT(mars.red(), 1.5 * mars.blue()) << "Mars is red";
  EXPECT_GT(uranus.blue(), uranus.red()) << "Uranus is cyan";
  EXPECT_GT(neptune.blue(), 1.5 * neptune.red()) << "Neptune is blue";
  // Jupiter's bands: the mean brightness of its rows across the middle
  // changes by more than 15 % between belts and zones.
  const QImage jupiter = p.image(3);
  double lo = 1e9, hi = 0;
  for (int y = 20; y < 44; ++y) {
    double sum = 0;
    for (int x = 26; x < 38; ++x) sum += qGray(jupiter.pixel(x, y));
    lo = std::min(lo, sum);
    hi = std::max(hi, sum);
  }
  EXPECT_GT(hi, 1.15 * lo) << "Jupiter shows bands";
}

// --- Drawing ---------------------------------------------------------------

TEST(ImageListDraw, TransparentStyleKeepsTheBackgroundOutsideTheMask) {
  QImage canvas(200, 200, QImage::Format_RGB32);
  canvas.fill(QColor(200, 0, 0));
  QPainter painter(&canvas);
  EXPECT_TRUE(ImageList_MOO().draw(painter, 10, 20, 18, ImageDrawStyle::Transparent));
  painter.end();
  EXPECT_EQ(canvas.pixel(10, 20), qRgb(200, 0, 0)) << "corner of the square: background";
  EXPECT_EQ(canvas.pixel(10 + 48, 20 + 48), ImageList_MOO().image(18).pixel(48, 48)) << "centre: picture";
  EXPECT_EQ(canvas.pixel(9, 20 + 48), qRgb(200, 0, 0)) << "left of the square untouched";
}

TEST(ImageListDraw, NormalStyleDrawsTheWholeSquare) {
  QImage canvas(100, 100, QImage::Format_RGB32);
  canvas.fill(QColor(200, 0, 0));
  QPainter painter(&canvas);
  EXPECT_TRUE(ImageList1().draw(painter, 0, 0, 3, ImageDrawStyle::Normal));
  painter.end();
  EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0)) << "the black background is drawn";
  EXPECT_EQ(canvas.pixel(32, 32), ImageList1().image(3).pixel(32, 32));
  EXPECT_EQ(canvas.pixel(64, 64), qRgb(200, 0, 0));
}

TEST(ImageListDraw, AnIndexOutsideTheListDrawsNothing) {
  QImage canvas(100, 100, QImage::Format_RGB32);
  canvas.fill(QColor(1, 2, 3));
  QPainter painter(&canvas);
  EXPECT_FALSE(ImageList_VEN().draw(painter, 0, 0, 37));
  EXPECT_FALSE(ImageList_VEN().draw(painter, 0, 0, -1));
  painter.end();
  EXPECT_EQ(canvas.pixel(24, 24), qRgb(1, 2, 3));
  EXPECT_TRUE(ImageList_VEN().image(37).isNull());
}

TEST(ImageListDraw, AStripMustMatchItsMask) {
  const QImage strip(80, 40, QImage::Format_RGB32);
  EXPECT_THROW(ImageList(strip, QImage(80, 41, QImage::Format_Grayscale8), 40), Error);
  EXPECT_THROW(ImageList(strip, QImage(80, 40, QImage::Format_Grayscale8), 30), Error);
  const ImageList two(strip, QImage(80, 40, QImage::Format_Grayscale8), 40);
  EXPECT_EQ(two.count(), 2);
  EXPECT_THROW(ImageList::Load(":/pictures/none.png", ":/pictures/none_mask.png", 40), Error);
}

}  // namespace
}  // namespace vk
