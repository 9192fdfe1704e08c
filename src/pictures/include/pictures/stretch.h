// Scaled copies of a rectangle of one 24-bit picture into a rectangle of
// another, in the two modes the phase-picture tools select: halftone (every
// target pixel is the average of the source area it covers) and
// colour-on-colour (every target pixel is one source pixel; the rows and
// columns in between are dropped, not averaged).
#pragma once
#include "pictures/bitmap24.h"

namespace vk {

enum class StretchMode {
  // Target pixel (u, v) of a W x H target rectangle taken from a w x h source
  // rectangle covers the source area [u*w/W, (u+1)*w/W) x [v*h/H, (v+1)*h/H)
  // (relative to the source rectangle's top-left corner); each colour byte is
  // the area-weighted mean of the source pixels under it, rounded to nearest
  // (halves up). Works for enlarging and reducing alike.
  Halftone,
  // Target column u takes source column floor((2u + 1) * w / (2W)), the one
  // under the centre of its area, and likewise for rows: reducing by n keeps
  // every n-th row and column, enlarging repeats them.
  ColorOnColor,
};

// Copies rectangle `from` of `src` into rectangle `to` of `dst`, scaled, in
// the given mode. Source pixels that lie outside `src` count as black.
// Pixels of `dst` outside `to` are unchanged.
// Throws: Error(kRangeCheckError) when either rectangle is empty or has a
//   negative size, or when `to` does not lie inside `dst`; `dst` is then
//   unchanged.
void StretchCopy(const Bitmap24& src, const PixelRect& from, Bitmap24& dst, const PixelRect& to, StretchMode mode);

}  // namespace vk
