// The small pictures that do not come through the phase-picture tools: the
// planets of ImageList1, Venus's cloud picture (index 0 of ImageList_VEN) and
// the program's emblem. Each is rendered 8 times larger and reduced by
// halftone averaging.
#pragma once
#include <QImage>
#include <cstdint>
#include <vector>

#include "pictures/bitmap24.h"

namespace picgen {

struct SmallPicture {
  vk::Bitmap24 picture;             // colours over black
  std::vector<std::uint8_t> mask;   // per pixel: 1 picture, 0 background
};

// ImageList1 entries 2 .. 6: Mars, Jupiter, Saturn, Uranus, Neptune, size x size.
SmallPicture RenderPlanet(int index, int size);

// A full disc of `disc_radius` pixels centred in a size x size square, reduced
// from a large source picture of the phase-picture kind (disc of radius
// `source_radius` about (source_centre, source_centre)).
SmallPicture ReduceDisc(const vk::Bitmap24& source, double source_centre, double source_radius, int size,
                        double disc_radius);

// Venus's clouds in colour, the disc filling the size x size square.
SmallPicture RenderVenusClouds(int size);

// The program's emblem: an evening sky with a crescent Moon and the evening
// star, on a rounded square with transparent corners (Format_ARGB32).
QImage RenderEmblem(int size);

}  // namespace picgen
