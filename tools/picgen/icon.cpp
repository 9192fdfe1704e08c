// The program's icon: a pale crescent over a time scale on a night-blue
// square. One description of the shapes feeds both the SVG text and the
// painted PNG sizes, so the two stay the same picture.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "commands.h"
#include "base/error.h"
#include "base/number_text.h"

namespace picgen {
namespace {

// Geometry on a 256 x 256 canvas.
constexpr double kCanvas = 256;
constexpr double kCorner = 40;                       // corner radius of the background
constexpr double kMoonX = 128, kMoonY = 100, kMoonR = 66;   // the Moon's disc
constexpr double kShadowX = 156, kShadowY = 82, kShadowR = 58;  // the disc taken away
constexpr double kScaleY = 206;                      // the time scale's axis
constexpr double kScaleX1 = 36, kScaleX2 = 220;
constexpr int kTicks = 12;                           // ticks every two hours, long ones every six
constexpr const char* kBackground = "#16213e";
constexpr const char* kMoon = "#f5e6a8";
constexpr const char* kScale = "#e8e8f0";

double TickX(int i) { return kScaleX1 + (kScaleX2 - kScaleX1) * i / kTicks; }
double TickLength(int i) { return i % 3 == 0 ? 22 : 12; }

std::string N(double v) { return vk::FormatFixed(v, 1); }

std::string Svg() {
  std::string s;
  s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
  s += "  <defs>\n    <mask id=\"crescent\">\n";
  s += "      <rect width=\"256\" height=\"256\" fill=\"white\"/>\n";
  s += "      <circle cx=\"" + N(kShadowX) + "\" cy=\"" + N(kShadowY) + "\" r=\"" + N(kShadowR) + "\" fill=\"black\"/>\n";
  s += "    </mask>\n  </defs>\n";
  s += "  <rect width=\"256\" height=\"256\" rx=\"" + N(kCorner) + "\" fill=\"" + kBackground + "\"/>\n";
  s += "  <circle cx=\"" + N(kMoonX) + "\" cy=\"" + N(kMoonY) + "\" r=\"" + N(kMoonR) + "\" fill=\"" + kMoon +
       "\" mask=\"url(#crescent)\"/>\n";
  s += "  <g stroke=\"" + std::string(kScale) + "\" stroke-width=\"6\" stroke-linecap=\"round\">\n";
  s += "    <line x1=\"" + N(kScaleX1) + "\" y1=\"" + N(kScaleY) + "\" x2=\"" + N(kScaleX2) + "\" y2=\"" + N(kScaleY) +
       "\"/>\n";
  for (int i = 0; i <= kTicks; ++i)
    s += "    <line x1=\"" + N(TickX(i)) + "\" y1=\"" + N(kScaleY) + "\" x2=\"" + N(TickX(i)) + "\" y2=\"" +
         N(kScaleY - TickLength(i)) + "\"/>\n";
  s += "  </g>\n</svg>\n";
  return s;
}

QImage Png(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kCanvas, size / kCanvas);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kBackground));
  p.drawRoundedRect(QRectF(0, 0, kCanvas, kCanvas), kCorner, kCorner);
  QPainterPath disc, shadow;
  disc.addEllipse(QPointF(kMoonX, kMoonY), kMoonR, kMoonR);
  shadow.addEllipse(QPointF(kShadowX, kShadowY), kShadowR, kShadowR);
  p.setBrush(QColor(kMoon));
  p.drawPath(disc.subtracted(shadow));
  p.setPen(QPen(QColor(kScale), 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(kScaleX1, kScaleY), QPointF(kScaleX2, kScaleY));
  for (int i = 0; i <= kTicks; ++i) p.drawLine(QPointF(TickX(i), kScaleY), QPointF(TickX(i), kScaleY - TickLength(i)));
  return img;
}

}  // namespace

int IconCommand(Args args) {
  const auto out = TakeOption(args, "--out");
  FinishOptions(args);
  if (!out) throw UsageError{"--out DIR is needed"};
  const std::filesystem::path dir = *out;
  std::filesystem::create_directories(dir);
  const std::filesystem::path svg = dir / "vesperkalend.svg";
  std::ofstream(svg, std::ios::binary) << Svg();
  if (!std::filesystem::exists(svg)) throw vk::Error("Cannot write", svg.string());
  for (int size : {48, 64, 128, 256}) {
    const std::filesystem::path png = dir / ("vesperkalend_" + std::to_string(size) + ".png");
    if (!Png(size).save(QString::fromStdString(png.string()), "PNG")) throw vk::Error("Cannot write", png.string());
  }
  std::cerr << "icon written to " << dir.string() << "\n";
  return 0;
}

}  // namespace picgen
