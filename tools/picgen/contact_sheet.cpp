// A contact sheet of the picture sets: every picture with its index, drawn
// through the same ImageList calls the chart uses.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "pictures/image_list.h"
#include "base/error.h"

namespace picgen {
namespace {

struct ListInfo {
  const char* name;
  int size;
  const char* caption;
  int per_row;
};

const ListInfo kLists[] = {
    {"ImageList_MOO", 96, "ImageList_MOO  36 × 96×96  Mond: 0 Neumond, rechts zunehmend, 18 Vollmond", 12},
    {"ImageList_MER", 40, "ImageList_MER  36 × 40×40  Merkur: 0 unbeleuchtet, 18 voll", 18},
    {"ImageList_VEN", 48, "ImageList_VEN  37 × 48×48  Venus: 0 Wolkenbild, 1 unbeleuchtet, 19 voll", 19},
    {"ImageList1", 64, "ImageList1  7 × 64×64  Merkur, Venus, Mars, Jupiter, Saturn, Uranus, Neptun", 7},
};

}  // namespace

int ContactSheetCommand(int argc, char** argv, Args args) {
  const auto out = TakeOption(args, "--out");
  const auto from = TakeOption(args, "--from");
  const auto scale_text = TakeOption(args, "--scale");
  FinishOptions(args);
  if (!out) throw UsageError{"--out FILE is needed"};
  const int scale = scale_text ? std::atoi(scale_text->c_str()) : 1;
  if (scale < 1 || scale > 4) throw UsageError{"--scale runs from 1 to 4"};
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);

  std::vector<vk::ImageList> lists;
  QImage emblem;
  for (const ListInfo& info : kLists) {
    const QString name = QString::fromLatin1(info.name);
    if (from) {
      const std::filesystem::path dir(*from);
      lists.push_back(vk::ImageList::Load(QString::fromStdString((dir / vk::StripFileName(name).toStdString()).string()),
                                          QString::fromStdString((dir / vk::MaskFileName(name).toStdString()).string()),
                                          info.size));
    } else {
      lists.push_back(vk::ImageList::Load(vk::PictureResource(vk::StripFileName(name)),
                                          vk::PictureResource(vk::MaskFileName(name)), info.size));
    }
  }
  if (from) {
    const QString path = QString::fromStdString((std::filesystem::path(*from) / vk::kEmblemFileName).string());
    emblem.load(path);
    if (emblem.isNull()) throw vk::Error(vk::kFileNotFound, path.toStdString());
  } else {
    emblem = vk::ProgramEmblem();
  }

  // Layout: a title with the emblem, then per list a caption and its grid.
  // The phase pictures stand on a sky colour (transparent style, so the masks
  // show); ImageList1 is drawn twice, normal style on black and transparent.
  const int margin = 16, gap = 8, label = 14, caption = 22;
  const int width = 1300;
  int height = margin + 64 + gap * 2;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    const int rows = (lists[i].count() + kLists[i].per_row - 1) / kLists[i].per_row * (i == 3 ? 2 : 1);
    height += caption + rows * (lists[i].height() + gap + label) + gap * 2;
  }
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(QColor(40, 40, 46));
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont title_font(QStringLiteral("Liberation Sans"), 16, QFont::Bold);
  QFont caption_font(QStringLiteral("Liberation Sans"), 11);
  QFont label_font(QStringLiteral("Liberation Sans"), 8);
  painter.drawImage(margin, margin, emblem);
  painter.setPen(QColor(235, 235, 240));
  painter.setFont(title_font);
  painter.drawText(margin + 64 + 16, margin + 40, QStringLiteral("Vesperkalend – Bildlisten und Emblem"));
  int y = margin + 64 + gap * 2;
  const QColor sky(70, 110, 165);
  for (std::size_t i = 0; i < lists.size(); ++i) {
    const vk::ImageList& list = lists[i];
    painter.setFont(caption_font);
    painter.setPen(QColor(235, 235, 240));
    painter.drawText(margin, y + 15, QString::fromUtf8(kLists[i].caption));
    y += caption;
    const int cell = list.width() + gap;
    const int passes = i == 3 ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      const bool normal = i == 3 && pass == 0;
      for (int k = 0; k < list.count(); ++k) {
        const int col = k % kLists[i].per_row, row = k / kLists[i].per_row;
        const int x = margin + col * cell;
        const int top = y + row * (list.height() + gap + label);
        painter.fillRect(x, top, list.width(), list.height(), normal ? QColor(0, 0, 0) : sky);
        list.draw(painter, x, top, k, normal ? vk::ImageDrawStyle::Normal : vk::ImageDrawStyle::Transparent);
        painter.setFont(label_font);
        painter.setPen(QColor(200, 200, 205));
        painter.drawText(QRect(x, top + list.height() + 1, list.width(), label), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(k));
      }
      const int rows = (list.count() + kLists[i].per_row - 1) / kLists[i].per_row;
      y += rows * (list.height() + gap + label);
    }
    y += gap * 2;
  }
  painter.end();
  if (scale > 1) sheet = sheet.scaled(width * scale, height * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!sheet.save(QString::fromStdString(*out), "PNG")) throw vk::Error("Cannot write the picture", *out);
  std::cerr << *out << ": " << sheet.width() << " x " << sheet.height() << "\n";
  return 0;
}

}  // namespace picgen
