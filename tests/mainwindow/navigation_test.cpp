// Date navigation: step buttons, typed dates, "Heute", the arrow keys, Escape.
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <iostream>

#include "window_fixture.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

using test::Click_Step;
using test::Date_Of;
using test::WindowWorld;

void Go(TForm_Main& w, int y, int m, int d) {
  w.Go_To_Day(CalendarToJD(y, m, d, 0, 0, 0));
}

class Navigation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    world_ = new WindowWorld;
    window_ = world_->Open().release();
  }
  static void TearDownTestSuite() {
    delete window_;
    delete world_;
  }
  static WindowWorld* world_;
  static TForm_Main* window_;
  TForm_Main& w = *window_;
};
WindowWorld* Navigation::world_ = nullptr;
TForm_Main* Navigation::window_ = nullptr;

TEST_F(Navigation, StepButtonsCarryOverMonthEnds) {
  Go(w, 2023, 1, 31);
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Monat_Plus"));
  EXPECT_EQ(Date_Of(w), "2023-03-03");
  Go(w, 2024, 1, 31);
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Monat_Plus"));
  EXPECT_EQ(Date_Of(w), "2024-03-02");
  Go(w, 2024, 2, 29);
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Jahr_Plus"));
  EXPECT_EQ(Date_Of(w), "2025-03-01");
  Go(w, 2023, 3, 1);
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Daag_Minus"));
  EXPECT_EQ(Date_Of(w), "2023-02-28");
  Go(w, 2023, 1, 15);
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Monat_Minus"));
  EXPECT_EQ(Date_Of(w), "2022-12-15");
  EXPECT_EQ(test::Ctl<QLineEdit>(w, "RichEdit_Jahr")->text(), "2022");
  EXPECT_EQ(test::Ctl<QLineEdit>(w, "RichEdit_Monat")->text(), "12");
  EXPECT_EQ(test::Ctl<QLineEdit>(w, "RichEdit_Daag")->text(), "15");
  EXPECT_FALSE(w.Step_Repeating());
}

TEST_F(Navigation, ClampsAtBothEndsOfThePeriod) {
  Go(w, 2031, 6, 15);
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Jahr_Plus"));
  EXPECT_EQ(Date_Of(w), "2031-12-31");
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Daag_Plus"));
  EXPECT_EQ(Date_Of(w), "2031-12-31");
  test::Key(&w, Qt::Key_Up);
  EXPECT_EQ(Date_Of(w), "2031-12-31");
  Go(w, 2022, 6, 15);
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Jahr_Minus"));
  EXPECT_EQ(Date_Of(w), "2022-01-01");
  Go(w, 2022, 1, 2);
  test::Key(&w, Qt::Key_Down);
  EXPECT_EQ(Date_Of(w), "2022-01-02") << "the Down key stops a day earlier";
  Click_Step(test::Ctl<QPushButton>(w, "BitBtn_Daag_Minus"));
  EXPECT_EQ(Date_Of(w), "2022-01-01");
}

TEST_F(Navigation, ArrowKeysAndShift) {
  Go(w, 2024, 4, 8);
  test::Key(&w, Qt::Key_Up);
  EXPECT_EQ(Date_Of(w), "2024-04-09");
  test::Key(&w, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(Date_Of(w), "2024-04-10");
  test::Key(&w, Qt::Key_Down);
  EXPECT_EQ(Date_Of(w), "2024-04-09");
}

TEST_F(Navigation, TypedDatesAreClampedAndNonNumbersIgnored) {
  Go(w, 2024, 4, 8);
  test::Ctl<QLineEdit>(w, "RichEdit_Jahr")->setText("2040");
  QTest::keyClick(test::Ctl<QLineEdit>(w, "RichEdit_Jahr"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(w));
  EXPECT_EQ(Date_Of(w), "2031-04-08");
  test::Ctl<QLineEdit>(w, "RichEdit_Daag")->setText("0");
  QTest::keyClick(test::Ctl<QLineEdit>(w, "RichEdit_Daag"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(w));
  EXPECT_EQ(Date_Of(w), "2031-04-01");
  test::Ctl<QLineEdit>(w, "RichEdit_Daag")->setText("31");
  QTest::keyClick(test::Ctl<QLineEdit>(w, "RichEdit_Daag"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(w));
  EXPECT_EQ(Date_Of(w), "2031-05-01") << "31 April runs into May";
  test::Ctl<QLineEdit>(w, "RichEdit_Monat")->setText("x1");
  QTest::keyClick(test::Ctl<QLineEdit>(w, "RichEdit_Monat"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(w));
  EXPECT_EQ(Date_Of(w), "2031-05-01");
  EXPECT_EQ(test::Ctl<QLineEdit>(w, "RichEdit_Monat")->text(), "x1") << "the typed text stays until the next refresh";
}

TEST_F(Navigation, HeuteGoesToTodayAndOutsideThePeriodToTheNearestDay) {
  world_->today = QDate(2025, 7, 14);
  QTest::mouseClick(test::Ctl<QPushButton>(w, "Button_Heute"), Qt::LeftButton);
  EXPECT_EQ(Date_Of(w), "2025-07-14");
  EXPECT_EQ(test::Ctl<QLabel>(w, "Label_DST")->text(), "(+01:00 Sommerzeit)");
  world_->today = QDate(2040, 1, 1);
  QTest::mouseClick(test::Ctl<QPushButton>(w, "Button_Heute"), Qt::LeftButton);
  EXPECT_EQ(Date_Of(w), "2031-12-31");
  EXPECT_EQ(test::Ctl<QLabel>(w, "Label_DST")->text(), "(Normalzeit)");
  world_->today = QDate(2019, 5, 5);
  QTest::mouseClick(test::Ctl<QPushButton>(w, "Button_Heute"), Qt::LeftButton);
  EXPECT_EQ(Date_Of(w), "2022-01-01");
}

TEST_F(Navigation, HeldDayButtonStepsAtOnceThenAfterItsPauseUntilReleased) {
  const double start = CalendarToJD(2024, 1, 1, 0, 0, 0);
  Go(w, 2024, 1, 1);
  QPushButton* b = test::Ctl<QPushButton>(w, "BitBtn_Daag_Plus");
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(w.Chosen_Day() - start, 1) << "the press steps at once";
  QTest::qWait(20);
  EXPECT_EQ(w.Chosen_Day() - start, 1) << "the second step waits for its pause of 150 ms";
  QTest::qWait(900);
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  const double days = w.Chosen_Day() - start;
  EXPECT_GE(days, 3) << "a held button steps after each refresh";
  EXPECT_FALSE(w.Step_Repeating());
  QTest::qWait(200);
  EXPECT_EQ(w.Chosen_Day() - start, days) << "and not after its release";
  std::cout << "[ held    ] " << days << " days in 1 s\n";
}

TEST(Escape, ClosesTheWindow) {
  WindowWorld world;
  auto w = world.Open();
  w->activateWindow();
  test::Key(w.get(), Qt::Key_Escape);
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(std::filesystem::exists(world.dir / "documents" / "Screendump.bmp"));
}

}  // namespace
}  // namespace vk
