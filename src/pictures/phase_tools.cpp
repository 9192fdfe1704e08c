#include "pictures/phase_tools.h"

#include <array>

#include "pictures/bmp_io.h"
#include "pictures/jpeg_io.h"
#include "pictures/stretch.h"

namespace vk {
namespace {

void Notify(const PhaseToolHooks& hooks, const std::string& text) {
  if (hooks.progress) hooks.progress(text, StatusColour::ButtonFace);
}

void ProcessMessages(const PhaseToolHooks& hooks) {
  if (hooks.process_messages) hooks.process_messages();
}

}  // namespace

int PhasePictureSize(PhaseBody body) {
  switch (body) {
    case PhaseBody::Moon: return 96;
    case PhaseBody::Venus: return 48;
    case PhaseBody::Mercury: return 40;
  }
  return 0;
}

std::string PhaseSourceName(PhaseBody body, int i) {
  switch (body) {
    case PhaseBody::Moon: return "moon_" + LastDigits(i * 10, 3) + ".jpg";
    case PhaseBody::Venus: return "Venus_01" + LastDigits(i, 2) + ".jpg";
    case PhaseBody::Mercury: return "Merkur_01" + LastDigits(i, 2) + ".jpg";
  }
  return {};
}

std::string PhaseOutputName(PhaseBody body, int i) {
  switch (body) {
    case PhaseBody::Moon: return "Mond_" + LastDigits(i, 2) + ".bmp";
    case PhaseBody::Venus: return "Venus_" + LastDigits(i, 2) + ".bmp";
    case PhaseBody::Mercury: return "Merkur_" + LastDigits(i, 2) + ".bmp";
  }
  return {};
}

const char* PhaseBodyName(PhaseBody body) {
  switch (body) {
    case PhaseBody::Moon: return "moon";
    case PhaseBody::Venus: return "venus";
    case PhaseBody::Mercury: return "mercury";
  }
  return "";
}

bool ParsePhaseBody(const std::string& name, PhaseBody& body) {
  for (PhaseBody b : {PhaseBody::Moon, PhaseBody::Venus, PhaseBody::Mercury}) {
    if (name == PhaseBodyName(b)) {
      body = b;
      return true;
    }
  }
  return false;
}

void MaskAndBrighten(Bitmap24& work) {
  std::array<std::uint8_t, 256> brighter{};
  for (int v = 0; v < 256; ++v) brighter[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(
      v + kPhaseBrightening > 255 ? 255 : v + kPhaseBrightening);
  for (int y = 0; y < work.height; ++y) {
    const long long dy = y - kPhaseDiscCentre;
    std::uint8_t* p = work.row(y);
    for (int x = 0; x < work.width; ++x, p += 3) {
      const long long dx = x - kPhaseDiscCentre;
      if (dx * dx + dy * dy >= kPhaseDiscRadiusSquared) {
        p[0] = p[1] = p[2] = 0;
      } else {
        p[0] = brighter[p[0]];
        p[1] = brighter[p[1]];
        p[2] = brighter[p[2]];
      }
    }
  }
}

bool MakePhasePicture(PhaseBody body, int i, const std::filesystem::path& from_dir,
                      const std::filesystem::path& to_dir, PhaseToolPictures& work, const PhaseToolHooks& hooks) {
  // One picture: load, crop and scale to the working size, mask and brighten, scale down, save.
  const std::string source = PhaseSourceName(body, i);
  if (!Load_JPEG_To_Image(from_dir / source, work.img)) {
    Notify(hooks, source + ": kein gültiges JPEG-Bild, übersprungen");
    return false;
  }
  ProcessMessages(hooks);

  work.image2.reset(kPhaseWorkSize, kPhaseWorkSize);
  StretchCopy(work.img, kPhaseSourceRect, work.image2, PixelRect{0, 0, kPhaseWorkSize, kPhaseWorkSize},
              StretchMode::Halftone);
  if (body != PhaseBody::Moon) ProcessMessages(hooks);

  MaskAndBrighten(work.image2);
  ProcessMessages(hooks);

  const int n = PhasePictureSize(body);
  work.image3.reset(n, n);
  StretchCopy(work.image2, PixelRect{0, 0, kPhaseWorkSize, kPhaseWorkSize}, work.image3, PixelRect{0, 0, n, n},
              StretchMode::ColorOnColor);
  ProcessMessages(hooks);

  const std::string output = PhaseOutputName(body, i);
  SaveBmp24(work.image3, to_dir / output);
  Notify(hooks, output);
  return true;
}

PhaseToolResult RunPhasePictureTool(PhaseBody body, const std::filesystem::path& from_dir,
                                    const std::filesystem::path& to_dir, PhaseToolPictures& work,
                                    const PhaseToolHooks& hooks) {
  PhaseToolResult result;
  for (int i = 0; i < kPhasePictureCount; ++i) {
    if (MakePhasePicture(body, i, from_dir, to_dir, work, hooks))
      ++result.saved;
    else
      result.invalid.push_back(PhaseSourceName(body, i));
  }
  return result;
}

}  // namespace vk
