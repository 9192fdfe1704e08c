// Damaged JPEG data is refused: scan data cut out with the end marker kept,
// and headers that claim far more pixels than the data can describe.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "pictures/jpeg_io.h"
#include "test_util.h"

namespace vk {
namespace {

std::vector<std::uint8_t> NoiseJpeg(int w, int h) {
  Bitmap24 pattern = test::Filled(w, h, 0, 0, 0);
  std::uint32_t x = 12345;
  for (auto& b : pattern.bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 24);
  }
  return EncodeJpeg(pattern, 90);
}

// Offset of the first SOFn marker's segment (after FF Cn).
std::size_t FrameHeader(const std::vector<std::uint8_t>& d) {
  for (std::size_t i = 2; i + 9 < d.size(); ++i)
    if (d[i] == 0xFF && d[i + 1] >= 0xC0 && d[i + 1] <= 0xC2) return i + 2;
  return 0;
}

long PeakKb() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

TEST(JpegDamage, TheUndamagedDataDecode) {
  Bitmap24 img;
  EXPECT_TRUE(DecodeJpeg(NoiseJpeg(256, 256).data(), NoiseJpeg(256, 256).size(), img));
  EXPECT_EQ(img.width, 256);
}

TEST(JpegDamage, ScanDataCutOutWithTheEndMarkerKept) {
  const std::vector<std::uint8_t> good = NoiseJpeg(256, 256);
  const std::size_t sof = FrameHeader(good);
  ASSERT_GT(sof, 0u);
  for (const double kept : {1.0 / 3, 0.9, 0.99}) {
    // Keep the headers and the first part of the scan, cut the rest, keep FF D9.
    const std::size_t head = 700, cut_from = head + static_cast<std::size_t>((good.size() - head - 2) * kept);
    std::vector<std::uint8_t> bad(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut_from));
    bad.push_back(0xFF);
    bad.push_back(0xD9);
    Bitmap24 img = test::Filled(4, 4, 1, 2, 3);
    EXPECT_FALSE(DecodeJpeg(bad.data(), bad.size(), img)) << "kept " << kept;
    EXPECT_TRUE(img.empty());
  }
}

TEST(JpegDamage, CorruptBytesInTheScan) {
  std::vector<std::uint8_t> bad = NoiseJpeg(128, 128);
  // A marker in the middle of the entropy-coded data.
  bad[bad.size() / 2] = 0xFF;
  bad[bad.size() / 2 + 1] = 0xD3;
  Bitmap24 img;
  EXPECT_FALSE(DecodeJpeg(bad.data(), bad.size(), img));
}

TEST(JpegDamage, AHeaderClaimingFarMoreThanTheDataHoldIsRefused) {
  std::vector<std::uint8_t> data = NoiseJpeg(256, 256);
  const std::size_t sof = FrameHeader(data);
  ASSERT_GT(sof, 0u);
  // Length (2 bytes), precision (1), height (2), width (2): 20000 x 20000.
  for (const int at : {3, 5}) {
    data[sof + static_cast<std::size_t>(at)] = 20000 >> 8;
    data[sof + static_cast<std::size_t>(at) + 1] = 20000 & 0xFF;
  }
  const long before_kb = PeakKb();
  Bitmap24 img = test::Filled(4, 4, 1, 2, 3);
  EXPECT_FALSE(DecodeJpeg(data.data(), data.size(), img));
  EXPECT_TRUE(img.empty());
  EXPECT_LT(PeakKb() - before_kb, 200000) << "the claimed 1.2 GB picture must not be allocated";
}

}  // namespace
}  // namespace vk
