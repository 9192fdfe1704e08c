#include "pictures/image_list.h"

#include <QPainter>
#include <mutex>

#include "pictures/bmp_io.h"
#include "base/error.h"

// The resources live in this static library: register them before the first
// lookup (the macro must stand outside any namespace).
static void InitPictureResources() {
#ifndef VK_PICTURES_WITHOUT_RESOURCES
  Q_INIT_RESOURCE(vk_pictures);
#endif
}

namespace vk {

ImageList::ImageList(const QImage& strip, const QImage& mask, int size) {
  if (size <= 0 || strip.height() != size || strip.width() < size || strip.width() % size != 0 ||
      mask.size() != strip.size())
    throw Error(kBitmapNotValid);
  const QImage colours = strip.convertToFormat(QImage::Format_RGB32);
  const QImage grey = mask.convertToFormat(QImage::Format_Grayscale8);
  size_ = size;
  const int n = strip.width() / size;
  for (int i = 0; i < n; ++i) {
    const QImage picture = colours.copy(i * size, 0, size, size);
    QImage m = grey.copy(i * size, 0, size, size);
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size; ++y) {
      uchar* mrow = m.scanLine(y);
      auto* prow = reinterpret_cast<QRgb*>(masked.scanLine(y));
      for (int x = 0; x < size; ++x) {
        mrow[x] = mrow[x] >= 128 ? 255 : 0;
        if (mrow[x] == 0) prow[x] = 0;
      }
    }
    pictures_.push_back(picture);
    masked_.push_back(std::move(masked));
    masks_.push_back(std::move(m));
  }
}

ImageList ImageList::Load(const QString& strip_file, const QString& mask_file, int size) {
  QImage strip(strip_file);
  if (strip.isNull()) throw Error(kFileNotFound, strip_file.toStdString());
  QImage mask(mask_file);
  if (mask.isNull()) throw Error(kFileNotFound, mask_file.toStdString());
  return ImageList(strip, mask, size);
}

bool ImageList::draw(QPainter& painter, int x, int y, int index, ImageDrawStyle style, bool mirrored) const {
  if (index < 0 || index >= count()) return false;
  const auto i = static_cast<std::size_t>(index);
  const QImage& picture = style == ImageDrawStyle::Transparent ? masked_[i] : pictures_[i];
  painter.drawImage(x, y, mirrored ? picture.mirrored(true, false) : picture);
  return true;
}

QImage ImageList::image(int index) const {
  if (index < 0 || index >= count()) return {};
  return pictures_[static_cast<std::size_t>(index)];
}

QImage ImageList::mask(int index) const {
  if (index < 0 || index >= count()) return {};
  return masks_[static_cast<std::size_t>(index)];
}

QString PictureResource(const QString& file_name) { return QStringLiteral(":/pictures/") + file_name; }
QString StripFileName(const QString& list_name) { return list_name + QStringLiteral(".png"); }
QString MaskFileName(const QString& list_name) { return list_name + QStringLiteral("_mask.png"); }

namespace {

void EnsureResources() {
  static std::once_flag once;
  std::call_once(once, InitPictureResources);
}

ImageList LoadShipped(const char* name, int size) {
  EnsureResources();
  const QString list = QString::fromLatin1(name);
  return ImageList::Load(PictureResource(StripFileName(list)), PictureResource(MaskFileName(list)), size);
}

}  // namespace

const ImageList& ImageList_MOO() {
  static const ImageList list = LoadShipped("ImageList_MOO", 96);
  return list;
}
const ImageList& ImageList_MER() {
  static const ImageList list = LoadShipped("ImageList_MER", 40);
  return list;
}
const ImageList& ImageList_VEN() {
  static const ImageList list = LoadShipped("ImageList_VEN", 48);
  return list;
}
const ImageList& ImageList1() {
  static const ImageList list = LoadShipped("ImageList1", 64);
  return list;
}

const QImage& ProgramEmblem() {
  static const QImage emblem = [] {
    EnsureResources();
    const QString path = PictureResource(QString::fromLatin1(kEmblemFileName));
    QImage image(path);
    if (image.isNull()) throw Error(kFileNotFound, path.toStdString());
    return image.convertToFormat(QImage::Format_ARGB32);
  }();
  return emblem;
}

}  // namespace vk
