// Layout at every resize, and the close with the screen dump and the settings.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "mainwindow/chart_view.h"
#include "mainwindow/form_file_menu.h"
#include "mainwindow/form_layout.h"
#include "mainwindow/form_main.h"
#include "mainwindow/options_file.h"
#include "mainwindow/screendump.h"
#include "panel_scale.h"

namespace vk {

void TForm_Main::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (created_) Guarded([this] { FormResize(); });
}

void TForm_Main::FormResize() {
  QWidget* client = centralWidget();
  const FormLayout l =
      ComputeFormLayout(client->width(), client->height(), panel_needs_.width(), panel_needs_.height());
  panel_scale_->Apply(l.panel_scale);
  Panel_Left->setGeometry(0, 0, l.left_width, l.bild_height);
  Panel_Bild->setGeometry(l.left_width, 0, l.bild_width, l.bild_height);
  Image1->setGeometry(0, 0, l.bild_width, l.bild_height);
  Panel_Rght->setGeometry(l.rght_left, 0, l.rght_width, l.bild_height);
  StatusBar1->setGeometry(0, client->height() - kStatusBarHeight, client->width(), kStatusBarHeight);
  // The progress of a period's making at the status bar's right end.
  constexpr int kBarWidth = 300, kButtonWidth = 110;
  const int bar_top = client->height() - kStatusBarHeight;
  ProgressBar_Tabellen->setGeometry(client->width() - kBarWidth - kButtonWidth - 8, bar_top + 2, kBarWidth,
                                    kStatusBarHeight - 4);
  Button_Abbrechen->setGeometry(client->width() - kButtonWidth - 4, bar_top + 1, kButtonWidth, kStatusBarHeight - 2);
  Chart_DispW = l.Chart_DispW;
  Chart_DispH = l.Chart_DispH;
  Image1_Bitmap = QImage(Chart_DispW, Chart_DispH, QImage::Format_RGB32);
  if (!chart_waits_) {
    chart.Img.fill(Qt::black);
    Show_Chart(chart.Img);
  }
  Refresh_Day();
}

void TForm_Main::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_size_.isValid()) {
    shown_size_ = size();
    shown_state_ = windowState();
  }
}

void TForm_Main::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TForm_Main::FormClose() {
  // Each failure is reported, and the window still closes.
  // The screen dump only while "Datei" → "Bildschirmfoto beim Beenden speichern" is on.
  const QAction* screendump = findChild<QAction*>(kScreendumpActionName);
  if (screendump == nullptr || screendump->isChecked())
    Guarded([this] {
      // Closed before the first table came: the day's chart as it stands.
      if (chart_waits_) End_Chart_Wait();
      SaveBmp32(chart.Img, options_.folders.screendump_dir / "Screendump.bmp");
    });
  Guarded([this] { SaveSettings(); });
  Guarded([this] {
    // Kept when its size or state changed since it was shown, or once kept:
    // a window left as it opened needs no options file of its own.
    WindowOptions o = ReadOptionsFile(Options_Path());
    if (size() == shown_size_ && windowState() == shown_state_ && o.geometry.empty()) return;
    o.geometry = saveGeometry().toBase64().toStdString();
    WriteOptionsFile(Options_Path(), o);
  });
}

bool TForm_Main::Show_As_Last_Time() {
  const std::string kept = ReadOptionsFile(Options_Path()).geometry;
  if (kept.empty() || !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(kept)))) return false;
  show();
  return true;
}

}  // namespace vk
