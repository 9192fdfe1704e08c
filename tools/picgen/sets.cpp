// Assembles the shipped picture sets: one strip per list (the pictures side
// by side, index 0 on the left) and its mask, plus the emblem.
#include <QImage>
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "pictures/bmp_io.h"
#include "pictures/image_list.h"
#include "pictures/jpeg_io.h"
#include "pictures/phase_tools.h"
#include "planets.h"
#include "base/error.h"

namespace picgen {
namespace {

namespace fs = std::filesystem;

// A picture from the tools: black is background, everything else picture
// (the tools brighten the whole disc, so no pixel of it is black).
SmallPicture FromToolOutput(const fs::path& file, int size) {
  SmallPicture out;
  out.picture = vk::LoadBmp24(file);
  if (out.picture.width != size || out.picture.height != size)
    throw vk::Error("picture is " + std::to_string(out.picture.width) + " x " + std::to_string(out.picture.height) +
                        ", not " + std::to_string(size) + " x " + std::to_string(size),
                    file.string());
  out.mask.resize(static_cast<std::size_t>(size) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const std::uint8_t* p = out.picture.pixel(x, y);
      out.mask[static_cast<std::size_t>(y) * size + x] = (p[0] | p[1] | p[2]) != 0 ? 1 : 0;
    }
  return out;
}

void SaveOrThrow(const QImage& image, const fs::path& file) {
  // QImage writes directly; go through a temporary name like every file of
  // the project, so that a failure leaves the old picture.
  const fs::path temp = file.string() + ".tmp";
  if (!image.save(QString::fromStdString(temp.string()), "PNG")) {
    fs::remove(temp);
    throw vk::Error("Cannot write the picture", file.string());
  }
  fs::rename(temp, file);
}

void WriteStrip(const std::vector<SmallPicture>& pictures, int size, const fs::path& dir, const std::string& name) {
  const int n = static_cast<int>(pictures.size());
  QImage strip(n * size, size, QImage::Format_RGB888);
  QImage mask(n * size, size, QImage::Format_Mono);
  mask.setColorCount(2);
  mask.setColor(0, qRgb(0, 0, 0));
  mask.setColor(1, qRgb(255, 255, 255));
  for (int i = 0; i < n; ++i) {
    const SmallPicture& p = pictures[static_cast<std::size_t>(i)];
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const std::uint8_t* px = p.picture.pixel(x, y);
        strip.setPixel(i * size + x, y, qRgb(px[2], px[1], px[0]));
        mask.setPixel(i * size + x, y, p.mask[static_cast<std::size_t>(y) * size + x] ? 1 : 0);
      }
  }
  const QString list = QString::fromStdString(name);
  SaveOrThrow(strip, dir / vk::StripFileName(list).toStdString());
  SaveOrThrow(mask, dir / vk::MaskFileName(list).toStdString());
  std::cerr << name << ": " << n << " x " << size << "x" << size << "\n";
}

std::vector<SmallPicture> PhaseSet(vk::PhaseBody body, const fs::path& tools) {
  std::vector<SmallPicture> out;
  for (int i = 0; i < vk::kPhasePictureCount; ++i)
    out.push_back(FromToolOutput(tools / vk::PhaseOutputName(body, i), vk::PhasePictureSize(body)));
  return out;
}

SmallPicture FullDiscFromSource(vk::PhaseBody body, const fs::path& sources, int size, double radius) {
  // Picture 18 of the phase cycle is the full disc.
  const fs::path file = sources / vk::PhaseSourceName(body, 18);
  vk::Bitmap24 big;
  if (!vk::Load_JPEG_To_Image(file, big)) throw vk::Error("not a valid JPEG picture", file.string());
  // The generator's disc: radius 1990 about the centre of the 4096 square.
  const double scale = big.width / 4096.0;
  return ReduceDisc(big, big.width / 2.0, 1990.0 * scale, size, radius);
}

}  // namespace

int PlanetCommand(Args args) {
  const auto index = TakeOption(args, "--index");
  const auto size = TakeOption(args, "--size");
  const auto out = TakeOption(args, "--out");
  FinishOptions(args);
  if (!index || !out) throw UsageError{"--index 0..8 and --out FILE are needed"};
  const int i = std::atoi(index->c_str());
  const int n = size ? std::atoi(size->c_str()) : 64;
  if (n < 16 || n > 1024) throw UsageError{"--size runs from 16 to 1024"};
  if (i == 7) {
    SaveOrThrow(RenderEmblem(n), *out);
    return 0;
  }
  const SmallPicture p = i == 8 ? RenderVenusClouds(n) : i >= 2 && i <= 6 ? RenderPlanet(i, n)
                                                                          : throw UsageError{"--index: 2..6 planets, 7 emblem, 8 Venus's clouds"};
  WriteStrip({p}, n, fs::path(*out).parent_path(), fs::path(*out).stem().string());
  return 0;
}

int SetsCommand(Args args) {
  const auto tools = TakeOption(args, "--tools");
  const auto sources = TakeOption(args, "--sources");
  const auto out = TakeOption(args, "--out");
  FinishOptions(args);
  if (!tools || !sources || !out) throw UsageError{"--tools DIR, --sources DIR and --out DIR are needed"};
  fs::create_directories(*out);

  WriteStrip(PhaseSet(vk::PhaseBody::Moon, *tools), 96, *out, "ImageList_MOO");
  WriteStrip(PhaseSet(vk::PhaseBody::Mercury, *tools), 40, *out, "ImageList_MER");
  std::vector<SmallPicture> venus = {RenderVenusClouds(48)};
  for (SmallPicture& p : PhaseSet(vk::PhaseBody::Venus, *tools)) venus.push_back(std::move(p));
  WriteStrip(venus, 48, *out, "ImageList_VEN");

  std::vector<SmallPicture> planets;
  planets.push_back(FullDiscFromSource(vk::PhaseBody::Mercury, *sources, 64, 20.0));
  planets.push_back(FullDiscFromSource(vk::PhaseBody::Venus, *sources, 64, 26.0));
  for (int i = 2; i <= 6; ++i) planets.push_back(RenderPlanet(i, 64));
  WriteStrip(planets, 64, *out, "ImageList1");

  SaveOrThrow(RenderEmblem(64), fs::path(*out) / vk::kEmblemFileName);
  std::cerr << vk::kEmblemFileName << "\n";
  return 0;
}

}  // namespace picgen
