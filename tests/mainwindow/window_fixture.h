// A main window on the shipped data with its own folders and a message collector.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QLabel>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QPushButton>
#include <QElapsedTimer>
#include <QTest>
#include <memory>

#include "mainwindow/form_main.h"
#include "timecalc/calendar.h"
#include "support/temp_dir.h"
#include "support/workspace.h"

namespace vk::test {

// Lets the window's worker finish what it was given (the recomputation and the
// log) and the window take the result. Returns: false after 60 s.
inline bool Settle(const TForm_Main& w) {
  QElapsedTimer t;
  t.start();
  while (w.Working() && t.elapsed() < 60000) QTest::qWait(2);
  QApplication::processEvents();
  return !w.Working();
}

struct WindowWorld {
  TempDir dir;
  Workspace data;  // the documented decade's ten files alone: the span is its years
  std::vector<std::pair<QString, QString>> messages;
  QDate today{2024, 4, 8};
  QDateTime now;  // the present moment (UTC); invalid: none, so no line of it is drawn
  std::string system_zone;  // the system's zone a first start sees: none

  FormOptions Options() {
    FormOptions o;
    o.data_dir = data.dir.path();
    o.log_dir = dir.path();
    o.cache_dir = dir / "cache";
    o.folders = {dir / "config", dir / "documents", dir / "data"};
    o.executable = VK_PROGRAM;
    o.today = [this] { return today; };
    o.now = [this] { return now; };
    o.system_zone = [this] { return system_zone; };
    o.show_message = [this](const QString& t, const QString& x) { messages.emplace_back(t, x); };
    return o;
  }
  std::unique_ptr<TForm_Main> Open(FormOptions o) {
    auto w = std::make_unique<TForm_Main>(std::move(o));
    w->resize(1460, 834 + w->menuBar()->height());
    w->show();
    QApplication::processEvents();
    EXPECT_TRUE(Settle(*w)) << "the first computation did not end";
    return w;
  }
  std::unique_ptr<TForm_Main> Open() { return Open(Options()); }
  std::filesystem::path Settings() const { return dir / "config" / "Vesperkalend.ini"; }
};

// A short click: the press steps, the release ends the repetition.
inline void Click_Step(QPushButton* b, Qt::MouseButton button = Qt::LeftButton) {
  QTest::mousePress(b, button, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseRelease(b, button, Qt::NoModifier, QPoint(5, 5));
}

// A key as the window system sends it: to the focused control, or to the window.
inline void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus && focus->window() == window ? focus : window, key, modifiers);
}

inline QString Date_Of(const TForm_Main& w) {
  const CalendarTime d = JDToCalendar(w.Chosen_Day());
  return QString("%1-%2-%3").arg(d.year).arg(d.month, 2, 10, QChar('0')).arg(d.day, 2, 10, QChar('0'));
}

// A control of the window by its member name; fails the test when missing.
template <class T>
T* Ctl(const TForm_Main& w, const char* name) {
  T* c = w.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << "no control " << name;
  return c;
}

}  // namespace vk::test
