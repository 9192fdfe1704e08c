#include "mainwindow/form_main.h"

#include <QCoreApplication>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPolygon>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <cmath>

#include "timecalc/time_zones.h"
#include "programfiles/version_info.h"
#include "mainwindow/chart_view.h"
#include "date_panel.h"
#include "display_panel.h"
#include "panel_parts.h"
#include "panel_scale.h"
#include "site_panel.h"
#include "tools_panel.h"
#include "zone_panel.h"
#include "mainwindow/form_layout.h"
#include "mainwindow/form_file_menu.h"
#include "mainwindow/night_view.h"
#include "timecalc/calendar.h"
#include "base/error.h"
#include "base/number_text.h"

namespace vk {

QString Site_Text(double degrees) { return QString::fromStdString(FormatFixed(degrees, 2)); }

TForm_Main::TForm_Main(FormOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)) {
  if (options_.log_dir.empty()) options_.log_dir = options_.data_dir;
  session_ = new Session(options_.data_dir, options_.log_dir, this, options_.cache_dir);
  step_timer_ = new QTimer(this);
  step_timer_->setSingleShot(true);
  connect(step_timer_, &QTimer::timeout, this, [this] { Guarded([&] { Step_Timer_Fired(); }); });
  setWindowTitle("Vesperkalend");
  setWindowIcon(Program_Icon(options_.executable));  // the window manager's _NET_WM_ICON
  resize(1460, 834 + 30);
  Build_Menu();
  Build_Controls();
  chart.Pictures = ShippedChartPictures();
  chart.Copy_To_Screen = [this](const QImage& img) {
    if (Image1_Bitmap.isNull()) return;
    Show_Chart(img);
    Image1->repaint();
  };
  qApp->installEventFilter(this);
  Guarded([this] { FormCreate(); });
  // What the session tells from here on: the day, the flags and a new table
  // are drawn, progress and failures shown.
  connect(session_, &Session::dayChanged, this, [this] { Guarded([&] { Refresh_Day(); }); });
  connect(session_, &Session::flagsChanged, this, [this] { Guarded([&] { Render_Chart(); }); });
  connect(session_, &Session::eventsChanged, this, [this] { Guarded([&] { End_Chart_Wait(); }); });
  connect(session_, &Session::status, this, &TForm_Main::Show_Status);
  connect(session_, &Session::making, this, [this](double share) { Show_Making(share); });
  connect(session_, &Session::failed, this, [this](const QString& text) { Show_Message("Vesperkalend", text); });
  connect(session_, &Session::idle, this, [this] { Guarded([&] { Computation_Ended(); }); });
  Add_File_Menu(*this);
  Add_Night_View(*this);
  created_ = true;
}

TForm_Main::~TForm_Main() { qApp->removeEventFilter(this); }

void TForm_Main::Build_Menu() {
  QMenuBar* bar = menuBar();
  Exit1 = bar->addAction(QCoreApplication::translate("Window", "E&xit"));
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  Makebinaryfiles1 = bar->addAction(QCoreApplication::translate("Window", "Make binary files"));
  Makebinaryfiles1->setEnabled(false);
  Computealldata1 = bar->addAction(QCoreApplication::translate("Window", "Compute all data"));
  Computealldata1->setEnabled(false);
  QMenu* help = bar->addMenu(QCoreApplication::translate("Window", "&Help"));
  about1 = help->addAction(QCoreApplication::translate("Window", "&about"));
  connect(about1, &QAction::triggered, this, [this] { about1Click(); });
  Build_View_Menu();
}

void TForm_Main::Build_Controls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  client->setFont(Panel_Font("MS Sans Serif", 13));
  Panel_Left = new QWidget(client);
  Panel_Bild = new QWidget(client);
  Panel_Bild->setAutoFillBackground(true);
  QPalette grey = Panel_Bild->palette();
  grey.setColor(QPalette::Window, QColor(128, 128, 128));
  Panel_Bild->setPalette(grey);
  Image1 = new ChartView(Panel_Bild);
  Image1->setToolTip(QCoreApplication::translate(
      "Window", "Mausrad oder Strg + und Strg −: Bild vergrößern und verkleinern; ziehen: das vergrößerte Bild verschieben"));
  Panel_Rght = new QWidget(client);
  StatusBar1 = new QLabel(client);
  StatusBar1->setAutoFillBackground(true);
  StatusBar1->setContentsMargins(4, 0, 4, 0);
  StatusBar1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Show_Status("", StatusColour::ButtonFace);
  ProgressBar_Tabellen = new QProgressBar(client);
  ProgressBar_Tabellen->setRange(0, 1000);
  ProgressBar_Tabellen->setTextVisible(false);
  ProgressBar_Tabellen->hide();
  Button_Abbrechen = new QPushButton(QCoreApplication::translate("Window", "Abbrechen"), client);
  Button_Abbrechen->hide();
  connect(Button_Abbrechen, &QPushButton::clicked, this, [this] { Guarded([&] { session_->Cancel_Making(); }); });
  Build_Date_Group(Panel_Rght);
  Build_Display_Group(Panel_Rght);
  Build_Zone_Group(Panel_Rght);
  Build_Site_Group(Panel_Rght);
  Build_Tool_Buttons(Panel_Rght);
  Memo1 = new QPlainTextEdit(Panel_Rght);
  Memo1->setGeometry(6, 478, 440, 200);
  Memo1->setReadOnly(true);
  Memo1->setFont(Memo_Font());
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setFocusPolicy(Qt::ClickFocus);
  Build_About_Box();
  Name_Controls();

  // Every step button steps when pressed and repeats until released, by any
  // mouse button (the left one through the button's own signals).
  for (const auto& [button, step] : step_buttons_) {
    connect(button, &QPushButton::pressed, this, [this, b = button, s = step] { Guarded([&] { Step_Pressed(b, s); }); });
    connect(button, &QPushButton::released, this, [this] { Step_Released(); });
  }
  // Tab goes through the controls in reading order.
  QWidget* order[] = {BitBtn_Jahr_Plus, BitBtn_Monat_Plus, BitBtn_Daag_Plus, RichEdit_Jahr, RichEdit_Monat,
                      RichEdit_Daag, BitBtn_Jahr_Minus, BitBtn_Monat_Minus, BitBtn_Daag_Minus, Button_Heute,
                      CheckBox_Daemmerungen, CheckBox_Auf_Untergaenge, CheckBox_Meridian, ComboBox_TZone,
                      ComboBox_Ort, BitBtn_nLat_MinusSmall, Edit_nLat, BitBtn_nLat_PlusSmall, BitBtn_eLon_MinusSmall, Edit_eLon,
                      BitBtn_eLon_PlusSmall};
  for (QWidget* w : order) w->setFocusPolicy(Qt::StrongFocus);
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  Set_Minimum_Size();
}

// The chosen day in large green digits with its step buttons, and "Heute".
void TForm_Main::Build_Date_Group(QWidget* p) {
  auto* d = new DatePanel(p);
  Shape2 = d->Shape2;
  RichEdit_Jahr = d->RichEdit_Jahr, RichEdit_Monat = d->RichEdit_Monat, RichEdit_Daag = d->RichEdit_Daag;
  Label1 = d->Label1, Label2 = d->Label2;
  BitBtn_Jahr_Plus = d->BitBtn_Jahr_Plus, BitBtn_Monat_Plus = d->BitBtn_Monat_Plus, BitBtn_Daag_Plus = d->BitBtn_Daag_Plus;
  BitBtn_Jahr_Minus = d->BitBtn_Jahr_Minus, BitBtn_Monat_Minus = d->BitBtn_Monat_Minus;
  BitBtn_Daag_Minus = d->BitBtn_Daag_Minus;
  Button_Heute = d->Button_Heute;

  const struct {
    QPushButton* button;
    int y, m, d;
  } steps[] = {{BitBtn_Jahr_Plus, 1, 0, 0},  {BitBtn_Jahr_Minus, -1, 0, 0}, {BitBtn_Monat_Plus, 0, 1, 0},
               {BitBtn_Monat_Minus, 0, -1, 0}, {BitBtn_Daag_Plus, 0, 0, 1},  {BitBtn_Daag_Minus, 0, 0, -1}};
  for (const auto& s : steps) step_buttons_.emplace_back(s.button, Step{Step::Date, s.y, s.m, s.d});
  for (QLineEdit* field : {RichEdit_Jahr, RichEdit_Monat, RichEdit_Daag})
    connect(field, &QLineEdit::returnPressed, this,
            [this, field] { Guarded([&] { RichEdit_KeyDown(field, Qt::Key_Return); }); });
  connect(Button_Heute, &QPushButton::clicked, this, [this] { Guarded([&] { Button_HeuteClick(); }); });
}

// The three check boxes of what the event list shows.
void TForm_Main::Build_Display_Group(QWidget* p) {
  auto* d = new DisplayPanel(p);
  CheckBox_Daemmerungen = d->CheckBox_Daemmerungen;
  CheckBox_Auf_Untergaenge = d->CheckBox_Auf_Untergaenge;
  CheckBox_Meridian = d->CheckBox_Meridian;
  connect(CheckBox_Daemmerungen, &QCheckBox::clicked, this, [this] { Guarded([&] { CheckBox_DaemmerungenClick(); }); });
  connect(CheckBox_Auf_Untergaenge, &QCheckBox::clicked, this,
          [this] { Guarded([&] { CheckBox_Auf_UntergaengeClick(); }); });
  connect(CheckBox_Meridian, &QCheckBox::clicked, this, [this] { Guarded([&] { CheckBox_MeridianClick(); }); });
}

// The zone list with the summer-time label, and the place box.
void TForm_Main::Build_Zone_Group(QWidget* p) {
  auto* z = new ZonePanel(p);
  Label_TZone = z->Label_TZone, Label_DST = z->Label_DST, Label_Ort = z->Label_Ort;
  ComboBox_TZone = z->ComboBox_TZone, ComboBox_Ort = z->ComboBox_Ort;
  connect(ComboBox_TZone, &QComboBox::currentIndexChanged, this, [this](int) { Guarded([&] { ComboBox_TZoneChange(); }); });
  connect(ComboBox_TZone->lineEdit(), &QLineEdit::returnPressed, this, [this] { Guarded([&] { Apply_Typed_Zone(); }); });
  Connect_Place_Box();
}

// Latitude and longitude: their labels, fields and half-degree step buttons.
void TForm_Main::Build_Site_Group(QWidget* p) {
  auto* g = new SitePanel(p);
  Label_nLat = g->Label_nLat, Label_eLon = g->Label_eLon;
  BitBtn_nLat_MinusSmall = g->BitBtn_nLat_MinusSmall, BitBtn_nLat_PlusSmall = g->BitBtn_nLat_PlusSmall;
  BitBtn_eLon_MinusSmall = g->BitBtn_eLon_MinusSmall, BitBtn_eLon_PlusSmall = g->BitBtn_eLon_PlusSmall;
  Edit_nLat = g->Edit_nLat, Edit_eLon = g->Edit_eLon;
  connect(Edit_nLat, &QLineEdit::returnPressed, this, [this] { Guarded([&] { Edit_nLatKeyDown(Qt::Key_Return); }); });
  connect(Edit_eLon, &QLineEdit::returnPressed, this, [this] { Guarded([&] { Edit_eLonKeyDown(Qt::Key_Return); }); });
  const struct {
    QPushButton* button;
    bool latitude;
    double step;
  } site_steps[] = {{BitBtn_nLat_MinusSmall, true, -0.5},
                    {BitBtn_nLat_PlusSmall, true, 0.5},
                    {BitBtn_eLon_MinusSmall, false, -0.5},
                    {BitBtn_eLon_PlusSmall, false, 0.5}};
  for (const auto& s : site_steps) step_buttons_.emplace_back(s.button, Step{Step::Site, 0, 0, 0, s.latitude, s.step});
}

// The phase-picture tools: hidden and disabled, for the developer.
void TForm_Main::Build_Tool_Buttons(QWidget* p) {
  auto* t = new ToolsPanel(p);
  Button_Monde_anpassen = t->Button_Monde_anpassen;
  Button_Venus_anpassen = t->Button_Venus_anpassen;
  Button_Merkur_anpassen = t->Button_Merkur_anpassen;
  const std::pair<QPushButton*, void (TForm_Main::*)()> tools[] = {
      {Button_Monde_anpassen, &TForm_Main::Button_Monde_anpassenClick},
      {Button_Venus_anpassen, &TForm_Main::Button_Venus_anpassenClick},
      {Button_Merkur_anpassen, &TForm_Main::Button_Merkur_anpassenClick}};
  for (const auto& [button, handler] : tools)
    connect(button, &QPushButton::clicked, this, [this, h = handler] { Guarded([&] { (this->*h)(); }); });
}

// Every control is found by its member name (QObject::findChild), as the tests do.
void TForm_Main::Name_Controls() {
  const std::pair<QObject*, const char*> names[] = {
      {Panel_Left, "Panel_Left"}, {Panel_Bild, "Panel_Bild"}, {Panel_Rght, "Panel_Rght"},
      {Panel_About, "Panel_About"}, {Image1, "Image1"}, {StatusBar1, "StatusBar1"}, {Shape2, "Shape2"},
      {ProgressBar_Tabellen, "ProgressBar_Tabellen"}, {Button_Abbrechen, "Button_Abbrechen"},
      {RichEdit_Jahr, "RichEdit_Jahr"}, {RichEdit_Monat, "RichEdit_Monat"}, {RichEdit_Daag, "RichEdit_Daag"},
      {Label1, "Label1"}, {Label2, "Label2"},
      {BitBtn_Jahr_Plus, "BitBtn_Jahr_Plus"}, {BitBtn_Monat_Plus, "BitBtn_Monat_Plus"},
      {BitBtn_Daag_Plus, "BitBtn_Daag_Plus"}, {BitBtn_Jahr_Minus, "BitBtn_Jahr_Minus"},
      {BitBtn_Monat_Minus, "BitBtn_Monat_Minus"}, {BitBtn_Daag_Minus, "BitBtn_Daag_Minus"},
      {Button_Heute, "Button_Heute"}, {CheckBox_Daemmerungen, "CheckBox_Daemmerungen"},
      {CheckBox_Auf_Untergaenge, "CheckBox_Auf_Untergaenge"}, {CheckBox_Meridian, "CheckBox_Meridian"},
      {Memo1, "Memo1"}, {Label_TZone, "Label_TZone"}, {Label_DST, "Label_DST"}, {Label_nLat, "Label_nLat"},
      {Label_eLon, "Label_eLon"}, {ComboBox_TZone, "ComboBox_TZone"},
      {Label_Ort, "Label_Ort"}, {ComboBox_Ort, "ComboBox_Ort"},
      {BitBtn_nLat_MinusSmall, "BitBtn_nLat_MinusSmall"}, {BitBtn_nLat_PlusSmall, "BitBtn_nLat_PlusSmall"},
      {BitBtn_eLon_MinusSmall, "BitBtn_eLon_MinusSmall"}, {BitBtn_eLon_PlusSmall, "BitBtn_eLon_PlusSmall"},
      {Edit_nLat, "Edit_nLat"}, {Edit_eLon, "Edit_eLon"}, {Exit1, "Exit1"}, {Makebinaryfiles1, "Makebinaryfiles1"},
      {Computealldata1, "Computealldata1"}, {about1, "about1"}, {Image4, "Image4"},
      {Label_Vesperkalend, "Label_Vesperkalend"}, {StringGrid_VersionsInfo, "StringGrid_VersionsInfo"},
      {Button_About_OK, "Button_About_OK"}, {Button_Monde_anpassen, "Button_Monde_anpassen"},
      {Button_Venus_anpassen, "Button_Venus_anpassen"}, {Button_Merkur_anpassen, "Button_Merkur_anpassen"}};
  for (const auto& [object, name] : names) object->setObjectName(QString::fromLatin1(name));
}

void TForm_Main::Build_About_Box() {
  Panel_About = new QWidget(centralWidget());
  Panel_About->setGeometry(0, 0, 407, 473);
  Panel_About->setAutoFillBackground(true);
  Panel_About->hide();
  Image4 = new QLabel(Panel_About);
  Image4->setGeometry(6, 5, 33, 33);
  try {
    Image4->setPixmap(QPixmap::fromImage(ProgramEmblem()).scaled(33, 33, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  } catch (const Error&) {
    // Without the emblem the box still shows its name and the version grid.
  }
  Label_Vesperkalend = Label(Panel_About, {43, 10, 160, 24}, "Vesperkalend", Panel_Font("MS Sans Serif", 20, true));
  StringGrid_VersionsInfo = new QTableWidget(17, 2, Panel_About);
  StringGrid_VersionsInfo->setGeometry(6, 43, 395, 345);
  StringGrid_VersionsInfo->horizontalHeader()->hide();
  StringGrid_VersionsInfo->verticalHeader()->hide();
  StringGrid_VersionsInfo->setColumnWidth(0, 195);
  StringGrid_VersionsInfo->setColumnWidth(1, 195);
  for (int r = 0; r < 17; ++r) StringGrid_VersionsInfo->setRowHeight(r, 19);
  StringGrid_VersionsInfo->setFont(Panel_Font("MS Sans Serif", 13, true));
  StringGrid_VersionsInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Button_About_OK = new QPushButton("OK", Panel_About);
  Button_About_OK->setGeometry(160, 416, 89, 33);
  connect(Button_About_OK, &QPushButton::clicked, this, [this] { Button_About_OKClick(); });
}

void TForm_Main::Show_Chart(const QImage& img) {
  const QImage* full = &img;
  Screen_Chart = screen_filter_ ? screen_filter_(img) : QImage();
  if (screen_filter_) full = &Screen_Chart;
  const qreal device_ratio = Image1->devicePixelRatioF();
  Image1_Bitmap = QImage((QSizeF(Chart_DispW, Chart_DispH) * device_ratio).toSize(), QImage::Format_RGB32);
  Copy_Chart_To(*full, Image1_Bitmap);
  Image1_Bitmap.setDevicePixelRatio(device_ratio);
  Image1->setImage(&Image1_Bitmap, full);
}

void TForm_Main::Set_Screen_Filter(std::function<QImage(const QImage&)> filter) {
  screen_filter_ = std::move(filter);
  Render_Chart();
}

void TForm_Main::Show_Message(const QString& title, const QString& text) {
  if (options_.show_message)
    options_.show_message(title, text);
  else
    QMessageBox::critical(this, title, text);
}

void TForm_Main::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Error& e) {
    Show_Status(QString::fromStdString(e.describe()), StatusColour::Red);
    Show_Message("Vesperkalend", QString::fromStdString(e.describe()));
  } catch (const std::exception& e) {
    Show_Status(QString::fromUtf8(e.what()), StatusColour::Red);
    Show_Message("Vesperkalend", QString::fromUtf8(e.what()));
  }
}

void TForm_Main::Show_Status(const QString& text, StatusColour colour) {
  QPalette pal = StatusBar1->palette();
  const QColor face = QApplication::palette().color(QPalette::Button);
  pal.setColor(QPalette::Window, colour == StatusColour::Red      ? QColor(255, 0, 0)
                                 : colour == StatusColour::Yellow ? QColor(255, 255, 0)
                                                                  : face);
  StatusBar1->setPalette(pal);
  StatusBar1->setText(text);
}

void TForm_Main::Show_Making(double share) {
  if (share < 0) {
    ProgressBar_Tabellen->hide();
    Button_Abbrechen->hide();
    return;
  }
  if (ProgressBar_Tabellen->isHidden()) {
    const QString period = QString::fromStdString(session_->Period_Asked().tag());
    Show_Status(QCoreApplication::translate("Window", "Tabellen von %1 werden berechnet...").arg(period),
                StatusColour::Yellow);
    ProgressBar_Tabellen->show();
    ProgressBar_Tabellen->raise();
    Button_Abbrechen->show();
    Button_Abbrechen->raise();
  }
  ProgressBar_Tabellen->setValue(static_cast<int>(share * 1000));
}

void TForm_Main::about1Click() {
  Place_About_Box();
  Panel_About->show();
  Panel_About->raise();
  Button_About_OK->setFocus();
}

// Centred on the screen as long as the window holds it there; otherwise moved
// inside the window, so that its OK button can always be reached.
void TForm_Main::Place_About_Box() {
  const QSize screen = this->screen() ? this->screen()->size() : size();
  const QSize client = centralWidget()->size();
  const int x = (screen.width() - Panel_About->width()) / 2;
  const int y = (screen.height() - Panel_About->height()) / 2;
  Panel_About->move(std::clamp(x, 0, std::max(0, client.width() - Panel_About->width())),
                    std::clamp(y, 0, std::max(0, client.height() - Panel_About->height())));
}

// The smallest window in which every control of the right panel is whole at
// its smallest: the panel must reach below Memo1 and right of the widest
// control, with the chart beside it in its own proportion.
void TForm_Main::Set_Minimum_Size() {
  QRect needed;
  for (QWidget* c : Panel_Rght->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!c->isHidden()) needed = needed.united(c->geometry());
  panel_needs_ = QSize(needed.right() + 1, needed.bottom() + 1);
  panel_scale_ = std::make_unique<PanelScale>(Panel_Rght);
  const int client_height = static_cast<int>(std::ceil(panel_needs_.height() * kMinPanelScale)) + kStatusBarHeight;
  int client_width = panel_needs_.width() / 2;
  while (ComputeFormLayout(client_width, client_height, panel_needs_.width(), panel_needs_.height()).bild_width <
         kMinChartWidth)
    ++client_width;
  setMinimumSize(client_width, client_height + menuBar()->sizeHint().height());
}

void TForm_Main::Button_About_OKClick() { Panel_About->hide(); }

void TForm_Main::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QMainWindow::changeEvent(event);
}

void TForm_Main::FormActivate() { BitBtn_Daag_Plus->setFocus(); }

bool TForm_Main::eventFilter(QObject* watched, QEvent* event) {
  // Key preview: the window sees each key once, before the focused control, and leaves it to that control.
  // A key goes first to the focused control (or the window when none has the
  // focus) and then, when ignored, to its parents: only that first delivery counts.
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != this) focus = this;
    if (watched == focus) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      FormKeyDown(key);
      // Up and Down step the date everywhere, the zone and place boxes included.
      if ((key == Qt::Key_Up || key == Qt::Key_Down) &&
          (focus == ComboBox_TZone || focus == ComboBox_TZone->lineEdit() || focus == ComboBox_Ort ||
           focus == ComboBox_Ort->lineEdit()))
        return true;
    }
  }
  if (event->type() == QEvent::ToolTip && watched == Image1) {
    const auto* help = static_cast<QHelpEvent*>(event);
    return Show_Chart_Tooltip(help->globalPos(), help->pos());
  }
  if (Filter_Control_Event(watched, event)) return true;
  return QMainWindow::eventFilter(watched, event);
}

// Mouse buttons on the step buttons, the wheel on the zone list and the focus
// leaving an edit field (the window filters the events of every control).
bool TForm_Main::Filter_Control_Event(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      // The right and middle buttons press the step buttons as the left one does.
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) return false;
      for (const auto& [button, step] : step_buttons_) {
        if (watched != button || !button->isEnabled()) continue;
        if (event->type() == QEvent::MouseButtonRelease) {
          button->setDown(false);
          Step_Released();
        } else {
          button->setDown(true);
          Guarded([&] { Step_Pressed(button, step); });
        }
        return true;
      }
      return false;
    }
    case QEvent::Wheel:
      // The wheel turns the zone and place lists only while they have the focus.
      return (watched == ComboBox_TZone && !ComboBox_TZone->hasFocus()) ||
             (watched == ComboBox_Ort && !ComboBox_Ort->hasFocus());
    case QEvent::FocusOut:
      // Typed zone text takes effect on leaving the box; an edit field left
      // without Enter shows the value in force again.
      if (watched == ComboBox_TZone || watched == ComboBox_TZone->lineEdit()) {
        Guarded([&] { Apply_Typed_Zone(); });
      } else if (watched == ComboBox_Ort->lineEdit()) {
        // Text typed but not taken gives way to the place in force (not while
        // the completion list takes the keys).
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) Show_Place();
      } else {
        for (QLineEdit* field : {RichEdit_Jahr, RichEdit_Monat, RichEdit_Daag, Edit_nLat, Edit_eLon})
          if (watched == field) Show_Values_In_Force(field);
      }
      return false;
    default: return false;
  }
}

}  // namespace vk
