// The window in English: every text of the panels translated and within its
// control at the documented size, the menus, the chart, the language menu and
// its option, Qt's own dialogs in the chosen language, and --lang.
#include <QCheckBox>
#include <QCoreApplication>
#include <QRegularExpression>

#include "chart/day_chart.h"
#include "language/translations.h"
#include "mainwindow/options_file.h"
#include "support/run_tool.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::Ctl;
using test::WindowWorld;

// English for the test's span, German again after it.
class EnglishWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(InstallLanguage(Language::English), std::vector<std::string>{}); }
  void TearDown() override { InstallLanguage(Language::German); }
};

QMenu* Menu(TForm_Main& w, const QString& title) {
  for (QAction* a : w.menuBar()->actions())
    if (a->menu() != nullptr && a->text().remove('&') == title) return a->menu();
  return nullptr;
}

QStringList Texts(QMenu* menu) {
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text().remove('&');
  return texts;
}

// No German letter and none of the German words the window used.
bool Looks_German(const QString& text) {
  static const QRegularExpression german(
      "[äöüÄÖÜß]|Sonne|Planeten|Heute|Breite|Länge|Zeitzone|\\bOrt\\b|Datei|Ansicht|Diagramm|anpassen|Jahr|Monat|Tag\\b");
  return german.match(text).hasMatch();
}

TEST_F(EnglishWindow, EveryPanelTextIsEnglishAndFitsItsControl) {
  WindowWorld world;
  auto w = world.Open();
  const struct {
    const char* name;
    const char* text;  // the English text, or empty for the tooltip only
  } controls[] = {
      {"Button_Heute", "Today"},
      {"CheckBox_Daemmerungen", "Sun: rise / set / twilight"},
      {"CheckBox_Auf_Untergaenge", "Planets: rise / set"},
      {"CheckBox_Meridian", "Planets: meridian transit"},
      {"Label_TZone", "Zone"},
      {"Label_Ort", "Place"},
      {"Label_nLat", "Latitude +=N -=S"},
      {"Label_eLon", "Longitude +=E -=W"},
      {"Button_Monde_anpassen", "Prepare Moon"},
      {"Button_Venus_anpassen", "Prepare Venus"},
      {"Button_Merkur_anpassen", "Prepare Mercury"},
  };
  for (const auto& c : controls) {
    QWidget* widget = Ctl<QWidget>(*w, c.name);
    ASSERT_NE(widget, nullptr);
    QString text;
    int room = widget->width();
    int needed = 0;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      text = label->text();
      needed = label->fontMetrics().horizontalAdvance(text);
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
      text = box->text();
      needed = box->sizeHint().width();
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      text = button->text();
      needed = button->fontMetrics().horizontalAdvance(text) + 8;  // the frame's margins
    }
    EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.name;
    EXPECT_LE(needed, room) << c.name << " \"" << text.toStdString() << "\" is cut";
  }
  // The summer-time label with its widest text, a summer and a winter day.
  auto* dst = Ctl<QLabel>(*w, "Label_DST");
  const struct {
    const char* german;
    const char* english;
  } dst_texts[] = {{"(+01:00 Sommerzeit)", "(+01:00 DST)"}, {"(Normalzeit)", "(standard time)"}};
  for (const auto& [german, text] : dst_texts) {
    dst->setText(QString::fromStdString(Chart_Tr(german)));
    EXPECT_EQ(dst->text(), text) << "untranslated";
    EXPECT_LE(dst->fontMetrics().horizontalAdvance(dst->text()), dst->width()) << text;
  }
  // The glyph buttons' tooltips, the place box's and its empty text.
  for (const char* name : {"BitBtn_Jahr_Plus", "BitBtn_Daag_Minus", "BitBtn_nLat_MinusSmall", "BitBtn_eLon_PlusSmall"}) {
    const QString tip = Ctl<QWidget>(*w, name)->toolTip();
    EXPECT_FALSE(tip.isEmpty() || Looks_German(tip)) << name << ": " << tip.toStdString();
  }
  EXPECT_EQ(Ctl<QWidget>(*w, "ComboBox_Ort")->toolTip(), "Type or choose a place: sets latitude, longitude and time zone");
}

TEST_F(EnglishWindow, MenusChartAndLanguageChoice) {
  WindowWorld world;
  auto w = world.Open();
  QStringList bar;
  for (QAction* a : w->menuBar()->actions()) bar << a->text().remove('&');
  EXPECT_EQ(bar, QStringList({"File", "Exit", "Make binary files", "Compute all data", "View", "Help"}));
  EXPECT_EQ(Texts(Menu(*w, "File")), QStringList({"Save chart …", "Save chart at screen size …", "Save month sheet …",
                                                  "Year table …", "Month page …", "Print colours", "Print …", "Export events …", "Save a screen dump at close"}));
  EXPECT_EQ(Texts(Menu(*w, "View")),
            QStringList({"Exact times", "Photographer's light", "Labels with leader lines", "Legend of the columns",
                         "Now line", "Language", "Zoom in", "Zoom out", "Whole chart", "Night view"}));
  EXPECT_EQ(Texts(Menu(*w, "Help")), QStringList({"About"}));
  auto* grid = Ctl<QTableWidget>(*w, "StringGrid_VersionsInfo");
  EXPECT_EQ(grid->item(2, 0)->text().trimmed(), "FileDescription");
  EXPECT_EQ(grid->item(2, 1)->text(), "Vesperkalend – sky almanac");

  // The chart of 2024-04-08: the weekday, the bodies and the events in English.
  EXPECT_EQ(Chart_Title(w->Chosen_Day()), "2024-04-08  Monday");
  bool noon = false;
  for (const tListedEvent& e : w->Chart().Listed_Events) {
    noon |= e.body == "Sun" && e.text == "true noon";
    EXPECT_FALSE(Looks_German(QString::fromStdString(e.body + " " + e.text))) << e.body << " " << e.text;
  }
  EXPECT_TRUE(noon);
  EXPECT_EQ(w->Chart().Memo1.at(0).substr(0, 7), "MOO R: ");

  // "Language": English is checked; choosing German keeps it for the next start.
  auto* english = Ctl<QAction>(*w, "Sprache_en");
  auto* german = Ctl<QAction>(*w, "Sprache_de");
  EXPECT_TRUE(english->isChecked());
  EXPECT_EQ(german->text(), "Deutsch");
  german->trigger();
  EXPECT_EQ(ReadLanguageOption(w->Options_Path()), Language::German);
  EXPECT_EQ(Ctl<QLabel>(*w, "StatusBar1")->text(), "The language changes at the next start of Vesperkalend");
  EXPECT_EQ(UiLanguage(), Language::English) << "the running window keeps its language";
  english->trigger();
  EXPECT_EQ(ReadLanguageOption(w->Options_Path()), Language::English);
  EXPECT_TRUE(Ctl<QLabel>(*w, "StatusBar1")->text().isEmpty());
}

TEST(LanguageOption, ReadsDeOrEnOnly) {
  test::TempDir dir;
  auto path = dir / kOptionsFileName;
  EXPECT_EQ(ReadLanguageOption(path), std::nullopt) << "no file";
  int n = 0;
  const struct {
    const char* file;
    std::optional<Language> language;
  } rows[] = {{"[View]\nLanguage=en\n", Language::English}, {"[View]\nLanguage=de\n", Language::German},
              {"[View]\nLanguage= EN \n", Language::English}, {"[View]\nLanguage=fr\n", std::nullopt},
              {"[View]\nLanguage=\n", std::nullopt},        {"[View]\nPreciseInstants=false\n", std::nullopt},
              {"Language=en\n", std::nullopt},              {"[View]\nLanguage", std::nullopt}};
  for (const auto& r : rows) {
    path = dir / ("options" + std::to_string(++n) + ".ini");  // a new file each: QSettings keeps what it read
    test::WriteFile(path, r.file);
    EXPECT_EQ(ReadLanguageOption(path), r.language) << r.file;
  }
  // Written beside the other keys, which stay.
  test::WriteFile(path, "[View]\nPreciseInstants=false\n[Ort]\nName=Basel\n");
  WriteLanguageOption(path, Language::English);
  EXPECT_EQ(ReadLanguageOption(path), Language::English);
  EXPECT_FALSE(ReadOptionsFile(path).precise_instants);
  EXPECT_EQ(ReadOptionValues(path, {"Ort/Name"}).at("Ort/Name"), "Basel");
}

TEST(QtDialogs, SpeakTheChosenLanguage) {
  // Qt's file dialog label, as Qt's own translation gives it.
  const auto look_in = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
  ASSERT_EQ(InstallLanguage(Language::German), std::vector<std::string>{});
  EXPECT_EQ(look_in(), "Suchen in:");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
  ASSERT_EQ(InstallLanguage(Language::English), std::vector<std::string>{});
  EXPECT_EQ(look_in(), "Look in:");
  EXPECT_EQ(QCoreApplication::translate("Window", "&Datei"), "&File");
  InstallLanguage(Language::German);
  EXPECT_EQ(QCoreApplication::translate("Window", "&Datei"), "&Datei") << "the English file is removed again";
  EXPECT_EQ(UiLanguage(), Language::German);
}

TEST(WindowCommandLine, LangTakesDeOrEn) {
  for (const char* bad : {"--lang", "--lang fr", "--lang=", "--lang EN"}) {
    const test::ToolResult r = test::RunProgram(VK_PROGRAM, std::string(bad) + " -platform offscreen");
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.err, "vesperkalend: --lang takes de or en\n") << bad;
  }
  const test::ToolResult help = test::RunProgram(VK_PROGRAM, "--lang en --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--lang de|en"), std::string::npos) << help.out;
}

}  // namespace
}  // namespace vk
