// The place box: completion as the user types, the place's site and zone,
// coordinates typed afterwards, the classic rows, the options file and a
// machine without a tz database.
#include <QAbstractItemView>
#include <QCompleter>
#include <QStringListModel>
#include <cstdlib>

#include "mainwindow/place_options.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::Ctl;
using test::WindowWorld;

QComboBox* Ort(const TForm_Main& w) { return Ctl<QComboBox>(w, "ComboBox_Ort"); }

// Keys for each character, umlauts as a German keyboard sends them.
void Type_Keys(QWidget* target, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(target, static_cast<char>(c.unicode()));
    else
      QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c), Qt::NoModifier);
  }
}

// Types `text` into the place box as a user would and returns the offered places.
QStringList Type_Place(TForm_Main& w, const QString& text) {
  QLineEdit* e = Ort(w)->lineEdit();
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  Type_Keys(e, text);
  QStringList offered;
  QAbstractItemModel* m = Ort(w)->completer()->completionModel();
  for (int r = 0; r < m->rowCount(); ++r) offered << m->index(r, 0).data().toString();
  return offered;
}

// A latitude put in its field and Enter pressed.
void Enter_Latitude(TForm_Main& w, const QString& text) {
  QLineEdit* lat = Ctl<QLineEdit>(w, "Edit_nLat");
  lat->setFocus();
  lat->setText(text);
  QTest::keyClick(lat, Qt::Key_Return);
}

std::string Zone_Name(const TForm_Main& w) {
  return w.Site_In_Force().Site_Zone ? w.Site_In_Force().Site_Zone->name : std::string("(classic)");
}

TEST(PlaceBox, CompletesAnywhereInTheNameIgnoringCaseAndAccents) {
  WindowWorld world;
  auto w = world.Open();
  EXPECT_EQ(Ort(*w)->currentText(), "eigene Koordinaten");
  const struct {
    const char* typed;
    const char* offered;
    int row;  // where in the list: whole names first, then names that begin with the text, then words
  } cases[] = {{"sydn", "Sydney \u2014 Australia/Sydney", 0},   {"zürich", "Zurich \u2014 Europe/Zurich", 0},
               {"zurich", "Zurich \u2014 Europe/Zurich", 0},    {"ZÜRICH", "Zurich \u2014 Europe/Zurich", 0},
               {"york", "York \u2014 America/Chicago", 0},      {"york", "New York \u2014 America/New_York", 4},
               {"lord h", "Lord Howe \u2014 Australia/Lord_Howe", 0}};
  for (const auto& c : cases) {
    const QStringList offered = Type_Place(*w, QString::fromUtf8(c.typed));
    EXPECT_EQ(offered.indexOf(QString::fromUtf8(c.offered)), c.row) << c.typed;
    EXPECT_TRUE(Ort(*w)->completer()->popup()->isVisible()) << c.typed;
  }
  EXPECT_GT(Type_Place(*w, "europe/").size(), 30);
  EXPECT_TRUE(Type_Place(*w, "xyzzy").isEmpty());
  EXPECT_EQ(Zone_Name(*w), "(classic)") << "typing alone chooses nothing";
}

TEST(PlaceBox, ChoosingAPlaceSetsSiteAndZoneAndTheLabel) {
  WindowWorld world;
  auto w = world.Open();
  w->Go_To_Day(CalendarToJD(2024, 7, 15, 0, 0, 0));
  Type_Place(*w, "sydn");
  QAbstractItemView* popup = Ort(*w)->completer()->popup();
  QTest::keyClick(popup, Qt::Key_Down);
  QTest::keyClick(popup, Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(Ort(*w)->currentText(), QString::fromUtf8("Sydney \u2014 Australia/Sydney"));
  EXPECT_NEAR(w->Site_In_Force().Site_nLat, -(33 + 52 / 60.0), 1e-9);
  EXPECT_NEAR(w->Site_In_Force().Site_eLon, 151 + 13 / 60.0, 1e-9);
  EXPECT_EQ(Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "-33.87");
  EXPECT_EQ(Zone_Name(*w), "Australia/Sydney");
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(AEST, UTC+10:00)");
  EXPECT_EQ(Ctl<QComboBox>(*w, "ComboBox_TZone")->currentText(), "Australia/Sydney");
  w->Go_To_Day(CalendarToJD(2024, 1, 15, 0, 0, 0));
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(AEDT, UTC+11:00)");
  // Moonrise at Sydney on 2024-01-15 in local summer time (UT + 11 h).
  EXPECT_NE(Ctl<QPlainTextEdit>(*w, "Memo1")->toPlainText().indexOf("MOO A: 2024-01-15  09:51:"), -1);

  // The same place again changes nothing and computes nothing.
  const auto log = world.dir / "Vesperkalend_2022-2032_Log.txt";
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(log, old);
  Type_Place(*w, "Sydney");
  QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(std::filesystem::last_write_time(log), old);
  EXPECT_EQ(Ort(*w)->currentText(), QString::fromUtf8("Sydney \u2014 Australia/Sydney"));

  // Berlin's summer time in German.
  Type_Place(*w, "berlin");
  QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  w->Go_To_Day(CalendarToJD(2024, 7, 15, 0, 0, 0));
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(MESZ, UTC+02:00)");
  // Text that names no place is said so; the typed text and the place in force stay.
  Type_Place(*w, "Atlantis");
  QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_TRUE(Ctl<QLabel>(*w, "StatusBar1")->text().startsWith(QString::fromUtf8("Ort „Atlantis“ unbekannt")));
  EXPECT_EQ(Ort(*w)->currentText(), "Atlantis");
  EXPECT_EQ(Zone_Name(*w), "Europe/Berlin");
  EXPECT_TRUE(world.messages.empty());
}

TEST(PlaceBox, TypedCoordinatesKeepTheZoneAndAClassicRowEndsIt) {
  WindowWorld world;
  auto w = world.Open();
  w->Go_To_Day(CalendarToJD(2024, 7, 15, 0, 0, 0));
  Type_Place(*w, "Tokyo");
  QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(JST, UTC+09:00)");
  Enter_Latitude(*w, "40");
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(Ort(*w)->currentText(), "eigene Koordinaten");
  EXPECT_EQ(w->Site_In_Force().Site_nLat, 40.0);
  EXPECT_EQ(Zone_Name(*w), "Asia/Tokyo");
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(JST, UTC+09:00)");

  Type_Place(*w, "Phoenix");
  QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  test::Click_Step(Ctl<QPushButton>(*w, "BitBtn_eLon_PlusSmall"));
  EXPECT_EQ(Ort(*w)->currentText(), "eigene Koordinaten");
  EXPECT_EQ(Zone_Name(*w), "America/Phoenix");
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(MST, UTC-07:00)") << "no summer time in July";

  // The row in force before the place (UTC+01:00) returns to the classic rule and its texts.
  QComboBox* zone = Ctl<QComboBox>(*w, "ComboBox_TZone");
  zone->setFocus();
  zone->lineEdit()->selectAll();
  QTest::keyClicks(zone->lineEdit(), "UTC+01:00");
  QTest::keyClick(zone->lineEdit(), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(Zone_Name(*w), "(classic)");
  EXPECT_EQ(w->Zone_Index(), 16);
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(+01:00 Sommerzeit)");
  EXPECT_EQ(zone->currentText(), "UTC+01:00");
}

TEST(PlaceBox, PlaceAndZoneAreKeptInTheOptionsFile) {
  WindowWorld world;
  const auto ini = world.dir / "config" / kOptionsFileName;
  {
    auto w = world.Open();
    w->close();
  }
  EXPECT_FALSE(std::filesystem::exists(ini)) << "a first start writes no options file";
  {
    auto w = world.Open();
    Type_Place(*w, "Lord Howe");
    QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(test::Settle(*w));
    w->close();
  }
  const PlaceOptions kept = ReadPlaceOptions(ini);
  EXPECT_EQ(kept.place, "Lord Howe \u2014 Australia/Lord_Howe");
  EXPECT_EQ(kept.zone, "Australia/Lord_Howe");
  auto w = world.Open();
  w->Go_To_Day(CalendarToJD(2024, 7, 15, 0, 0, 0));
  EXPECT_EQ(Ort(*w)->currentText(), QString::fromUtf8("Lord Howe \u2014 Australia/Lord_Howe"));
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(+1030, UTC+10:30)");
  w->Go_To_Day(CalendarToJD(2024, 1, 15, 0, 0, 0));
  EXPECT_EQ(Ctl<QLabel>(*w, "Label_DST")->text().toStdString(), "(+11, UTC+11:00)") << "half an hour of summer time";
  EXPECT_NEAR(w->Site_In_Force().Site_nLat, -(31 + 33 / 60.0), 1e-9) << "from the settings file";
  w.reset();
  // The list is read after the first chart: a window closed before keeps the
  // place; a latitude typed before gives own coordinates, not the kept place.
  for (const bool typed : {false, true}) {
    auto early = std::make_unique<TForm_Main>(world.Options());
    early->show();
    EXPECT_EQ(early->Place_Display(), kept.place) << "shown by its kept name meanwhile";
    if (typed) {
      Enter_Latitude(*early, "40");
      ASSERT_TRUE(test::Settle(*early));
      EXPECT_EQ(Ort(*early)->currentText(), "eigene Koordinaten");
      EXPECT_TRUE(Ort(*early)->isEnabled());
    }
    early->close();
    EXPECT_EQ(ReadPlaceOptions(ini).place, typed ? "" : kept.place) << typed;
  }
}

TEST(PlaceBox, DamagedOrForeignOptionsFilesGiveTheClassicRule) {
  const char* contents[] = {"", "[Ort]\nZeitzone=Mars/Olympus\nName=Nowhere\n", "\x01\x02 not an ini \xff",
                            "[Ort]\nZeitzone=../../etc/passwd\n"};
  for (const char* c : contents) {
    WindowWorld world;
    test::WriteFile(world.dir / "config" / kOptionsFileName, c);
    auto w = world.Open();
    EXPECT_EQ(Zone_Name(*w), "(classic)") << c;
    EXPECT_EQ(Ort(*w)->currentText(), "eigene Koordinaten") << c;
    EXPECT_TRUE(world.messages.empty()) << c;
  }
  // Other keys of the file are kept when the place is written.
  WindowWorld world;
  const auto ini = world.dir / "config" / kOptionsFileName;
  test::WriteFile(ini, "[Anzeige]\nGenau=1\n");
  WritePlaceOptions(ini, {"Sydney \u2014 Australia/Sydney", "Australia/Sydney"});
  const std::string text = test::ReadFile(ini);
  EXPECT_NE(text.find("Genau=1"), std::string::npos) << text;
  EXPECT_NE(text.find("Zeitzone=Australia/Sydney"), std::string::npos) << text;
  EXPECT_FALSE(std::filesystem::exists(ini.string() + ".tmp"));
}

TEST(PlaceBox, WithoutATzDatabaseOnlyTheFortyRowsAndOneStatusText) {
  WindowWorld world;
  test::WriteFile(world.dir / "config" / kOptionsFileName, "[Ort]\nZeitzone=Australia/Sydney\n");
  ::setenv("TZDIR", (world.dir / "no-zoneinfo").c_str(), 1);
  auto w = world.Open();
  ::unsetenv("TZDIR");
  EXPECT_FALSE(Ort(*w)->isEnabled());
  EXPECT_EQ(Ort(*w)->count(), 0);
  EXPECT_EQ(Ctl<QComboBox>(*w, "ComboBox_TZone")->count(), 40);
  EXPECT_EQ(Zone_Name(*w), "(classic)");
  EXPECT_TRUE(Ctl<QLabel>(*w, "StatusBar1")->text().startsWith("Keine Zeitzonen-Datenbank"))
      << Ctl<QLabel>(*w, "StatusBar1")->text().toStdString();
  EXPECT_NE(Ctl<QLabel>(*w, "StatusBar1")->text().indexOf("zone1970.tab"), -1);
  EXPECT_TRUE(world.messages.empty());
}


// German names, towns of the list and misspellings, typed with real keys and Enter.
TEST(PlaceBox, TownsByTheirGermanNamesAndUnknownNamesWithCloseMatches) {
  WindowWorld world;
  auto w = world.Open();
  const struct {
    const char* typed;
    const char* shown;  // the box's text after Enter
    const char* zone;
    double lat;
  } chosen[] = {
      {"Wien", "Wien (Vienna) \u2014 Europe/Vienna", "Europe/Vienna", 48 + 13 / 60.0},
      {"wien", "Wien (Vienna) \u2014 Europe/Vienna", "Europe/Vienna", 48 + 13 / 60.0},
      {"Munchen", "München (Munich) \u2014 Europe/Berlin", "Europe/Berlin", 48.15},
      {"München", "München (Munich) \u2014 Europe/Berlin", "Europe/Berlin", 48.15},
      {"Hamburg", "Hamburg \u2014 Europe/Berlin", "Europe/Berlin", 53.55},
      {"Köln", "Köln \u2014 Europe/Berlin", "Europe/Berlin", 50.9333},
  };
  for (const auto& c : chosen) {
    Type_Place(*w, QString::fromUtf8(c.typed));
    QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(test::Settle(*w));
    EXPECT_EQ(Ort(*w)->currentText().toStdString(), c.shown) << c.typed;
    EXPECT_EQ(Zone_Name(*w), c.zone) << c.typed;
    EXPECT_NEAR(w->Site_In_Force().Site_nLat, c.lat, 1e-9) << c.typed;
    EXPECT_NE(Ort(*w)->toolTip().indexOf(QString::fromUtf8(c.shown)), -1) << "the whole name in the tooltip";
  }
  // An unknown name is said so, with the close matches offered to choose from.
  QLabel* status = Ctl<QLabel>(*w, "StatusBar1");
  Type_Place(*w, "Hamburk");
  QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(status->text().startsWith(QString::fromUtf8("Ort „Hamburk“ unbekannt; ähnlich: Hamburg \u2014 Europe/Berlin")))
      << status->text().toStdString();
  QAbstractItemView* popup = Ort(*w)->completer()->popup();
  ASSERT_TRUE(popup->isVisible());
  QAbstractItemModel* offered = Ort(*w)->completer()->completionModel();
  ASSERT_EQ(offered->rowCount(), 5);
  EXPECT_EQ(offered->index(0, 0).data().toString(), QString::fromUtf8("Hamburg \u2014 Europe/Berlin"));
  EXPECT_EQ(Ort(*w)->currentText(), "Hamburk") << "the typed text stays";
  EXPECT_EQ(Zone_Name(*w), "Europe/Berlin");
  EXPECT_NEAR(w->Site_In_Force().Site_nLat, 50.9333, 1e-9) << "the place in force (Köln) stays";
  QTest::keyClick(popup, Qt::Key_Down);
  QTest::keyClick(popup, Qt::Key_Down);  // the second close match
  const QString second = offered->index(1, 0).data().toString();
  QTest::keyClick(popup, Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(Ort(*w)->currentText(), second);
  // Several places fit: said so, and they are offered.
  Type_Place(*w, "Springf");
  QTest::keyClick(Ort(*w)->lineEdit(), Qt::Key_Return);
  EXPECT_NE(status->text().indexOf(QString::fromUtf8("Orte passen zu „Springf“")), -1) << status->text().toStdString();
  EXPECT_TRUE(popup->isVisible());
  EXPECT_TRUE(world.messages.empty());
}

// The first start opens on the place of the system's zone; Zurich's zone, an
// unknown zone or a start that is not the first keep the documented site.
TEST(PlaceBox, FirstStartTakesThePlaceOfTheSystemsZone) {
  const struct {
    const char* system_zone;
    const char* options;   // the options file's contents; nullptr: none (a first start)
    const char* place;     // the box's text
    const char* zone;
    const char* lat;       // the latitude field
  } cases[] = {
      {"America/New_York", nullptr, "New York \u2014 America/New_York", "America/New_York", "40.71"},
      {"Asia/Tokyo", nullptr, "Tokio (Tokyo) \u2014 Asia/Tokyo", "Asia/Tokyo", "35.65"},
      {"Europe/Zurich", nullptr, "eigene Koordinaten", "(classic)", "47.50"},
      {"", nullptr, "eigene Koordinaten", "(classic)", "47.50"},
      {"Mars/Olympus", nullptr, "eigene Koordinaten", "(classic)", "47.50"},
      {"CET-1CEST", nullptr, "eigene Koordinaten", "(classic)", "47.50"},
      {"America/New_York", "[Anzeige]\nGenau=1\n", "eigene Koordinaten", "(classic)", "47.50"},
      // A place kept under the name it had before it showed its German name.
      {"America/New_York", "[Ort]\nName=Vienna \u2014 Europe/Vienna\nZeitzone=Europe/Vienna\n",
       "Wien (Vienna) \u2014 Europe/Vienna", "Europe/Vienna", "47.50"},
  };
  for (const auto& c : cases) {
    WindowWorld world;
    world.system_zone = c.system_zone;
    if (c.options) test::WriteFile(world.dir / "config" / kOptionsFileName, c.options);
    auto w = world.Open();
    EXPECT_EQ(Ort(*w)->currentText().toStdString(), c.place) << c.system_zone;
    EXPECT_EQ(Zone_Name(*w), c.zone) << c.system_zone;
    EXPECT_EQ(Ctl<QLineEdit>(*w, "Edit_nLat")->text().toStdString(), c.lat) << c.system_zone;
    EXPECT_EQ(w->Zone_Index(), 16) << c.system_zone;
    EXPECT_TRUE(world.messages.empty()) << c.system_zone;
  }
  // Coordinates typed at an earlier start, without an options file, stay.
  WindowWorld world;
  {
    auto w = world.Open();
    Enter_Latitude(*w, "52");
    ASSERT_TRUE(test::Settle(*w));
    w->close();
  }
  ASSERT_FALSE(std::filesystem::exists(world.dir / "config" / kOptionsFileName));
  world.system_zone = "America/New_York";
  auto w = world.Open();
  EXPECT_EQ(Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "52.00");
  EXPECT_EQ(Zone_Name(*w), "(classic)");
}

// The lists of both boxes are as wide as their longest entry.
TEST(PlaceBox, ListsAreWideEnoughForTheirLongestEntry) {
  WindowWorld world;
  auto w = world.Open();
  for (QComboBox* box : {Ort(*w), Ctl<QComboBox>(*w, "ComboBox_TZone")}) {
    int widest = 0;
    const QFontMetrics metrics(box->view()->font());
    for (int i = 0; i < box->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(box->itemText(i)));
    EXPECT_GT(box->view()->minimumWidth(), widest) << box->objectName().toStdString();
  }
}

}  // namespace
}  // namespace vk
