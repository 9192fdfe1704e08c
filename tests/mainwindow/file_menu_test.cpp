// The menu "Datei": chart pictures and PDF, month sheet, printing, calendar export.
#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTimer>
#include <memory>
#include <functional>
#include <sys/wait.h>

#include "export/event_groups.h"
#include "mainwindow/events_dialog.h"
#include "mainwindow/form_file_menu.h"
#include "timecalc/calendar.h"
#include "base/error.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::WindowWorld;

int Shell(const std::string& cmd) {
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Runs `act` once on the next modal dialog of type D, one tick after it has
// opened (a dialog still setting itself up may ignore an answer).
template <class D>
void On_Modal(std::function<void(D*)> act) {
  auto* timer = new QTimer;
  auto seen = std::make_shared<QWidget*>(nullptr);  // compared only
  QObject::connect(timer, &QTimer::timeout, [timer, act, seen] {
    auto* d = dynamic_cast<D*>(QApplication::activeModalWidget());
    if (d == nullptr || !d->isVisible()) return;
    if (*seen != d) {
      *seen = d;
      return;
    }
    timer->stop();
    timer->deleteLater();
    act(d);
  });
  timer->start(20);
}

// Answers the next file dialog with `path`.
void Answer_File_Dialog(const std::filesystem::path& path) {
  On_Modal<QFileDialog>([path](QFileDialog* d) {
    // Typed into the name field, as a user would (selectFile leaves a focused field alone).
    auto* name = d->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(path.string()));
    static_cast<QDialog*>(d)->accept();
  });
}

QAction* Action(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions())
    if (a->text().remove('&') == text) return a;
  return nullptr;
}

class FileMenu : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    world_ = new WindowWorld;
    // The file dialogs start in, and keep their history under, a folder of the test's own.
    qputenv("HOME", QByteArray::fromStdString(world_->dir.path().string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((world_->dir / "xdg").string()));
    window_ = world_->Open().release();
    window_->Go_To_Day(CalendarToJD(2024, 4, 8, 0, 0, 0));
  }
  static void TearDownTestSuite() {
    delete window_;
    delete world_;
  }
  void SetUp() override { world_->messages.clear(); }
  QMenu* Menu() {
    const auto actions = w.menuBar()->actions();
    return actions.isEmpty() ? nullptr : actions.first()->menu();
  }
  static WindowWorld* world_;
  static TForm_Main* window_;
  TForm_Main& w = *window_;
  test::TempDir out;
};
WindowWorld* FileMenu::world_ = nullptr;
TForm_Main* FileMenu::window_ = nullptr;

TEST_F(FileMenu, FirstInTheBarWithItsEntries) {
  QMenu* menu = Menu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), "&Datei");
  for (const char* text : {"Diagramm speichern …", "Diagramm in Bildschirmgröße speichern …", "Monatsblatt speichern …",
                           "Jahrestabelle …", "Monatsseite …", "Drucken …", "Termine exportieren …", "Bildschirmfoto beim Beenden speichern"})
    EXPECT_NE(Action(menu, QString::fromUtf8(text)), nullptr) << text;
  EXPECT_EQ(Action(menu, QString::fromUtf8("Bildschirmfoto beim Beenden speichern"))->objectName(), kScreendumpActionName);
}

TEST_F(FileMenu, SavesPicturesAtFullAndScreenSize) {
  const struct {
    const char* action;
    const char* name;
    bool full;
  } cases[] = {
      {"Diagramm speichern …", "full.png", true},
      {"Diagramm speichern …", "full.jpg", true},
      {"Diagramm speichern …", "full.bmp", true},
      {"Diagramm in Bildschirmgröße speichern …", "screen.png", false},
  };
  for (const auto& c : cases) {
    Answer_File_Dialog(out / c.name);
    Action(Menu(), QString::fromUtf8(c.action))->trigger();
    const QImage img(QString::fromStdString((out / c.name).string()));
    ASSERT_FALSE(img.isNull()) << c.name;
    // The heading band above the chart grows the height by its share.
    const QSize screen = w.Displayed_Chart().size();
    EXPECT_EQ(img.size(), c.full ? QSize(2500, 2400) : QSize(screen.width(), screen.height() * 2400 / 2200)) << c.name;
  }
  EXPECT_TRUE(world_->messages.empty());
}

// A name typed without an ending takes the chosen filter's; each save is
// confirmed in the status bar, in place of an error shown before it.
TEST_F(FileMenu, ANameWithoutEndingTakesTheFiltersAndTheSaveIsConfirmed) {
  const struct {
    const char* action;
    const char* typed;
    const char* saved;
  } cases[] = {
      {"Diagramm speichern …", "ohne_endung", "ohne_endung.png"},
      {"Diagramm speichern …", "bild.PNG", "bild.PNG"},
      {"Diagramm speichern …", "notiz.txt", "notiz.txt.png"},
      {"Monatsblatt speichern …", "monat_ohne_endung", "monat_ohne_endung.pdf"},
  };
  auto* status = test::Ctl<QLabel>(w, "StatusBar1");
  for (const auto& c : cases) {
    Answer_File_Dialog(out / "kein_ordner" / "x.png");  // fails: an error in red first
    Action(Menu(), QString::fromUtf8("Diagramm speichern …"))->trigger();
    ASSERT_FALSE(status->text().startsWith("Gespeichert")) << c.typed;
    Answer_File_Dialog(out / c.typed);
    Action(Menu(), QString::fromUtf8(c.action))->trigger();
    EXPECT_TRUE(std::filesystem::exists(out / c.saved)) << c.typed;
    EXPECT_EQ(status->text(), QString::fromStdString("Gespeichert: " + (out / c.saved).string())) << c.typed;
    EXPECT_EQ(status->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button)) << c.typed;
  }
  try {
    Save_Form_Chart(w, out / "chart.gif", QSize(100, 100));
    ADD_FAILURE() << "a .gif was saved";
  } catch (const Error& e) {
    EXPECT_NE(e.describe().find(".png, .jpg, .jpeg, .bmp or .pdf"), std::string::npos) << e.describe();
  }
}

TEST_F(FileMenu, SavesAVectorPdfPage) {
  Answer_File_Dialog(out / "chart.pdf");
  Action(Menu(), QString::fromUtf8("Diagramm speichern …"))->trigger();
  EXPECT_EQ(Shell("pdfinfo '" + (out / "chart.pdf").string() + "' | grep -q '^Pages: *1$'"), 0);
  // A4 landscape with the heading naming place, zone and mode.
  EXPECT_EQ(Shell("pdfinfo '" + (out / "chart.pdf").string() + "' | grep -q '^Page size: *842 x 595 pts (A4)'"), 0);
  EXPECT_EQ(Shell("pdftotext '" + (out / "chart.pdf").string() + "' - | grep -q '^Ort: .*° N, .*° O'"), 0);
  EXPECT_EQ(Shell("pdftotext '" + (out / "chart.pdf").string() + "' - | grep -q '^Zeitzone: '"), 0);
  EXPECT_EQ(Shell("pdftotext '" + (out / "chart.pdf").string() + "' - | grep -q '^Zeiten: '"), 0);
  // Vector: the title is text in the page, not pixels.
  EXPECT_EQ(Shell("pdftotext '" + (out / "chart.pdf").string() + "' - | grep -q '2024-04-08'"), 0);
}

TEST_F(FileMenu, MonthSheetHasOnePagePerDay) {
  Answer_File_Dialog(out / "april.pdf");
  Action(Menu(), QString::fromUtf8("Monatsblatt speichern …"))->trigger();
  EXPECT_EQ(Shell("pdfinfo '" + (out / "april.pdf").string() + "' | grep -q '^Pages: *30$'"), 0);
  EXPECT_EQ(Shell("pdftotext -f 30 -l 30 '" + (out / "april.pdf").string() + "' - | grep -q '2024-04-30'"), 0);
  EXPECT_EQ(w.Chart().Sel_JD, CalendarToJD(2024, 4, 8, 0, 0, 0));  // the window's own chart untouched
}

// The year table and the month page of the chosen day (2024-04-08) from the
// menu, in each form the dialog offers; the text box shows the day's light.
TEST_F(FileMenu, YearTableAndMonthPageFromTheMenu) {
  const struct {
    const char* action;
    const char* typed;
    const char* saved;
    const char* check;  // a shell test on the saved file
  } cases[] = {
      {"Jahrestabelle …", "jahr", "jahr.pdf",
       "pdfinfo '%s' | grep -q '^Pages: *3$' && pdftotext '%s' - | grep -q 'Sonnenaufgang und Sonnenuntergang 2024'"},
      {"Jahrestabelle …", "jahr.csv", "jahr.csv", "test $(grep -c '^2024-' '%s') -eq 366"},
      {"Jahrestabelle …", "jahr.txt", "jahr.txt", "grep -q '^Mondaufgang und Monduntergang 2024$' '%s'"},
      {"Monatsseite …", "april.pdf", "april.pdf",
       "pdfinfo '%s' | grep -q '^Pages: *1$' && pdftotext '%s' - | grep -q 'April 2024'"},
  };
  for (const auto& c : cases) {
    Answer_File_Dialog(out / c.typed);
    ASSERT_NE(Action(Menu(), QString::fromUtf8(c.action)), nullptr) << c.action;
    Action(Menu(), QString::fromUtf8(c.action))->trigger();
    const std::string path = (out / c.saved).string();
    ASSERT_TRUE(std::filesystem::exists(path)) << c.saved;
    std::string cmd = c.check;
    for (std::size_t at; (at = cmd.find("%s")) != std::string::npos;) cmd.replace(at, 2, path);
    EXPECT_EQ(Shell(cmd), 0) << cmd;
  }
  EXPECT_TRUE(world_->messages.empty());
  EXPECT_THROW(Save_Form_Year_Table(w, out / "jahr.png"), Error);
  EXPECT_FALSE(std::filesystem::exists(out / "jahr.png"));
  const QString memo = test::Ctl<QPlainTextEdit>(w, "Memo1")->toPlainText();
  EXPECT_TRUE(memo.contains(QRegularExpression("\\nMond: \\d+\\.\\d % beleuchtet, Alter \\d+\\.\\d\\d Tage")))
      << memo.toStdString();
  EXPECT_TRUE(memo.contains(QRegularExpression("\\nTageslänge: 13:\\d\\d:\\d\\d$"))) << memo.toStdString();
}

TEST_F(FileMenu, UnwritablePathShowsAMessageAndLeavesNothing) {
  // What the menu entries run once the file dialog has a name.
  for (const char* name : {"missing/chart.png", "missing/chart.pdf", "missing/april.pdf"}) {
    world_->messages.clear();
    const auto path = out / name;
    w.Guarded([&] {
      if (std::string(name) == "missing/april.pdf")
        Save_Form_Month(w, path);
      else
        Save_Form_Chart(w, path, QSize(2500, 2200));
    });
    ASSERT_EQ(world_->messages.size(), 1u) << name;
    EXPECT_TRUE(world_->messages[0].second.contains(QString::fromStdString(path.string())))
        << world_->messages[0].second.toStdString();
  }
  EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST_F(FileMenu, PrintingWithoutPrinterSaysSo) {
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is configured here";
  Action(Menu(), QString::fromUtf8("Drucken …"))->trigger();
  ASSERT_EQ(world_->messages.size(), 1u);
  EXPECT_TRUE(world_->messages[0].second.contains("Kein Drucker eingerichtet"));
}

// The printer's paper turned to landscape, the heading at the top and the
// chart fitted below it; with "Druckfarben" (kept in the options file) the
// chart is light with dark lines, the window's chart unchanged.
TEST_F(FileMenu, PrintFitsTheLandscapePage) {
  const struct {
    QPageSize::PageSizeId paper;
    bool print_colours;
    const char* size;  // pdfinfo's page size
  } cases[] = {
      {QPageSize::A4, false, "842 x 595 pts (A4)"},
      {QPageSize::Letter, true, "792 x 612 pts (letter)"},
  };
  QAction* colours = test::Ctl<QAction>(w, "PrintColoursAction");
  const QImage screen = w.Chart().Img.copy();
  for (const auto& c : cases) {
    colours->setChecked(c.print_colours);
    EXPECT_EQ(Read_Print_Colours_Option(w.Options_Path()), c.print_colours);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = (out / "printed.pdf").string();
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPageSize(QPageSize(c.paper));
    printer.setPageOrientation(QPageLayout::Portrait);  // the chart turns it
    Print_Form_Chart(w, printer);
    EXPECT_EQ(Shell("pdfinfo '" + pdf + "' | grep -q 'Page size: *" + c.size + "'"), 0) << c.size;
    EXPECT_EQ(Shell("pdftotext '" + pdf + "' - | grep -q '^Ort: '"), 0) << c.size;
    // The chart fills the page's height below the heading: the middle of the
    // page is the chart's background, black or, in print colours, light.
    ASSERT_EQ(Shell("pdftoppm -r 20 -png '" + pdf + "' '" + (out / "printed").string() + "'"), 0);
    const QImage page(QString::fromStdString((out / "printed-1.png").string()));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height()) << c.size;
    const QRgb middle = page.pixel(page.width() * 62 / 100, page.height() / 2);  // the event list, late morning
    if (c.print_colours)
      EXPECT_GT(qGray(middle), 200) << c.size;
    else
      EXPECT_LT(qGray(middle), 60) << c.size;
    EXPECT_GT(qGray(page.pixel(page.width() / 2, 3)), 200) << c.size;  // the top margin stays paper
  }
  EXPECT_TRUE(w.Chart().Img == screen);  // the screen's colours unchanged
}

TEST_F(FileMenu, SavedPicturesCarryTheHeadingBand) {
  const struct {
    bool print_colours;
    bool screen_size;
    QSize size;
  } cases[] = {
      {false, false, QSize(2500, 2400)},
      {true, false, QSize(2500, 2400)},
      {false, true, QSize(919, 809 * 2400 / 2200)},
  };
  QAction* colours = test::Ctl<QAction>(w, "PrintColoursAction");
  for (const auto& c : cases) {
    colours->setChecked(c.print_colours);
    const auto path = out / "saved.png";
    Save_Form_Chart(w, path, c.screen_size ? QSize(919, 809) : QSize(2500, 2200));
    const QImage img(QString::fromStdString(path.string()));
    ASSERT_EQ(img.size(), c.size);
    // The corner of the chart below the band: black on the screen, paper in print colours.
    const int gray = qGray(img.pixel(img.width() - 2, img.height() - 2));
    EXPECT_EQ(gray > 200, c.print_colours) << gray;
  }
}

TEST_F(FileMenu, ExportsTheChosenKindsOfTheChosenDays) {
  On_Modal<EventsDialog>([](EventsDialog* d) {
    d->From_Edit->setDate(QDate(2024, 4, 1));
    d->To_Edit->setDate(QDate(2024, 4, 30));
    for (std::size_t k = 0; k < d->Kind_Boxes.size(); ++k)
      d->Kind_Boxes[k]->setChecked(Event_Groups[k].group == EventCategory::MoonPhase);
    d->accept();
  });
  // The file dialog follows the events dialog (the answer waits for it).
  Answer_File_Dialog(out / "april.ics");
  Action(Menu(), QString::fromUtf8("Termine exportieren …"))->trigger();
  const std::string ics = test::ReadFile(out / "april.ics");
  int events = 0;
  for (std::size_t p = ics.find("BEGIN:VEVENT"); p != std::string::npos; p = ics.find("BEGIN:VEVENT", p + 1)) ++events;
  EXPECT_EQ(events, 4);  // last quarter, new moon, first quarter, full moon
  EXPECT_NE(ics.find("SUMMARY:Mond: Vollmond\r\n"), std::string::npos);
}

// The dialog opens with the default kinds (one start of each season); the
// seasons by the equator are offered only while the seasons are chosen. The
// file names the site: no place is chosen, so its coordinates.
TEST_F(FileMenu, ExportDialogStartsWithTheDefaultKinds) {
  const struct {
    const char* label;
    bool seasons;  // "Jahreszeiten" checked
    bool equator;  // "Jahreszeiten auch nach dem Äquator" checked
    bool both;     // Equator_Seasons()
  } cases[] = {
      {"as opened", true, false, false},
      {"equator too", true, true, true},
      {"equator without seasons", false, true, false},
  };
  for (const auto& c : cases) {
    EventsDialog d(&w, QDate(2024, 3, 1), QDate(2022, 1, 1), QDate(2031, 12, 31));
    tGroupSet shown = 0;
    for (std::size_t k = 0; k < d.Kind_Boxes.size(); ++k)
      if (d.Kind_Boxes[k]->isChecked()) shown |= Group_Bit(Event_Groups[k].group);
    EXPECT_EQ(shown, kDefaultGroups);
    ASSERT_NE(d.Equator_Seasons_Box, nullptr);
    EXPECT_FALSE(d.Equator_Seasons_Box->isChecked());
    EXPECT_TRUE(d.Equator_Seasons_Box->isEnabled());
    for (std::size_t k = 0; k < d.Kind_Boxes.size(); ++k)
      if (Event_Groups[k].group == EventCategory::Season) d.Kind_Boxes[k]->setChecked(c.seasons);
    d.Equator_Seasons_Box->setChecked(c.equator);
    EXPECT_EQ(d.Equator_Seasons_Box->isEnabled(), c.seasons) << c.label;
    EXPECT_EQ(d.Equator_Seasons(), c.both) << c.label;
  }
  // March 2024 with the default kinds: the March equinox once, by the ecliptic.
  const int n = Export_Form_Events(w, out / "march.ics", QDate(2024, 3, 1), QDate(2024, 3, 31), kDefaultGroups);
  const std::string ics = test::ReadFile(out / "march.ics");
  EXPECT_NE(ics.find("SUMMARY:Sonne: Frühlingsanfang (Ekliptik)\r\n"), std::string::npos);
  EXPECT_EQ(ics.find("(Äquator)"), std::string::npos);
  EXPECT_EQ(ics.find("im Meridian"), std::string::npos);
  EXPECT_NE(ics.find("X-WR-CALNAME:Vesperkalend: 47.50° N\\, 7.50° O\r\n"), std::string::npos);
  EXPECT_GT(n, 31 * 2);      // sunrise and sunset every day
  EXPECT_LT(n, 31 * 2 + 10);  // and a few more
  EXPECT_EQ(Export_Form_Events(w, out / "both.ics", QDate(2024, 3, 1), QDate(2024, 3, 31), kDefaultGroups, true), n + 1);
}

TEST_F(FileMenu, ExportRefusesStartAfterEndAndUnwritablePaths) {
  EXPECT_THROW(Export_Form_Events(w, out / "a.ics", QDate(2024, 4, 10), QDate(2024, 4, 1), kAllGroups), Error);
  EXPECT_THROW(Export_Form_Events(w, out / "missing" / "a.ics", QDate(2024, 4, 1), QDate(2024, 4, 1), kAllGroups),
               Error);
  EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

}  // namespace
}  // namespace vk
