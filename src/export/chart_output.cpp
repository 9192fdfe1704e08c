#include "export/chart_output.h"

#include <QBuffer>
#include <QDateTime>
#include <QHashSeed>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <cstdlib>

#include "export/icalendar.h"
#include "base/error.h"
#include "file_ending.h"

namespace vk {

std::string Lower_Ending(const std::filesystem::path& path) {
  std::string e = path.extension().string();
  for (char& c : e) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return e;
}

namespace {

constexpr int kPdfDpi = 96;  // the chart's own resolution: one chart pixel per PDF pixel

std::string_view Bytes(const QByteArray& a) { return {a.constData(), static_cast<std::size_t>(a.size())}; }

// The creation date a PDF carries: $SOURCE_DATE_EPOCH (seconds since 1970,
// UTC) when set to a number, else the first day of the almanac's period, so
// that the same pages give the same bytes.
QByteArray Pdf_Creation_Date() {
  QDateTime when(QDate(2022, 1, 1), QTime(0, 0), Qt::UTC);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    bool ok = false;
    const qint64 seconds = QByteArray(epoch).toLongLong(&ok);
    if (ok && seconds >= 0 && seconds < 253402300800) when = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
  }
  return "D:" + when.toString("yyyyMMddHHmmss").toLatin1() + "Z";
}

// Qt writes the time of writing as the creation date ("D:" 14 digits "Z");
// it is replaced by one of the same length, which leaves every offset of the
// file as it was.
void Fix_Pdf_Creation_Date(QByteArray& pdf) {
  static const QByteArray kKey = "/CreationDate (";
  const qsizetype at = pdf.indexOf(kKey);
  if (at < 0) return;
  const qsizetype start = at + kKey.size();
  const QByteArray date = Pdf_Creation_Date();
  if (pdf.mid(start + date.size(), 1) != ")" || pdf.mid(start, 2) != "D:") return;
  pdf.replace(start, date.size(), date);
}

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

void Save_Pdf_Pages(const std::filesystem::path& path, const QPageSize& size, QPageLayout::Orientation orientation,
                    int dpi, int pages, const std::function<void(QPainter&, int page, const QRectF& rect)>& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    // The writer keeps its fonts in a hash, filled while painting, and
    // writes them in its order: a fixed seed for the hashes made meanwhile
    // gives the same order in every run.
    QHashSeed::setDeterministicGlobalSeed();
    struct RandomSeedAgain {
      ~RandomSeedAgain() { QHashSeed::resetRandomGlobalSeed(); }
    } random_seed_again;
    QPdfWriter pdf(&buffer);
    pdf.setCreator("Vesperkalend");
    pdf.setResolution(dpi);
    pdf.setPageLayout(QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0)));
    QPainter p(&pdf);
    for (int k = 0; k < pages; ++k) {
      if (k > 0) pdf.newPage();
      p.resetTransform();
      paint(p, k, QRectF(0, 0, pdf.width(), pdf.height()));
    }
    p.end();
  }
  if (bytes.isEmpty()) throw Error("The PDF could not be made", path.string());
  Fix_Pdf_Creation_Date(bytes);
  Write_Text_File(path, Bytes(bytes));
}

void Save_Chart_Pdf(const std::filesystem::path& path, int pages,
                    const std::function<void(QPainter&, int page)>& paint) {
  const QPageSize size(QSizeF(kChartWidth * 25.4 / kPdfDpi, kChartHeight * 25.4 / kPdfDpi), QPageSize::Millimeter,
                       "Vesperkalend");
  Save_Pdf_Pages(path, size, QPageLayout::Portrait, kPdfDpi, pages, [&](QPainter& p, int k, const QRectF& rect) {
    Fit_Chart_To(p, rect);
    paint(p, k);
  });
}

void Save_Day_Pages_Pdf(const std::filesystem::path& path, DayChart& chart, const EventStore& store,
                        const PhaseTable& phases, double first_jd, double last_jd) {
  const int days = static_cast<int>(std::lround(last_jd - first_jd)) + 1;
  Save_Chart_Pdf(path, days, [&](QPainter& p, int k) {
    chart.Sel_JD = first_jd + k;
    Paint_Day_Chart(p, chart, store, phases);
  });
}

const tChartPalette& Page_Palette(const tChartPage& page) {
  return page.print_colours ? Print_Palette() : Screen_Palette();
}

QImage Chart_Page_Image(const QImage& img, const tChartPage& page) {
  const tChartPalette& colours = Page_Palette(page);
  QImage out(img.width(), img.height() + kHeadingBand, QImage::Format_RGB32);
  out.fill(colours.ground);
  {
    QPainter p(&out);
    p.drawImage(0, kHeadingBand, img);
    // The heading as on a printed page at twice its size, its empty title
    // line and part of the margin left out.
    QImage band(img.width(), kHeadingBand, QImage::Format_RGB32);
    band.fill(colours.ground);
    band.setDotsPerMeterX(static_cast<int>(std::lround(kPageDpi / 0.0254)));
    band.setDotsPerMeterY(band.dotsPerMeterX());
    QPainter b(&band);
    b.setRenderHint(QPainter::TextAntialiasing);
    const double scale = 2.0 * 96 / kPageDpi;
    b.scale(scale, scale);
    b.translate(0, -(kPageMargin + 2) * kPageDpi / 25.4);
    const QColor ink(230, 230, 230);
    Paint_Heading(b, QRectF(0, 0, band.width() / scale, band.height() / scale), QString(), page.heading,
                  colours.print ? Print_Colour(ink) : ink);
    b.end();
    p.drawImage(0, 0, band);
  }
  return out;
}

QImage Chart_Page_Image(DayChart& chart, const EventStore& store, const PhaseTable& phases, const tChartPage& page) {
  QImage img(kChartWidth, kChartHeight, QImage::Format_RGB32);
  img.setDotsPerMeterX(chart.Img.dotsPerMeterX());
  img.setDotsPerMeterY(chart.Img.dotsPerMeterY());
  chart.Colours = Page_Palette(page);
  {
    QPainter p(&img);
    Paint_Day_Chart(p, chart, store, phases);
  }
  return Chart_Page_Image(img, page);
}

void Paint_Chart_Page(QPainter& p, const QRectF& page_rect, double dpi, const QString& title, const tChartPage& page,
                      const std::function<void(QPainter&, const tChartPalette&)>& paint_chart) {
  const double u = dpi / kPageDpi;  // device units per page unit
  const auto mm = [](double v) { return v * kPageDpi / 25.4; };
  p.resetTransform();
  p.translate(page_rect.topLeft());
  p.scale(u, u);
  const QRectF page_units(0, 0, page_rect.width() / u, page_rect.height() / u);
  const double top = Paint_Heading(p, page_units, title, page.heading);
  const QRectF area(page_rect.x() + mm(kPageMargin) * u, page_rect.y() + mm(top) * u,
                    page_rect.width() - 2 * mm(kPageMargin) * u, page_rect.height() - (mm(top) + mm(kPageMargin)) * u);
  Fit_Chart_To(p, area);
  paint_chart(p, Page_Palette(page));
}

void Save_Day_Pages_Pdf(const std::filesystem::path& path, DayChart& chart, const EventStore& store,
                        const PhaseTable& phases, double first_jd, double last_jd, const tChartPage& page) {
  const int days = static_cast<int>(std::lround(last_jd - first_jd)) + 1;
  Save_Pdf_Pages(path, page.paper, QPageLayout::Landscape, kPageDpi, days,
                 [&](QPainter& p, int k, const QRectF& rect) {
                   chart.Sel_JD = first_jd + k;
                   Paint_Chart_Page(p, rect, kPageDpi, QString::fromStdString(Chart_Title(chart.Sel_JD)), page,
                                    [&](QPainter& cp, const tChartPalette& colours) {
                                      chart.Colours = colours;
                                      Paint_Day_Chart(cp, chart, store, phases);
                                    });
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
