// The large JPEG phase pictures: 36 per body, 4096 x 4096, the disc centred
// so that the tools' square (60, 60)-(4036, 4036) holds it edge to edge.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "commands.h"
#include "pictures/jpeg_io.h"
#include "pictures/phase_tools.h"
#include "surface.h"

namespace picgen {

std::optional<std::string> TakeOption(Args& args, const std::string& name) {
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return std::nullopt;
  if (it + 1 == args.end()) throw UsageError{name + " needs a value"};
  std::string value = *(it + 1);
  args.erase(it, it + 2);
  return value;
}

void FinishOptions(const Args& args) {
  if (!args.empty()) throw UsageError{"unknown argument '" + args.front() + "'"};
}

namespace {

constexpr int kJpegQuality = 92;

vk::PhaseBody ToolBody(Body b) {
  switch (b) {
    case Body::Moon: return vk::PhaseBody::Moon;
    case Body::Mercury: return vk::PhaseBody::Mercury;
    case Body::Venus: return vk::PhaseBody::Venus;
  }
  return vk::PhaseBody::Moon;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int SourcesCommand(Args args) {
  const auto out = TakeOption(args, "--out");
  const auto only = TakeOption(args, "--body");
  const auto list = TakeOption(args, "--pictures");
  const auto size = TakeOption(args, "--size");
  FinishOptions(args);
  if (!out) throw UsageError{"--out DIR is needed"};
  std::filesystem::create_directories(*out);

  std::vector<Body> bodies = {Body::Moon, Body::Venus, Body::Mercury};
  if (only) {
    vk::PhaseBody b{};
    if (!vk::ParsePhaseBody(*only, b)) throw UsageError{"unknown body '" + *only + "'"};
    bodies = {b == vk::PhaseBody::Moon ? Body::Moon : b == vk::PhaseBody::Venus ? Body::Venus : Body::Mercury};
  }
  std::vector<int> pictures;
  if (list) {
    std::stringstream in(*list);
    for (std::string item; std::getline(in, item, ',');) {
      const int k = std::atoi(item.c_str());
      if (k < 0 || k > 35) throw UsageError{"picture numbers run from 0 to 35"};
      pictures.push_back(k);
    }
  } else {
    for (int k = 0; k < 36; ++k) pictures.push_back(k);
  }
  // The disc fills the tools' 3976-pixel square: radius 1988 about the
  // picture's centre, drawn 2 pixels larger so that the tools' disc mask, not
  // the rendered limb, makes the edge.
  DiscGeometry geo;
  if (size) {
    geo.size = std::atoi(size->c_str());
    if (geo.size < 64 || geo.size > 8192) throw UsageError{"--size runs from 64 to 8192"};
  }
  geo.centre = geo.size / 2.0;
  geo.radius = (geo.size - 120.0 * geo.size / 4096.0) / 2.0 + 2.0 * geo.size / 4096.0;

  for (Body body : bodies) {
    const auto t0 = std::chrono::steady_clock::now();
    const SurfaceMap map = BuildSurface(body, geo);
    std::cerr << vk::PhaseBodyName(ToolBody(body)) << ": surface in " << Seconds(t0) << " s\n";
    const Photometry ph = PhotometryOf(body);
    for (int k : pictures) {
      const auto t1 = std::chrono::steady_clock::now();
      const vk::Bitmap24 picture = RenderPhase(map, ph, k);
      const std::string name = vk::PhaseSourceName(ToolBody(body), k);
      vk::SaveJpeg(picture, std::filesystem::path(*out) / name, kJpegQuality);
      std::cerr << name << " (" << Seconds(t1) << " s)\n";
    }
  }
  return 0;
}

}  // namespace picgen
