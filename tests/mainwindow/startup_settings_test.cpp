// Start-up with and without settings, version changes, close with screen dump and settings.
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include "mainwindow/form_file_menu.h"
#include "programfiles/settings_file.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::WindowWorld;

TEST(StartUp, FirstStartWritesTheDefaultSettings) {
  WindowWorld world;
  auto w = world.Open();
  EXPECT_TRUE(world.messages.empty()) << world.messages.front().second.toStdString();
  EXPECT_EQ(test::Ctl<QComboBox>(*w, "ComboBox_TZone")->currentText(), "UTC+01:00");
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "47.50");
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_eLon")->text(), "7.50");
  EXPECT_EQ(w->windowTitle(), "Vesperkalend 1.0.0.0");
  const std::string bytes = test::ReadFile(world.Settings());
  ASSERT_EQ(bytes.size(), 39u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x07" "1.0.0.0"));
  const unsigned char tail[] = {0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0xC0, 0x47, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1E, 0x40};
  for (std::size_t i = 0; i < sizeof tail; ++i)
    EXPECT_EQ(static_cast<unsigned char>(bytes[17 + i]), tail[i]) << "byte " << 17 + i;
  EXPECT_EQ(test::Ctl<QComboBox>(*w, "ComboBox_TZone")->itemText(15), "UTC");
  EXPECT_EQ(test::Ctl<QComboBox>(*w, "ComboBox_TZone")->count(), 40);
  EXPECT_EQ(test::Ctl<QTableWidget>(*w, "StringGrid_VersionsInfo")->item(3, 1)->text(), "1.0.0.0");
  EXPECT_EQ(test::Ctl<QTableWidget>(*w, "StringGrid_VersionsInfo")->item(12, 1)->text(), "Application");
  EXPECT_FALSE(test::Ctl<QAction>(*w, "Makebinaryfiles1")->isEnabled());
  EXPECT_FALSE(test::Ctl<QAction>(*w, "Computealldata1")->isEnabled());
  EXPECT_EQ(test::Date_Of(*w), "2024-04-08");
}

TEST(StartUp, AnotherVersionDeletesTheSettingsAndEnds) {
  for (const char* stored : {"0.9", "1.0.0", "1.0.0.0.1"}) {  // prefixes either way count as different
    WindowWorld world;
    SettingsRecord old = DefaultSettings(stored);
    old.zone = 30;
    std::filesystem::create_directories(world.dir / "config");
    WriteSettingsFile(world.Settings(), old);
    {
      auto w = world.Open();
      EXPECT_TRUE(w->End_Requested()) << stored;
      ASSERT_EQ(world.messages.size(), 1u) << stored;
      EXPECT_EQ(world.messages[0].first, QString::fromUtf8("Parameter der Vorgängerversion ") + stored +
                                             QString::fromUtf8(" werden gelöscht"));
      EXPECT_EQ(world.messages[0].second,
                QString::fromUtf8("Das Programm wird gleich beendet werden.\n\rBitte starten Sie Vesperkalend erneut."));
      EXPECT_FALSE(std::filesystem::exists(world.Settings()));
      w->close();  // closing after the deletion writes no settings
      EXPECT_FALSE(std::filesystem::exists(world.Settings()));
    }
    world.messages.clear();
    auto again = world.Open();
    EXPECT_FALSE(again->End_Requested());
    EXPECT_TRUE(world.messages.empty());
    EXPECT_EQ(test::Ctl<QComboBox>(*again, "ComboBox_TZone")->currentText(), "UTC+01:00");
  }
}

TEST(StartUp, StoredZoneOutsideTheTableFallsBackAndSiteIsRestored) {
  WindowWorld world;
  SettingsRecord rec = DefaultSettings("1.0.0.0");
  rec.zone = -1;
  rec.latitude = -33.86;
  rec.longitude = 151.21;
  std::filesystem::create_directories(world.dir / "config");
  WriteSettingsFile(world.Settings(), rec);
  auto w = world.Open();
  EXPECT_EQ(test::Ctl<QComboBox>(*w, "ComboBox_TZone")->currentIndex(), 16);
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "-33.86");
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_eLon")->text(), "151.21");
}

TEST(StartUp, ShortSettingsFileIsReadAsFarAsItGoes) {
  WindowWorld world;
  SettingsRecord rec = DefaultSettings("1.0.0.0");
  rec.zone = 20;
  std::filesystem::create_directories(world.dir / "config");
  test::WriteFile(world.Settings(), std::string(reinterpret_cast<const char*>(&rec), 22));
  auto w = world.Open();
  EXPECT_TRUE(world.messages.empty());
  EXPECT_EQ(test::Ctl<QComboBox>(*w, "ComboBox_TZone")->currentIndex(), 20);
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "0.00") << "the bytes not present stay zero";
}

// A FIFO under the settings file's name: the window opens (an alarm ends the
// test program if it waits), with one message naming the file and the reason.
TEST(StartUp, AFifoAsSettingsFileIsRefusedNotWaitedOn) {
  WindowWorld world;
  std::filesystem::create_directories(world.dir / "config");
  ASSERT_EQ(::mkfifo(world.Settings().c_str(), 0644), 0);
  ::alarm(60);
  auto w = world.Open();
  ::alarm(0);
  ASSERT_EQ(world.messages.size(), 1u);
  const std::string text = world.messages[0].second.toStdString();
  EXPECT_NE(text.find(world.Settings().string()), std::string::npos) << text;
  EXPECT_NE(text.find("Not a regular file (a FIFO)"), std::string::npos) << text;
}

TEST(StartUp, MissingEphemerisLeavesAUsableWindow) {
  WindowWorld world;
  FormOptions o = world.Options();
  o.data_dir = world.dir / "empty";
  std::filesystem::create_directories(o.data_dir);
  auto w = world.Open(o);
  ASSERT_EQ(world.messages.size(), 1u);
  EXPECT_TRUE(world.messages[0].second.contains("File not found")) << world.messages[0].second.toStdString();
  EXPECT_TRUE(test::Ctl<QLabel>(*w, "StatusBar1")->text().contains("File not found"));
  // The chart waits for the first table; without one its day is drawn empty a turn later.
  QTest::qWait(20);
  const QImage& img = w->Chart().Img;
  ASSERT_EQ(img.size(), QSize(kChartWidth, kChartHeight)) << "no chart drawn after the failed computation";
  EXPECT_NE(img.pixel(10, 10), img.pixel(img.width() / 2, img.height() / 2)) << "the day's empty chart, not a blank";
  test::Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_Daag_Plus"));
  EXPECT_EQ(test::Date_Of(*w), "2024-04-09");
  EXPECT_EQ(test::Ctl<QPlainTextEdit>(*w, "Memo1")->toPlainText().count('\n'), 8) << "nine lines, each with -- for its times";
}

TEST(Close, WritesTheScreenDumpAndTheSettings) {
  WindowWorld world;
  auto w = world.Open();
  // Closed while the worker computes: the site asked for last is kept.
  test::Ctl<QLineEdit>(*w, "Edit_nLat")->setText("50.25");
  QTest::keyClick(test::Ctl<QLineEdit>(*w, "Edit_nLat"), Qt::Key_Return);
  test::Ctl<QComboBox>(*w, "ComboBox_TZone")->setCurrentIndex(17);
  EXPECT_TRUE(w->Computing());
  w->close();
  w.reset();  // the running computation is cancelled, its result dropped
  const auto dump = world.dir / "documents" / "Screendump.bmp";
  ASSERT_TRUE(std::filesystem::exists(dump));
  EXPECT_EQ(std::filesystem::file_size(dump), 54u + 2500u * 2200u * 4u);
  const std::string head = test::ReadFile(dump).substr(0, 30);
  EXPECT_EQ(head.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(head[28]), 32) << "bits per pixel";
  SettingsRecord back{};
  ASSERT_TRUE(ReadSettingsFile(world.Settings(), back));
  EXPECT_EQ(+back.zone, 17);
  EXPECT_EQ(+back.latitude, 50.25);
  EXPECT_EQ(SettingsVersion(back), "1.0.0.0");
}

// Before the window has drawn a chart, a picture saved and the dump at close
// hold the day's chart as it stands (empty), not the blank image.
TEST(Close, BeforeTheFirstTableThePictureAndTheDumpHoldTheDaysChart) {
  WindowWorld world;
  auto w = std::make_unique<TForm_Main>(world.Options());
  w->show();
  ASSERT_TRUE(w->Computing());
  ASSERT_FALSE(w->Chart_Drawn());
  const auto picture = world.dir / "chart.bmp";
  Save_Form_Chart(*w, picture, QSize(2500, 2200));
  w->close();
  w.reset();
  const auto dump = world.dir / "documents" / "Screendump.bmp";
  for (const auto& file : {picture, dump}) {
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    const std::string bytes = test::ReadFile(file);
    std::set<std::string> colours;
    // The lower half of the picture (a bottom-up bitmap's first rows): the chart, below any heading.
    for (std::size_t at = 54; at + 4 <= bytes.size() / 2; at += 4 * 997) colours.insert(bytes.substr(at, 3));
    EXPECT_GT(colours.size(), 2u) << file << ": a blank image";
  }
  EXPECT_EQ(std::filesystem::file_size(dump), 54u + 2500u * 2200u * 4u);
}

TEST(Close, UnwritableScreenDumpIsReportedAndTheSettingsStillWritten) {
  WindowWorld world;
  auto w = world.Open();
  std::filesystem::remove_all(world.dir / "documents");
  test::WriteFile(world.dir / "documents", "a file where the folder should be");
  test::Ctl<QLineEdit>(*w, "Edit_eLon")->setText("8.00");
  QTest::keyClick(test::Ctl<QLineEdit>(*w, "Edit_eLon"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_TRUE(w->close());
  ASSERT_EQ(world.messages.size(), 1u);
  SettingsRecord back{};
  ASSERT_TRUE(ReadSettingsFile(world.Settings(), back));
  EXPECT_EQ(+back.longitude, 8.0);
}

// "Datei" → "Bildschirmfoto beim Beenden speichern": on at the first start,
// kept in the options file, and no screen dump at close while off; the window
// has the program's icon.
TEST(Close, TheScreenDumpIsAChoiceKeptInTheOptionsFile) {
  WindowWorld world;
  const auto dump = world.dir / "documents" / "Screendump.bmp";
  const auto options = world.dir / "config" / "Vesperkalend-options.ini";
  const struct {
    const char* label;
    bool click;       // the menu entry chosen once before closing
    bool checked;     // as the window opens
    bool dumped;      // at close
    const char* kept; // in the options file afterwards; empty: no such line
  } runs[] = {
      {"first start", false, true, true, ""},
      {"switched off", true, true, false, "ScreendumpAtClose=false"},
      {"stays off", false, false, false, "ScreendumpAtClose=false"},
      {"switched on", true, false, true, "ScreendumpAtClose=true"},
  };
  for (const auto& r : runs) {
    std::filesystem::remove(dump);
    auto w = world.Open();
    EXPECT_FALSE(w->windowIcon().isNull()) << r.label;
    QAction* entry = w->findChild<QAction*>("Bildschirmfoto1");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isCheckable());
    EXPECT_EQ(entry->isChecked(), r.checked) << r.label;
    if (r.click) entry->trigger();
    w->close();
    w.reset();
    EXPECT_EQ(std::filesystem::exists(dump), r.dumped) << r.label;
    const std::string text = test::ReadFile(options);
    if (*r.kept)
      EXPECT_NE(text.find(r.kept), std::string::npos) << r.label << ": " << text;
    else
      EXPECT_EQ(text.find("ScreendumpAtClose"), std::string::npos) << r.label << ": " << text;
  }
  EXPECT_TRUE(world.messages.empty());
}

// A choice that cannot be kept (a folder stands where the options file
// belongs) is reported; the close still follows the menu entry.
TEST(Close, AScreenDumpChoiceThatCannotBeKeptIsReported) {
  WindowWorld world;
  auto w = world.Open();
  std::filesystem::create_directories(world.dir / "config" / "Vesperkalend-options.ini");
  w->findChild<QAction*>("Bildschirmfoto1")->trigger();
  ASSERT_EQ(world.messages.size(), 1u);
  EXPECT_NE(world.messages[0].second.indexOf("Vesperkalend-options.ini"), -1) << world.messages[0].second.toStdString();
  w->close();
  EXPECT_FALSE(std::filesystem::exists(world.dir / "documents" / "Screendump.bmp"));
}

}  // namespace
}  // namespace vk
