#include "export/chart_output.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

#include "export/icalendar.h"
#include "base/error.h"

namespace vk {

namespace {

constexpr int kPdfDpi = 96;  // the chart's own resolution: one chart pixel per PDF pixel

std::string Lower_Ending(const std::filesystem::path& path) {
  std::string e = path.extension().string();
  for (char& c : e) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return e;
}

std::string_view Bytes(const QByteArray& a) { return {a.constData(), static_cast<std::size_t>(a.size())}; }

}  // namespace

std::optional<ChartFileType> Chart_File_Type(const std::filesystem::path& path) {
  const std::string e = Lower_Ending(path);
  if (e == ".png") return ChartFileType::Png;
  if (e == ".jpg" || e == ".jpeg") return ChartFileType::Jpeg;
  if (e == ".bmp") return ChartFileType::Bmp;
  if (e == ".pdf") return ChartFileType::Pdf;
  return std::nullopt;
}

void Fit_Chart_To(QPainter& p, const QRectF& page) {
  const double scale = std::min(page.width() / kChartWidth, page.height() / kChartHeight);
  p.resetTransform();
  p.translate(page.x() + (page.width() - kChartWidth * scale) / 2, page.y() + (page.height() - kChartHeight * scale) / 2);
  p.scale(scale, scale);
}

void Save_Chart_Picture(const QImage& img, const std::filesystem::path& path, QSize size) {
  const auto type = Chart_File_Type(path);
  if (!type || *type == ChartFileType::Pdf)
    throw Error("The file must end in .png, .jpg, .jpeg or .bmp", path.string());
  const QImage out = size == img.size() ? img : img.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, *type == ChartFileType::Png ? "PNG" : *type == ChartFileType::Jpeg ? "JPEG" : "BMP");
  if (*type == ChartFileType::Jpeg) writer.setQuality(92);
  if (!writer.write(out)) throw Error(writer.errorString().toStdString(), path.string());
  Write_Text_File(path, Bytes(bytes));
}

void Save_Chart_Pdf(const std::filesystem::path& path, int pages,
                    const std::function<void(QPainter&, int page)>& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setCreator("Vesperkalend");
    pdf.setResolution(kPdfDpi);
    pdf.setPageSize(QPageSize(QSizeF(kChartWidth * 25.4 / kPdfDpi, kChartHeight * 25.4 / kPdfDpi),
                              QPageSize::Millimeter, "Vesperkalend"));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&pdf);
    for (int k = 0; k < pages; ++k) {
      if (k > 0) pdf.newPage();
      Fit_Chart_To(p, QRectF(0, 0, pdf.width(), pdf.height()));
      paint(p, k);
    }
    p.end();
  }
  if (bytes.isEmpty()) throw Error("The PDF could not be made", path.string());
  Write_Text_File(path, Bytes(bytes));
}

void Save_Day_Pages_Pdf(const std::filesystem::path& path, DayChart& chart, const EventStore& store,
                        const PhaseTable& phases, double first_jd, double last_jd) {
  const int days = static_cast<int>(std::lround(last_jd - first_jd)) + 1;
  Save_Chart_Pdf(path, days, [&](QPainter& p, int k) {
    chart.Sel_JD = first_jd + k;
    Paint_Day_Chart(p, chart, store, phases);
  });
}

QImage Night_View_Image(const QImage& img) {
  QImage out = img.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = row[x];
      const int brightness = (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;  // 0 … 255
      row[x] = qRgb(brightness * 200 / 255, 0, 0);
    }
  }
  return out;
}

}  // namespace vk
