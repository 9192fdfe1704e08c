#include "pictures/phase_tools.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "pictures/bmp_io.h"
#include "pictures/jpeg_io.h"
#include "test_util.h"
#include "base/error.h"

namespace vk {
namespace {

// --- File names ------------------------------------------------------------

TEST(PhaseNames, LastDigitsKeepsTheLastCharacters) {
  EXPECT_EQ(LastDigits(0, 2), "00");
  EXPECT_EQ(LastDigits(7, 2), "07");
  EXPECT_EQ(LastDigits(35, 2), "35");
  EXPECT_EQ(LastDigits(0, 3), "000");
  EXPECT_EQ(LastDigits(70, 3), "070");
  EXPECT_EQ(LastDigits(350, 3), "350");
  EXPECT_EQ(LastDigits(123, 2), "23");
}

TEST(PhaseNames, Picture7) {
  EXPECT_EQ(PhaseSourceName(PhaseBody::Moon, 7), "moon_070.jpg");
  EXPECT_EQ(PhaseOutputName(PhaseBody::Moon, 7), "Mond_07.bmp");
  EXPECT_EQ(PhaseSourceName(PhaseBody::Venus, 7), "Venus_0107.jpg");
  EXPECT_EQ(PhaseOutputName(PhaseBody::Venus, 7), "Venus_07.bmp");
  EXPECT_EQ(PhaseSourceName(PhaseBody::Mercury, 7), "Merkur_0107.jpg");
  EXPECT_EQ(PhaseOutputName(PhaseBody::Mercury, 7), "Merkur_07.bmp");
}

TEST(PhaseNames, Picture35) {
  EXPECT_EQ(PhaseSourceName(PhaseBody::Moon, 35), "moon_350.jpg");
  EXPECT_EQ(PhaseOutputName(PhaseBody::Moon, 35), "Mond_35.bmp");
  EXPECT_EQ(PhaseSourceName(PhaseBody::Venus, 35), "Venus_0135.jpg");
  EXPECT_EQ(PhaseOutputName(PhaseBody::Venus, 35), "Venus_35.bmp");
  EXPECT_EQ(PhaseSourceName(PhaseBody::Mercury, 35), "Merkur_0135.jpg");
  EXPECT_EQ(PhaseOutputName(PhaseBody::Mercury, 35), "Merkur_35.bmp");
}

TEST(PhaseNames, Picture0AndSizes) {
  EXPECT_EQ(PhaseSourceName(PhaseBody::Moon, 0), "moon_000.jpg");
  EXPECT_EQ(PhaseOutputName(PhaseBody::Venus, 0), "Venus_00.bmp");
  EXPECT_EQ(PhasePictureSize(PhaseBody::Moon), 96);
  EXPECT_EQ(PhasePictureSize(PhaseBody::Venus), 48);
  EXPECT_EQ(PhasePictureSize(PhaseBody::Mercury), 40);
}

TEST(PhaseNames, BodyNamesOfTheTool) {
  PhaseBody b{};
  ASSERT_TRUE(ParsePhaseBody("mercury", b));
  EXPECT_EQ(b, PhaseBody::Mercury);
  EXPECT_FALSE(ParsePhaseBody("mars", b));
  EXPECT_STREQ(PhaseBodyName(PhaseBody::Moon), "moon");
}

// --- Disc mask and brightening ------------------------------------------------

TEST(DiscMask, EdgeCornersAndCentreOfTheWorkingPicture) {
  Bitmap24 work = test::Filled(4000, 4000, 100, 100, 100);
  MaskAndBrighten(work);
  const auto grey = [&](int x, int y) { return static_cast<int>(work.pixel(x, y)[1]); };
  EXPECT_EQ(grey(2000, 0), 0) << "distance exactly 2000: on the edge, black";
  EXPECT_EQ(grey(2000, 1), 120) << "distance 1999: inside, brightened";
  EXPECT_EQ(grey(0, 2000), 0);
  EXPECT_EQ(grey(1, 2000), 120);
  EXPECT_EQ(grey(3999, 2000), 120) << "distance 1999";
  EXPECT_EQ(grey(0, 0), 0);
  EXPECT_EQ(grey(3999, 3999), 0);
  EXPECT_EQ(grey(2000, 2000), 120);
  // 1200^2 + 1600^2 = 2000^2: on the edge.
  EXPECT_EQ(grey(3200, 3600), 0);
  EXPECT_EQ(grey(3199, 3600), 120);
  const std::uint8_t* p = work.pixel(1000, 1000);
  EXPECT_EQ(p[0], 120) << "blue byte";
  EXPECT_EQ(p[1], 120) << "green byte";
  EXPECT_EQ(p[2], 120) << "red byte";
  int inside = 0;
  for (int y = 0; y < 4000; ++y)
    for (int x = 0; x < 4000; ++x) inside += work.pixel(x, y)[0] != 0;
  // Lattice points strictly inside a circle of radius 2000 about a lattice point.
  EXPECT_NEAR(inside, 3.14159265358979 * 4000000.0, 8000.0);
}

TEST(Brightening, RaisesEveryByteBy20AndClampsAt255) {
  const std::array<std::uint8_t, 12> bytes = {240, 241, 255, 235, 236, 234, 0, 1, 219, 10, 20, 30};
  Bitmap24 work = test::Filled(4, 2001, 0, 0, 0);
  std::copy(bytes.begin(), bytes.end(), work.row(2000));
  // (0..3, 2000) are at distance 2000..1997 from the centre: (0, 2000) is
  // on the edge, the others inside.
  MaskAndBrighten(work);
  const std::uint8_t* r = work.row(2000);
  EXPECT_EQ(r[0], 0);
  EXPECT_EQ(r[1], 0);
  EXPECT_EQ(r[2], 0);
  EXPECT_EQ(r[3], 255) << "235 + 20";
  EXPECT_EQ(r[4], 255) << "236 + 20";
  EXPECT_EQ(r[5], 254) << "234 + 20";
  EXPECT_EQ(r[6], 20) << "0 + 20";
  EXPECT_EQ(r[7], 21);
  EXPECT_EQ(r[8], 239);
  EXPECT_EQ(r[9], 30);
  EXPECT_EQ(r[10], 40);
  EXPECT_EQ(r[11], 50);
}

TEST(Brightening, ByteOf240OrMoreInsideTheDiscBecomes255) {
  Bitmap24 work = test::Filled(3, 2001, 240, 250, 255);
  MaskAndBrighten(work);
  const std::uint8_t* p = work.pixel(2, 2000);  // distance 1998: inside
  EXPECT_EQ(p[0], 255);
  EXPECT_EQ(p[1], 255);
  EXPECT_EQ(p[2], 255);
}

// --- Whole pictures ----------------------------------------------------------

// A 4096 x 4096 source: uniform grey 100 with a white square where the
// picture's top-left corner lies (outside the tools' square). Making it takes
// most of a second, so the first test process keeps it in the build tree for
// the others (written under a temporary name and renamed, so concurrent
// processes never see half a file).
const std::vector<std::uint8_t>& SourceJpeg() {
  static const std::vector<std::uint8_t> data = [] {
    const std::filesystem::path cache = std::filesystem::path(VK_TEST_CACHE_DIR) / "phase_source_4096.jpg";
    std::error_code ec;
    if (std::filesystem::exists(cache, ec)) {
      std::ifstream in(cache, std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      Bitmap24 check;
      if (DecodeJpeg(bytes.data(), bytes.size(), check) && check.width == 4096) return bytes;
    }
    Bitmap24 src = test::Filled(4096, 4096, 100, 100, 100);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) src.pixel(x, y)[0] = src.pixel(x, y)[1] = src.pixel(x, y)[2] = 255;
    std::filesystem::create_directories(cache.parent_path(), ec);
    std::vector<std::uint8_t> bytes = EncodeJpeg(src, 90);
    try {
      SaveJpeg(src, cache, 90);
    } catch (const Error&) {
      // Without the cache every test just makes its own.
    }
    return bytes;
  }();
  return data;
}

void WriteSource(const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary);
  const auto& d = SourceJpeg();
  out.write(reinterpret_cast<const char*>(d.data()), static_cast<std::streamsize>(d.size()));
}

struct Recorder {
  std::vector<std::string> texts;
  int messages = 0;
  PhaseToolHooks hooks() {
    PhaseToolHooks h;
    h.progress = [this](std::string_view text, StatusColour) { texts.emplace_back(text); };
    h.process_messages = [this] { ++messages; };
    return h;
  }
};

TEST(PhasePicture, Pictures7And35ReadAndWriteTheirFiles) {
  test::TempDir from, to;
  WriteSource(from / "moon_070.jpg");
  PhaseToolPictures work;
  Recorder rec;
  ASSERT_TRUE(MakePhasePicture(PhaseBody::Moon, 7, from.path(), to.path(), work, rec.hooks()));
  EXPECT_EQ(to.files(), std::vector<std::string>{"Mond_07.bmp"});
  EXPECT_EQ(std::filesystem::file_size(to / "Mond_07.bmp"), 27702u);
  EXPECT_EQ(rec.texts, std::vector<std::string>{"Mond_07.bmp"});
  EXPECT_EQ(rec.messages, 3) << "after loading, after the mask, after the reduction";
  // Working pictures: the decoded source, the 4000 working copy, the result.
  EXPECT_EQ(work.img.width, 4096);
  EXPECT_EQ(work.image2.width, 4000);
  EXPECT_EQ(work.image3.width, 96);

  const Bitmap24 out = LoadBmp24(to / "Mond_07.bmp");
  ASSERT_EQ(out.width, 96);
  ASSERT_EQ(out.height, 96);
  // Outside the disc black (the white corner of the source lies outside the
  // tools' square and the disc), inside grey 100 + 20.
  EXPECT_EQ(out.pixel(0, 0)[1], 0);
  EXPECT_EQ(out.pixel(95, 95)[1], 0);
  EXPECT_NEAR(out.pixel(48, 48)[1], 120, 2);
  int disc = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) disc += out.pixel(x, y)[1] != 0;
  EXPECT_NEAR(disc, 3.14159265 * 48 * 48, 150) << "pixels inside the disc";

  // Picture 35 reads moon_350.jpg and writes Mond_35.bmp.
  WriteSource(from / "moon_350.jpg");
  ASSERT_TRUE(MakePhasePicture(PhaseBody::Moon, 35, from.path(), to.path(), work));
  EXPECT_EQ(to.files(), (std::vector<std::string>{"Mond_07.bmp", "Mond_35.bmp"}));
}

TEST(PhasePicture, VenusAndMercuryOutputSizes) {
  test::TempDir from, to;
  WriteSource(from / "Venus_0100.jpg");
  WriteSource(from / "Merkur_0107.jpg");
  PhaseToolPictures work;
  ASSERT_TRUE(MakePhasePicture(PhaseBody::Venus, 0, from.path(), to.path(), work));
  ASSERT_TRUE(MakePhasePicture(PhaseBody::Mercury, 7, from.path(), to.path(), work));
  EXPECT_EQ(to.files(), (std::vector<std::string>{"Merkur_07.bmp", "Venus_00.bmp"}));
  EXPECT_EQ(std::filesystem::file_size(to / "Venus_00.bmp"), 6966u);
  EXPECT_EQ(std::filesystem::file_size(to / "Merkur_07.bmp"), 4854u);
  EXPECT_EQ(LoadBmp24(to / "Venus_00.bmp").width, 48);
  EXPECT_EQ(LoadBmp24(to / "Merkur_07.bmp").height, 40);
}

TEST(PhasePicture, ACorruptSourceClearsTheWorkingPictureAndWritesNothing) {
  test::TempDir from, to;
  {
    std::ofstream out(from / "Venus_0103.jpg", std::ios::binary);
    out << "GIF89a and not a JPEG";
  }
  PhaseToolPictures work;
  work.img = test::Filled(16, 16, 1, 1, 1);
  Recorder rec;
  EXPECT_FALSE(MakePhasePicture(PhaseBody::Venus, 3, from.path(), to.path(), work, rec.hooks()));
  EXPECT_TRUE(work.img.empty());
  EXPECT_TRUE(to.files().empty());
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_NE(rec.texts[0].find("Venus_0103.jpg"), std::string::npos) << rec.texts[0];
}

TEST(PhaseTool, AMissingSourceEndsTheRunAndThePicturesSavedStay) {
  test::TempDir from, to;
  WriteSource(from / "moon_000.jpg");
  WriteSource(from / "moon_010.jpg");
  PhaseToolPictures work;
  Recorder rec;
  try {
    RunPhasePictureTool(PhaseBody::Moon, from.path(), to.path(), work, rec.hooks());
    FAIL() << "expected an error for moon_020.jpg";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "File not found");
    EXPECT_EQ(std::filesystem::path(e.file()).filename(), "moon_020.jpg");
  }
  EXPECT_EQ(to.files(), (std::vector<std::string>{"Mond_00.bmp", "Mond_01.bmp"}));
  EXPECT_EQ(rec.texts, (std::vector<std::string>{"Mond_00.bmp", "Mond_01.bmp"}));
}

#ifdef VK_TOOL_PATH
TEST(PhasePicturesCommand, AMissingSourceGivesTheErrorTextAndANonZeroExit) {
  test::TempDir from, to;
  const std::string cmd = std::string(VK_TOOL_PATH) + " phase-pictures mercury --from " + from.path().string() +
                          " --to " + to.path().string() + " 2>&1";
  FILE* pipe = ::popen(cmd.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = ::pclose(pipe);
  EXPECT_NE(status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(output.find("Merkur_0100.jpg: File not found"), std::string::npos) << output;
  EXPECT_TRUE(to.files().empty());
}

TEST(PhasePicturesCommand, AnUnknownBodyIsAUsageError) {
  const std::string cmd = std::string(VK_TOOL_PATH) + " phase-pictures mars 2>&1";
  FILE* pipe = ::popen(cmd.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
  }
  EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 2);
}
#endif

}  // namespace
}  // namespace vk
