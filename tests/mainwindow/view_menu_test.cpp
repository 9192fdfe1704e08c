// The menu "Ansicht" with "Exakte Zeiten" and the options file beside the settings file.
#include <sys/stat.h>
#include <sys/wait.h>

#include <QCheckBox>
#include <QMenu>

#include "mainwindow/menu_bar.h"
#include "mainwindow/options_file.h"
#include "base/error.h"
#include "support/guarded.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::WindowWorld;

std::filesystem::path OptionsFile(const WindowWorld& world) { return world.dir / "config" / kOptionsFileName; }

QMenu* ViewMenu(TForm_Main& w) {
  for (QAction* a : w.menuBar()->actions())
    if (a->menu() != nullptr && a->menu()->title().remove('&') == "Ansicht") return a->menu();
  return nullptr;
}

// Opens "Ansicht" with the mouse and clicks "Exakte Zeiten".
void ClickExakteZeiten(TForm_Main& w) {
  QMenu* view = ViewMenu(w);
  ASSERT_NE(view, nullptr);
  QMenuBar* bar = w.menuBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(view->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->actionGeometry(test::Ctl<QAction>(w, "Exakte_Zeiten1")).center());
  ASSERT_TRUE(test::Settle(w));
  QApplication::processEvents();
}

// The instant (UT) of the first sunrise in the table.
double FirstSunrise(const TForm_Main& w) {
  for (int i = 1; i <= w.Almanac_In_Force().events.Event_Count; ++i) {
    const tEventData& e = w.Almanac_In_Force().events.Event_Tab[i];
    if (e.body == "Sonne" && e.event == "Aufgang") return e.jd_ut;
  }
  return 0;
}

TEST(ViewMenu, ExakteZeitenIsCheckedByDefaultAndSitsBeforeHelp) {
  WindowWorld world;
  auto w = world.Open();
  ASSERT_NE(ViewMenu(*w), nullptr);
  EXPECT_EQ(test::Ctl<QAction>(*w, "Exakte_Zeiten1")->text().remove('&'), "Exakte Zeiten");
  EXPECT_TRUE(test::Ctl<QAction>(*w, "Exakte_Zeiten1")->isCheckable());
  EXPECT_TRUE(test::Ctl<QAction>(*w, "Exakte_Zeiten1")->isChecked());
  EXPECT_EQ(w->Almanac_In_Force().interpolation, Interpolation::Precise);
  const auto actions = w->menuBar()->actions();
  const auto view = actions.indexOf(ViewMenu(*w)->menuAction());
  ASSERT_GE(view, 0);
  ASSERT_LT(view + 1, actions.size());
  EXPECT_EQ(actions[view + 1]->text().remove('&'), "Help");
  EXPECT_FALSE(std::filesystem::exists(OptionsFile(world))) << "nothing written before a choice";
}

TEST(ViewMenu, UncheckingRecomputesWithClassicInstantsAndKeepsTheChoice) {
  WindowWorld world;
  test::WriteFile(OptionsFile(world).parent_path() / "placeholder", "");
  test::WriteFile(OptionsFile(world), "[Place]\nName=Basel\n");
  std::string settings_before;
  double precise_rise = 0;
  {
    auto w = world.Open();
    settings_before = test::ReadFile(world.Settings());
    precise_rise = FirstSunrise(*w);
    ClickExakteZeiten(*w);
    ASSERT_TRUE(test::Settle(*w));
    EXPECT_FALSE(test::Ctl<QAction>(*w, "Exakte_Zeiten1")->isChecked());
    EXPECT_EQ(w->Almanac_In_Force().interpolation, Interpolation::Classic);
    const double classic_rise = FirstSunrise(*w);
    EXPECT_GT(std::fabs(classic_rise - precise_rise) * 86400, 0.5) << "the table was recomputed";
    EXPECT_LT(std::fabs(classic_rise - precise_rise) * 86400, 30);
    EXPECT_TRUE(world.messages.empty());
  }
  const std::string ini = test::ReadFile(OptionsFile(world));
  EXPECT_NE(ini.find("PreciseInstants=false"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Name=Basel"), std::string::npos) << "other keys stay: " << ini;
  EXPECT_FALSE(std::filesystem::exists(OptionsFile(world).string() + ".tmp"));
  EXPECT_EQ(test::ReadFile(world.Settings()).size(), 39u) << "the settings file keeps its layout";

  auto again = world.Open();
  EXPECT_FALSE(test::Ctl<QAction>(*again, "Exakte_Zeiten1")->isChecked());
  EXPECT_EQ(again->Almanac_In_Force().interpolation, Interpolation::Classic);
  ClickExakteZeiten(*again);
  EXPECT_TRUE(test::Ctl<QAction>(*again, "Exakte_Zeiten1")->isChecked());
  EXPECT_NEAR(FirstSunrise(*again), precise_rise, 1e-9);
  EXPECT_NE(test::ReadFile(OptionsFile(world)).find("PreciseInstants=true"), std::string::npos);
}

TEST(OptionsFile, MissingMalformedOrUnknownValuesGiveDefaults) {
  test::TempDir dir;
  const auto path = dir / kOptionsFileName;
  EXPECT_TRUE(ReadOptionsFile(path).precise_instants);  // missing
  for (const char* text : {"[View]\nPreciseInstants=maybe\n", "[View]\nPreciseInstants=\n", "\xff\xfe[[[\n=\n",
                           "[View]\nPreciseInstants=false\n"}) {
    test::WriteFile(path, text);
    EXPECT_EQ(ReadOptionsFile(path).precise_instants, std::string(text).find("false") == std::string::npos) << text;
  }
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);  // a folder under the file's name cannot be read
  EXPECT_TRUE(ReadOptionsFile(path).precise_instants);
}

// The check boxes and the geometry: kept only once chosen, each read back
// as written, and a value that is no choice read as none.
TEST(OptionsFile, DisplayChoicesAndGeometryReadBackAsWritten) {
  test::TempDir dir;
  const auto path = dir / kOptionsFileName;
  const WindowOptions none = ReadOptionsFile(path);
  EXPECT_FALSE(none.twilights || none.rises || none.transits || !none.geometry.empty());
  WindowOptions o;
  o.twilights = true;
  o.rises = false;
  o.geometry = "AdnQywADAAA=";
  WriteOptionsFile(path, o);
  const WindowOptions back = ReadOptionsFile(path);
  EXPECT_EQ(back.twilights, std::optional<bool>(true));
  EXPECT_EQ(back.rises, std::optional<bool>(false));
  EXPECT_EQ(back.transits, std::nullopt) << "never chosen: not written";
  EXPECT_EQ(back.geometry, o.geometry);
  test::WriteFile(path, "[View]\nSunTimes=ja\nRisesAndSets= FALSE \nTransits=1\n");
  const WindowOptions odd = ReadOptionsFile(path);
  EXPECT_EQ(odd.twilights, std::nullopt);
  EXPECT_EQ(odd.rises, std::optional<bool>(false));
  EXPECT_EQ(odd.transits, std::nullopt);
}

// The check boxes clicked and the window's size are those of the next start.
TEST(ViewMenu, CheckBoxesAndWindowSizeAreThoseOfTheNextStart) {
  WindowWorld world;
  {
    auto w = world.Open();
    EXPECT_FALSE(w->Show_As_Last_Time()) << "nothing kept yet";
    EXPECT_FALSE(test::Ctl<QCheckBox>(*w, "CheckBox_Daemmerungen")->isChecked());  // the documented defaults
    EXPECT_TRUE(test::Ctl<QCheckBox>(*w, "CheckBox_Auf_Untergaenge")->isChecked());
    for (const char* box : {"CheckBox_Daemmerungen", "CheckBox_Auf_Untergaenge", "CheckBox_Meridian"})
      QTest::mouseClick(test::Ctl<QCheckBox>(*w, box), Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
    ASSERT_TRUE(test::Settle(*w));
    w->resize(1500, 900);
    w->close();
  }
  auto w = world.Open();
  EXPECT_TRUE(test::Ctl<QCheckBox>(*w, "CheckBox_Daemmerungen")->isChecked());
  EXPECT_FALSE(test::Ctl<QCheckBox>(*w, "CheckBox_Auf_Untergaenge")->isChecked());
  EXPECT_TRUE(test::Ctl<QCheckBox>(*w, "CheckBox_Meridian")->isChecked());
  EXPECT_TRUE(w->Chart().Show_Daemmerungen && !w->Chart().Show_Auf_Untergaenge && w->Chart().Show_Meridian);
  w->hide();
  EXPECT_TRUE(w->Show_As_Last_Time());
  EXPECT_EQ(w->size(), QSize(1500, 900));
}

// QSettings keeps what it read of a file while the file's size and
// modification time (to the millisecond) stay: a choice written as a file of
// the old one's size within the same millisecond must still read back (found
// by fuzzing). Many rounds, as the same millisecond comes by chance.
TEST(OptionsFile, AWrittenChoiceReadsBackWhenTheNewFileLooksLikeTheOld) {
  test::TempDir dir;
  std::filesystem::path path;
  // Written back by QSettings in its own order, with "true", at the same size.
  const std::string before = "[View]\nPreciseInstants=false\nNightView=true\n[Place]\nName=Zurich\n";
  int stale = 0;
  for (int round = 0; round < 300; ++round) {
    path = dir / ("options-" + std::to_string(round) + ".ini");  // each file read first as it was written
    test::WriteFile(path, before);
    ASSERT_FALSE(ReadOptionsFile(path).precise_instants);
    WriteOptionsFile(path, {true});
    if (!ReadOptionsFile(path).precise_instants) ++stale;
  }
  EXPECT_EQ(stale, 0) << "rounds in which the old choice was read back";
  EXPECT_NE(test::ReadFile(path).find("Name=Zurich"), std::string::npos) << "readable keys stay";
}

// Spellings QSettings reads as one key ("PreciseInstants/", "View\\Precise…"):
// the written choice is the one read back, and the other keys stay (found by
// fuzzing).
TEST(OptionsFile, AChoiceUnderASecondSpellingOfItsKeyIsReplaced) {
  test::TempDir dir;
  const auto path = dir / kOptionsFileName;
  for (const std::string& text : std::vector<std::string>{"[View]\nPreciseInstants/=maybe\n[Place]\nName=Basel\n",
                                 "[Place]\nName=Basel\n[General]\nView\\PreciseInstants=\xff\xff\n",
                                 "[View]\r\nPreciseInstants/=" + std::string(65, '\xff') + "iew/Nighte\n[Place]\nName=Basel\n"}) {
    test::WriteFile(path, text);
    WriteOptionsFile(path, {false});
    EXPECT_FALSE(ReadOptionsFile(path).precise_instants) << text << "\nwritten as:\n" << test::ReadFile(path);
    EXPECT_EQ(ReadOptionValues(path, {"Place/Name"}), (std::map<std::string, std::string>{{"Place/Name", "Basel"}}));
  }
}

TEST(OptionsFile, FailedWriteLeavesTheOldFileAndNamesIt) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / kOptionsFileName);  // cannot be replaced by a file
  try {
    WriteOptionsFile(dir / kOptionsFileName, {false});
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.file(), (dir / kOptionsFileName).string());
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / kOptionsFileName));
  EXPECT_FALSE(std::filesystem::exists((dir / kOptionsFileName).string() + ".tmp"));
  try {
    test::WriteFile(dir / "a file", "");  // no folder can be made under this name
    WriteOptionsFile(dir / "a file" / kOptionsFileName, {false});
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Not a directory");
    EXPECT_EQ(e.file(), (dir / "a file" / kOptionsFileName).string());
  }
}

// A FIFO, a device link or an oversized file under the options file's name:
// reading gives the defaults at once, writing refuses the special file with
// its name and kind and leaves it; the temporaries of a killed writer (with
// the lock QSettings makes beside them) go at the next write, which leaves no
// temporary of its own and gives the file the umask's mode.
TEST(OptionsFile, SpecialOversizedAndLeftOverFiles) {
  test::TempDir dir;
  const auto path = dir / kOptionsFileName;
  const auto outcome = [&] {
    return test::Guarded([&]() -> std::string {
      std::string out = ReadOptionsFile(path).precise_instants ? "read precise" : "read classic";
      try {
        WriteOptionsFile(path, {false});
        out += ", written";
      } catch (const Error& e) {
        out += std::string(", ") + e.what() + (e.file() == path.string() ? "" : " (file not named)");
      }
      return out;
    });
  };
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  EXPECT_EQ(outcome(), "read precise, Not a regular file (a FIFO)");
  EXPECT_EQ(std::filesystem::status(path).type(), std::filesystem::file_type::fifo);
  std::filesystem::remove(path);
  std::filesystem::create_symlink("/dev/zero", path);
  EXPECT_EQ(outcome(), "read precise, Not a regular file (a character device)");
  std::filesystem::remove(path);
  test::WriteFile(path, "[View]\nPreciseInstants=false\n" + std::string(kOptionsFileLimit, ';'));
  EXPECT_EQ(outcome(), "read precise, written");
  EXPECT_EQ(test::ReadFile(path), "[View]\nPreciseInstants=false\n") << "the oversized file is replaced";
  // A line without "=" makes the file malformed, which QSettings knows only
  // once it has read it: defaults, and the file replaced (found by fuzzing).
  test::WriteFile(path, "[View]\nPreciseInstants=false\nZonch\n");
  EXPECT_EQ(outcome(), "read precise, written");
  EXPECT_EQ(test::ReadFile(path), "[View]\nPreciseInstants=false\n");

  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const std::string stale = path.string() + ".vk-partial." + std::to_string(ended) + ".Ab12Cd";
  test::WriteFile(stale, "[View]\n");
  test::WriteFile(stale + ".lock", "");
  const mode_t saved = ::umask(027);
  WriteOptionsFile(path, {true});
  ::umask(saved);
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{kOptionsFileName});
  EXPECT_EQ(std::filesystem::status(path).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
}

TEST(ViewMenu, UnwritableOptionsFileIsReportedAfterTheRecomputation) {
  WindowWorld world;
  std::filesystem::create_directories(OptionsFile(world));
  auto w = world.Open();
  ClickExakteZeiten(*w);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(w->Almanac_In_Force().interpolation, Interpolation::Classic);
  ASSERT_EQ(world.messages.size(), 1u);
  EXPECT_NE(world.messages[0].second.toStdString().find(kOptionsFileName), std::string::npos)
      << world.messages[0].second.toStdString();
}

TEST(MenuBar, FindsAMenuWhateverItsMarksAndCreatesOneBeforeHelp) {
  QMenuBar bar;
  bar.addAction("E&xit");
  QMenu* help = bar.addMenu("&Help");
  QMenu* view = Find_Or_Add_Menu(&bar, "&Ansicht", "&Help");
  EXPECT_EQ(bar.actions().indexOf(view->menuAction()), bar.actions().indexOf(help->menuAction()) - 1);
  EXPECT_EQ(Find_Or_Add_Menu(&bar, "Ansicht", "Help"), view);
  EXPECT_EQ(Find_Or_Add_Menu(&bar, "An&sicht", "Help"), view);
  EXPECT_EQ(bar.actions().size(), 3);
  QMenuBar plain;
  QMenu* other = Find_Or_Add_Menu(&plain, "Extras", "Help");
  EXPECT_EQ(plain.actions().back(), other->menuAction());
}

}  // namespace
}  // namespace vk
