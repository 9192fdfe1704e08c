#include "pictures/stretch.h"

#include <gtest/gtest.h>

#include "test_util.h"
#include "base/error.h"

namespace vk {
namespace {

using test::GreyBitmap;
using test::Greys;

Bitmap24 Stretch(const Bitmap24& src, PixelRect from, int w, int h, StretchMode mode) {
  Bitmap24 dst;
  dst.reset(w, h);
  StretchCopy(src, from, dst, PixelRect{0, 0, w, h}, mode);
  return dst;
}

PixelRect All(const Bitmap24& b) { return {0, 0, b.width, b.height}; }

// --- Halftone: every target pixel is the mean of the source area it covers.

TEST(Halftone, HalvingAveragesEachTwoByTwoBlock) {
  const Bitmap24 src = GreyBitmap(4, 4, {10, 20, 100, 101,   //
                                         30, 40, 102, 102,   //
                                         0, 0, 255, 255,     //
                                         0, 1, 255, 254});
  // 25; 101.25 -> 101; 0.25 -> 0; 254.75 -> 255.
  EXPECT_EQ(Greys(Stretch(src, All(src), 2, 2, StretchMode::Halftone)), (std::vector<int>{25, 101, 0, 255}));
}

TEST(Halftone, HalvesRoundUp) {
  const Bitmap24 src = GreyBitmap(2, 1, {10, 11});
  EXPECT_EQ(Greys(Stretch(src, All(src), 1, 1, StretchMode::Halftone)), (std::vector<int>{11}));
}

TEST(Halftone, ThreeToTwoWeighsByCoveredArea) {
  // Target pixel 0 covers source [0, 1.5): (2 * 30 + 90) / 3 = 50;
  // pixel 1 covers [1.5, 3): (90 + 2 * 150) / 3 = 130.
  const Bitmap24 src = GreyBitmap(3, 1, {30, 90, 150});
  EXPECT_EQ(Greys(Stretch(src, All(src), 2, 1, StretchMode::Halftone)), (std::vector<int>{50, 130}));
}

TEST(Halftone, EnlargingByTwoRepeatsPixels) {
  const Bitmap24 src = GreyBitmap(2, 1, {7, 200});
  EXPECT_EQ(Greys(Stretch(src, All(src), 4, 1, StretchMode::Halftone)), (std::vector<int>{7, 7, 200, 200}));
}

TEST(Halftone, SlightEnlargingBlendsNeighbours) {
  // Like the tools' 3976 -> 4000, in small: 5 -> 6. Target pixel 2 covers
  // source [10/6, 15/6): 1/3 of pixel 1 and 1/2 of pixel 2, out of 5/6:
  // (0 * 2 + 60 * 3) / 5 = 36.
  const Bitmap24 src = GreyBitmap(5, 1, {0, 0, 60, 60, 60});
  EXPECT_EQ(Greys(Stretch(src, All(src), 6, 1, StretchMode::Halftone)), (std::vector<int>{0, 0, 36, 60, 60, 60}));
}

TEST(Halftone, ChannelsStayApart) {
  const Bitmap24 src = test::Filled(3, 3, 10, 20, 30);
  const Bitmap24 out = Stretch(src, All(src), 2, 2, StretchMode::Halftone);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(out.bytes[3 * i], 10);
    EXPECT_EQ(out.bytes[3 * i + 1], 20);
    EXPECT_EQ(out.bytes[3 * i + 2], 30);
  }
}

TEST(Halftone, SourceOutsideThePictureCountsAsBlack) {
  const Bitmap24 src = GreyBitmap(2, 2, {100, 100, 100, 100});
  // The rectangle (-2, 0)-(2, 2) is half outside: left target pixel black.
  EXPECT_EQ(Greys(Stretch(src, PixelRect{-2, 0, 2, 2}, 2, 1, StretchMode::Halftone)), (std::vector<int>{0, 100}));
}

TEST(Halftone, TheToolsSquareOfAUniformPictureStaysUniform) {
  const Bitmap24 src = test::Filled(4096, 8, 77, 77, 77);
  Bitmap24 dst;
  dst.reset(4000, 1);
  StretchCopy(src, PixelRect{60, 0, 4036, 4}, dst, PixelRect{0, 0, 4000, 1}, StretchMode::Halftone);
  for (int x = 0; x < 4000; ++x) ASSERT_EQ(dst.pixel(x, 0)[1], 77) << "column " << x;
}

// --- Colour-on-colour: every target pixel is one source pixel.

TEST(ColorOnColor, HalvingKeepsEverySecondRowAndColumn) {
  const Bitmap24 src = GreyBitmap(4, 4, {1, 2, 3, 4,      //
                                         5, 6, 7, 8,      //
                                         9, 10, 11, 12,   //
                                         13, 14, 15, 16});
  // The pixel under each target pixel's centre: columns and rows 1 and 3.
  EXPECT_EQ(Greys(Stretch(src, All(src), 2, 2, StretchMode::ColorOnColor)), (std::vector<int>{6, 8, 14, 16}));
}

TEST(ColorOnColor, DropsRatherThanAverages) {
  const Bitmap24 src = GreyBitmap(6, 1, {0, 90, 0, 0, 200, 0});
  // Columns floor((2u + 1) * 6 / 4) = 1 and 4.
  EXPECT_EQ(Greys(Stretch(src, All(src), 2, 1, StretchMode::ColorOnColor)), (std::vector<int>{90, 200}));
}

TEST(ColorOnColor, EnlargingRepeats) {
  const Bitmap24 src = GreyBitmap(2, 2, {1, 2, 3, 4});
  EXPECT_EQ(Greys(Stretch(src, All(src), 4, 2, StretchMode::ColorOnColor)),
            (std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4}));
}

TEST(ColorOnColor, ToolReductionSamplesSymmetrically) {
  // 4000 -> 96 keeps columns 20, 62, ... 3937, 3979: mirror images of each
  // other, so a disc stays centred.
  Bitmap24 src;
  src.reset(4000, 1);
  for (int x = 0; x < 4000; ++x) src.pixel(x, 0)[0] = static_cast<std::uint8_t>(x == 20 || x == 3979 ? 255 : 0);
  const Bitmap24 out = Stretch(src, All(src), 96, 1, StretchMode::ColorOnColor);
  EXPECT_EQ(out.pixel(0, 0)[0], 255);
  EXPECT_EQ(out.pixel(95, 0)[0], 255);
  for (int x = 1; x < 95; ++x) EXPECT_EQ(out.pixel(x, 0)[0], 0) << "column " << x;
}

// --- Both modes.

TEST(StretchCopy, LeavesTargetPixelsOutsideTheRectangle) {
  const Bitmap24 src = GreyBitmap(1, 1, {50});
  Bitmap24 dst = GreyBitmap(3, 1, {9, 9, 9});
  StretchCopy(src, All(src), dst, PixelRect{1, 0, 2, 1}, StretchMode::ColorOnColor);
  EXPECT_EQ(Greys(dst), (std::vector<int>{9, 50, 9}));
}

TEST(StretchCopy, BadRectanglesRaiseARangeError) {
  const Bitmap24 src = GreyBitmap(2, 2, {1, 2, 3, 4});
  Bitmap24 dst = GreyBitmap(2, 2, {9, 9, 9, 9});
  for (StretchMode mode : {StretchMode::Halftone, StretchMode::ColorOnColor}) {
    EXPECT_THROW(StretchCopy(src, PixelRect{0, 0, 0, 2}, dst, All(dst), mode), Error);
    EXPECT_THROW(StretchCopy(src, All(src), dst, PixelRect{0, 0, 3, 2}, mode), Error);
    EXPECT_THROW(StretchCopy(src, All(src), dst, PixelRect{-1, 0, 1, 2}, mode), Error);
    EXPECT_THROW(StretchCopy(src, PixelRect{2, 0, 0, 2}, dst, All(dst), mode), Error);
  }
  EXPECT_EQ(Greys(dst), (std::vector<int>{9, 9, 9, 9}));
  try {
    StretchCopy(src, All(src), dst, PixelRect{0, 0, 3, 3}, StretchMode::Halftone);
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kRangeCheckError);
  }
}

}  // namespace
}  // namespace vk
