// The day chart as files: pictures (PNG, JPEG, BMP), vector PDF pages and
// month sheets; the fit of the chart onto a page; the night view.
#pragma once
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QSize>
#include <filesystem>
#include <functional>
#include <optional>

#include "chart/day_chart.h"
#include "export/almanac_pages.h"

class QPainter;

namespace vk {

enum class ChartFileType { Png, Jpeg, Bmp, Pdf };

// The type by the file's ending (.png, .jpg/.jpeg, .bmp, .pdf, any case).
// Returns: nothing for any other ending.
std::optional<ChartFileType> Chart_File_Type(const std::filesystem::path& path);

// Sets `p`'s transformation so that the 2500 x 2200 chart fills `page`
// (device units) as far as it can with its proportion kept, centred.
// Never fails.
void Fit_Chart_To(QPainter& p, const QRectF& page);

// The chart picture `img` scaled to `size` (the full 2500 x 2200 when it is
// the same) written as PNG, JPEG or BMP by the ending of `path`, under a
// temporary name renamed into place.
// Throws: Error naming `path` for another ending or when it cannot be
// written; no file is left then.
void Save_Chart_Picture(const QImage& img, const std::filesystem::path& path, QSize size);

// A PDF file of `pages` vector pages of `size` turned to `orientation`,
// without margins, at `dpi` device units per inch; `paint(p, k, rect)`
// paints page k (0 …) into `rect` (device units, the whole page). Written
// under a temporary name and renamed into place; the same pages give the same
// bytes (see Save_Chart_Pdf).
// Throws: Error naming `path` when it cannot be written; no file is left then.
void Save_Pdf_Pages(const std::filesystem::path& path, const QPageSize& size, QPageLayout::Orientation orientation,
                    int dpi, int pages, const std::function<void(QPainter&, int page, const QRectF& rect)>& paint);

// A PDF file of `pages` vector pages, each the size of the chart at 96 dpi
// (661.5 x 582.1 mm); `paint(p, k)` paints page k (0 …) in chart
// coordinates. Written under a temporary name and renamed into place. The
// same pages give the same bytes: the creation date is $SOURCE_DATE_EPOCH,
// or 2022-01-01 00:00 UTC without it, and the objects come in a fixed order.
// Throws: Error naming `path` when it cannot be written; no file is left then.
void Save_Chart_Pdf(const std::filesystem::path& path, int pages,
                    const std::function<void(QPainter&, int page)>& paint);

// The month sheet: one vector page per day [first_jd, last_jd] (Julian days
// of local 00:00) with `chart`'s display flags, as Save_Chart_Pdf. Leaves
// chart.Sel_JD at the last day. Throws: as Save_Chart_Pdf.
void Save_Day_Pages_Pdf(const std::filesystem::path& path, DayChart& chart, const EventStore& store,
                        const PhaseTable& phases, double first_jd, double last_jd);

// How a saved or printed chart is dressed: the heading naming the place, the
// zone and the mode, and the print colours (light background, dark lines and
// text) instead of the screen's.
struct tChartPage {
  tPageHeading heading;
  bool print_colours = false;
  QPageSize paper = System_Paper();  // for PDF pages (landscape)
};

// Height (pixels) of the heading band above a saved chart picture.
inline constexpr int kHeadingBand = 200;

// The palette of the page: Print_Palette() with print colours, else Screen_Palette().
const tChartPalette& Page_Palette(const tChartPage& page);

// The chart picture `img` (2500 x 2200, drawn in Page_Palette(page)) with
// the heading band above it (2500 x 2400 then) in the same colours. Never
// fails.
QImage Chart_Page_Image(const QImage& img, const tChartPage& page);
// The same for `chart`'s chosen day, drawn anew in Page_Palette(page)
// (which `chart` keeps); chart.Img is left as it was. Never fails.
QImage Chart_Page_Image(DayChart& chart, const EventStore& store, const PhaseTable& phases, const tChartPage& page);

// Paints a page of `page_rect` (device units of `dpi` per inch): the title
// and the heading at the top, below them the chart fitted into the rest
// inside the margins, painted by `paint_chart` in chart coordinates and in
// the palette it is handed (Page_Palette(page)), so as vector. Never fails.
void Paint_Chart_Page(QPainter& p, const QRectF& page_rect, double dpi, const QString& title, const tChartPage& page,
                      const std::function<void(QPainter&, const tChartPalette&)>& paint_chart);

// The month sheet (or one day) as Save_Day_Pages_Pdf, each day on a landscape
// page of page.paper with the heading and the chart fitted below it, drawn
// in Page_Palette(page) (which `chart` keeps). Throws: as Save_Chart_Pdf.
void Save_Day_Pages_Pdf(const std::filesystem::path& path, DayChart& chart, const EventStore& store,
                        const PhaseTable& phases, double first_jd, double last_jd, const tChartPage& page);

// The night view of a chart picture: each pixel becomes dark red of the
// pixel's brightness (0.299 R + 0.587 G + 0.114 B, scaled to at most 200),
// green and blue 0. Never fails.
QImage Night_View_Image(const QImage& img);

}  // namespace vk
