// The chart's picture sets, shipped as resources of the program:
//   ImageList_MOO  36 pictures  96 x 96  the Moon's phases, index 0 new Moon,
//                                         lit from the right-hand limb, 18 full
//   ImageList_MER  36 pictures  40 x 40  Mercury's phases, same order
//   ImageList_VEN  37 pictures  48 x 48  0 Venus's cloud cover in colour;
//                                         1 .. 36 its phases (1 unlit, 19 full)
//   ImageList1      7 pictures  64 x 64  0 Mercury, 1 Venus, 2 Mars, 3 Jupiter,
//                                         4 Saturn, 5 Uranus, 6 Neptune
// and the program's 64 x 64 emblem. Every picture has a mask: its black
// background is transparent in the transparent drawing style.
#pragma once
#include <QImage>
#include <QString>
#include <vector>

class QPainter;

namespace vk {

enum class ImageDrawStyle {
  Normal,       // the whole square, background included
  Transparent,  // only where the mask is set: the background stays visible
};

class ImageList {
 public:
  // An empty list (count() 0); draw() draws nothing.
  ImageList() = default;

  // A list of count() = strip.width() / size pictures of size x size pixels,
  // laid side by side in `strip` (index 0 on the left). `mask` has the strip's
  // size; a pixel whose grey value is 128 or more is part of the picture, one
  // below is background.
  // Throws: Error(kBitmapNotValid) when `size` <= 0, the strip's height is not
  //   `size`, its width not a positive multiple of `size`, or the mask's size
  //   differs from the strip's.
  ImageList(const QImage& strip, const QImage& mask, int size);

  // Loads a strip and its mask from PNG files (resource paths ":/..." too).
  // Throws: Error(kFileNotFound, file) when a file cannot be loaded; the
  //   errors of the constructor.
  static ImageList Load(const QString& strip_file, const QString& mask_file, int size);

  int count() const { return static_cast<int>(pictures_.size()); }
  int width() const { return size_; }
  int height() const { return size_; }

  // Draws picture `index` with its top-left corner at (x, y) (painter
  // coordinates, pixels) in the given style; `mirrored`: flipped left to
  // right (its mask with it).
  // Returns false and draws nothing when `index` is outside 0 .. count() - 1.
  bool draw(QPainter& painter, int x, int y, int index,
            ImageDrawStyle style = ImageDrawStyle::Transparent, bool mirrored = false) const;

  // Picture `index` alone (Format_RGB32), or a null image when out of range.
  QImage image(int index) const;
  // Its mask (Format_Grayscale8, 255 picture, 0 background), or a null image.
  QImage mask(int index) const;

 private:
  int size_ = 0;
  std::vector<QImage> pictures_;  // RGB32
  std::vector<QImage> masked_;    // ARGB32 premultiplied, background transparent
  std::vector<QImage> masks_;     // Grayscale8
};

// The shipped sets, loaded from the program's resources on first use.
// Throws (first use only): Error(kFileNotFound, resource path) when the
// resources are not linked into the program.
const ImageList& ImageList_MOO();
const ImageList& ImageList_MER();
const ImageList& ImageList_VEN();
const ImageList& ImageList1();

// The program's emblem, 64 x 64, Format_ARGB32 with transparent corners.
// Throws (first use only): Error(kFileNotFound, resource path) as above.
const QImage& ProgramEmblem();

// Resource paths of the shipped files, e.g. ":/pictures/ImageList_MOO.png".
QString PictureResource(const QString& file_name);

// The file names of a set's strip and mask: "<name>.png", "<name>_mask.png".
QString StripFileName(const QString& list_name);
QString MaskFileName(const QString& list_name);
inline constexpr const char* kEmblemFileName = "Vesperkalend_64.png";

}  // namespace vk
