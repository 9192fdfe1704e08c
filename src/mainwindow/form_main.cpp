#include "mainwindow/form_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPolygon>
#include <QPushButton>
#include <QTableWidget>

#include "ephemeris/time_zones.h"
#include "ephemeris/version_info.h"
#include "mainwindow/chart_view.h"
#include "mainwindow/form_file_menu.h"
#include "mainwindow/night_view.h"
#include "timecalc/calendar.h"
#include "timecalc/errors.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

QFont Font(const char* family, int pixels, bool bold = false) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

// A black triangle on a transparent square, pointing up, down, left or right.
QIcon Triangle(int w, int h, char direction) {
  QPixmap pm(w, h);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::black);
  p.setPen(Qt::NoPen);
  QPolygon tri;
  switch (direction) {
    case 'u': tri << QPoint(0, h - 1) << QPoint(w - 1, h - 1) << QPoint(w / 2, 0); break;
    case 'd': tri << QPoint(0, 0) << QPoint(w - 1, 0) << QPoint(w / 2, h - 1); break;
    case 'l': tri << QPoint(w - 1, 0) << QPoint(w - 1, h - 1) << QPoint(0, h / 2); break;
    default: tri << QPoint(0, 0) << QPoint(0, h - 1) << QPoint(w - 1, h / 2); break;
  }
  p.drawPolygon(tri);
  return QIcon(pm);
}

QPushButton* GlyphButton(QWidget* parent, QRect geometry, const QIcon& icon, QSize icon_size) {
  auto* b = new QPushButton(parent);
  b->setGeometry(geometry);
  b->setIcon(icon);
  b->setIconSize(icon_size);
  b->setFocusPolicy(Qt::ClickFocus);  // no tab stop
  return b;
}

QLabel* Label(QWidget* parent, QRect geometry, const QString& text, const QFont& font) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(geometry);
  l->setFont(font);
  return l;
}

}  // namespace

QString Site_Text(double degrees) { return QString::fromStdString(FormatFixed(degrees, 2)); }

TForm_Main::TForm_Main(FormOptions options, QWidget* parent)
    : QMainWindow(parent), almanac(std::make_unique<Almanac>()), options_(std::move(options)) {
  if (options_.log_dir.empty()) options_.log_dir = options_.data_dir;
  setWindowTitle("Vesperkalend");
  resize(1460, 834 + 30);
  Build_Menu();
  Build_Controls();
  chart.Pictures = ShippedChartPictures();
  chart.Process_Messages = [this] { Process_Messages(); };
  chart.Copy_To_Screen = [this](const QImage& img) {
    if (Image1_Bitmap.isNull()) return;
    Copy_Chart_To(img, Image1_Bitmap);
    Image1->setImage(&Image1_Bitmap);
    Image1->repaint();
  };
  qApp->installEventFilter(this);
  Guarded([this] { FormCreate(); });
  Add_File_Menu(*this);
  Add_Night_View(*this);
  created_ = true;
}

TForm_Main::~TForm_Main() { qApp->removeEventFilter(this); }

void TForm_Main::Build_Menu() {
  QMenuBar* bar = menuBar();
  Exit1 = bar->addAction("E&xit");
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  Makebinaryfiles1 = bar->addAction("Make binary files");
  Makebinaryfiles1->setEnabled(false);
  Computealldata1 = bar->addAction("Compute all data");
  Computealldata1->setEnabled(false);
  QMenu* help = bar->addMenu("&Help");
  about1 = help->addAction("&about");
  connect(about1, &QAction::triggered, this, [this] { about1Click(); });
}

void TForm_Main::Build_Controls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  client->setFont(Font("MS Sans Serif", 13));
  Panel_Left = new QWidget(client);
  Panel_Bild = new QWidget(client);
  Panel_Bild->setAutoFillBackground(true);
  QPalette grey = Panel_Bild->palette();
  grey.setColor(QPalette::Window, QColor(128, 128, 128));
  Panel_Bild->setPalette(grey);
  Image1 = new ChartView(Panel_Bild);
  Panel_Rght = new QWidget(client);
  StatusBar1 = new QLabel(client);
  StatusBar1->setAutoFillBackground(true);
  StatusBar1->setContentsMargins(4, 0, 4, 0);
  StatusBar1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Show_Status("", StatusColour::ButtonFace);
  Build_Right_Panel();
  Build_About_Box();
}

void TForm_Main::Build_Right_Panel() {
  QWidget* p = Panel_Rght;
  Shape2 = new QWidget(p);
  Shape2->setGeometry(4, -1, 351, 170);
  Shape2->setAutoFillBackground(true);
  QPalette black = Shape2->palette();
  black.setColor(QPalette::Window, Qt::black);
  Shape2->setPalette(black);

  auto date_field = [&](QRect g, const QString& text) {
    auto* e = new QLineEdit(text, p);
    e->setGeometry(g);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setFrame(false);
    e->setFont(Font("Arial", 53, true));
    e->setStyleSheet("QLineEdit { color: #00ff00; background: black; border: none; }");
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
  };
  RichEdit_Jahr = date_field({18, 30, 141, 70}, "2022");
  RichEdit_Monat = date_field({175, 30, 73, 70}, "99");
  RichEdit_Daag = date_field({266, 30, 75, 70}, "99");
  for (QLabel** l : {&Label1, &Label2}) {
    *l = Label(p, l == &Label1 ? QRect(159, 30, 21, 70) : QRect(250, 30, 21, 70), "-", Font("Arial Narrow", 53, true));
    (*l)->setAlignment(Qt::AlignCenter);
    (*l)->setStyleSheet("color: #00ff00; background: transparent;");
  }
  const QIcon up = Triangle(15, 15, 'u'), down = Triangle(15, 15, 'd');
  BitBtn_Jahr_Plus = GlyphButton(p, {32, 7, 125, 25}, up, {15, 15});
  BitBtn_Monat_Plus = GlyphButton(p, {191, 7, 57, 25}, up, {15, 15});
  BitBtn_Daag_Plus = GlyphButton(p, {276, 7, 57, 25}, up, {15, 15});
  BitBtn_Jahr_Minus = GlyphButton(p, {32, 97, 125, 25}, down, {15, 15});
  BitBtn_Monat_Minus = GlyphButton(p, {189, 97, 57, 25}, down, {15, 15});
  BitBtn_Daag_Minus = GlyphButton(p, {276, 97, 57, 25}, down, {15, 15});
  Button_Heute = new QPushButton("Heute", p);
  Button_Heute->setGeometry(32, 130, 300, 29);
  Button_Heute->setFont(Font("Arial", 23, true));
  Button_Heute->setFocusPolicy(Qt::ClickFocus);

  const struct {
    QPushButton* button;
    int y, m, d;
  } steps[] = {{BitBtn_Jahr_Plus, 1, 0, 0},  {BitBtn_Jahr_Minus, -1, 0, 0}, {BitBtn_Monat_Plus, 0, 1, 0},
               {BitBtn_Monat_Minus, 0, -1, 0}, {BitBtn_Daag_Plus, 0, 0, 1},  {BitBtn_Daag_Minus, 0, 0, -1}};
  for (const auto& s : steps) {
    connect(s.button, &QPushButton::pressed, this, [this, s] { Guarded([&] { Step_Date(s.y, s.m, s.d); }); });
    connect(s.button, &QPushButton::released, this, [this] { Step_Buttons_MouseUp(); });
  }
  for (QLineEdit* field : {RichEdit_Jahr, RichEdit_Monat, RichEdit_Daag})
    connect(field, &QLineEdit::returnPressed, this,
            [this, field] { Guarded([&] { RichEdit_KeyDown(field, Qt::Key_Return); }); });
  connect(Button_Heute, &QPushButton::clicked, this, [this] { Guarded([&] { Button_HeuteClick(); }); });

  const QFont narrow20 = Font("Arial Narrow", 20);
  CheckBox_Daemmerungen = new QCheckBox("Sonne: Aufg. / Unterg. / Dämmerung", p);
  CheckBox_Daemmerungen->setGeometry(6, 180, 340, 30);
  CheckBox_Auf_Untergaenge = new QCheckBox("Planeten: Aufgang / Untergang", p);
  CheckBox_Auf_Untergaenge->setGeometry(6, 212, 340, 30);
  CheckBox_Auf_Untergaenge->setChecked(true);
  CheckBox_Meridian = new QCheckBox("Planeten: Meridiandurchgang", p);
  CheckBox_Meridian->setGeometry(6, 244, 340, 30);
  for (QCheckBox* c : {CheckBox_Daemmerungen, CheckBox_Auf_Untergaenge, CheckBox_Meridian}) {
    c->setFont(narrow20);
    c->setFocusPolicy(Qt::ClickFocus);
  }
  connect(CheckBox_Daemmerungen, &QCheckBox::clicked, this, [this] { Guarded([&] { CheckBox_DaemmerungenClick(); }); });
  connect(CheckBox_Auf_Untergaenge, &QCheckBox::clicked, this,
          [this] { Guarded([&] { CheckBox_Auf_UntergaengeClick(); }); });
  connect(CheckBox_Meridian, &QCheckBox::clicked, this, [this] { Guarded([&] { CheckBox_MeridianClick(); }); });

  Label_TZone = Label(p, {6, 291, 62, 24}, "Zeitzone", narrow20);
  ComboBox_TZone = new QComboBox(p);
  ComboBox_TZone->setGeometry(79, 289, 108, 28);
  ComboBox_TZone->setEditable(true);
  ComboBox_TZone->setInsertPolicy(QComboBox::NoInsert);
  ComboBox_TZone->setFont(Font("Arial Narrow", 15, true));
  connect(ComboBox_TZone, &QComboBox::currentIndexChanged, this, [this](int) { Guarded([&] { ComboBox_TZoneChange(); }); });
  connect(ComboBox_TZone, &QComboBox::editTextChanged, this,
          [this](const QString&) { Guarded([&] { ComboBox_TZoneChange(); }); });
  Label_DST = Label(p, {192, 291, 160, 24}, "", narrow20);
  Label_nLat = Label(p, {6, 324, 200, 24}, "Geogr. Breite +=N -=S", narrow20);
  Label_eLon = Label(p, {6, 382, 200, 24}, "Geogr. Länge +=O -=W", narrow20);
  const QIcon left = Triangle(8, 11, 'l'), right = Triangle(9, 11, 'r');
  BitBtn_nLat_MinusSmall = GlyphButton(p, {6, 349, 49, 25}, left, {8, 11});
  BitBtn_nLat_PlusSmall = GlyphButton(p, {137, 349, 49, 25}, right, {9, 11});
  BitBtn_eLon_MinusSmall = GlyphButton(p, {6, 407, 49, 25}, left, {8, 11});
  BitBtn_eLon_PlusSmall = GlyphButton(p, {137, 407, 49, 25}, right, {9, 11});
  Edit_nLat = new QLineEdit("47.50", p);
  Edit_nLat->setGeometry(68, 347, 64, 28);
  Edit_eLon = new QLineEdit("7.50", p);
  Edit_eLon->setGeometry(69, 406, 64, 28);
  for (QLineEdit* e : {Edit_nLat, Edit_eLon}) {
    e->setFont(Font("Arial Narrow", 20, true));
    e->setFocusPolicy(Qt::ClickFocus);
  }
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
  for (const auto& s : site_steps) {
    connect(s.button, &QPushButton::pressed, this, [this, s] { Guarded([&] { Site_Step(s.latitude, s.step); }); });
    connect(s.button, &QPushButton::released, this, [this] { Step_Buttons_MouseUp(); });
  }

  const struct {
    QPushButton** button;
    const char* caption;
    QRect geometry;
    void (TForm_Main::*handler)();
  } tools[] = {{&Button_Monde_anpassen, "Monde anpassen", {368, 0, 120, 41}, &TForm_Main::Button_Monde_anpassenClick},
               {&Button_Venus_anpassen, "Venus anpassen", {368, 48, 120, 41}, &TForm_Main::Button_Venus_anpassenClick},
               {&Button_Merkur_anpassen, "Merkur anpassen", {368, 96, 121, 41},
                &TForm_Main::Button_Merkur_anpassenClick}};
  for (const auto& t : tools) {
    *t.button = new QPushButton(t.caption, p);
    (*t.button)->setGeometry(t.geometry);
    (*t.button)->setVisible(false);
    (*t.button)->setEnabled(false);
    connect(*t.button, &QPushButton::clicked, this, [this, h = t.handler] { Guarded([&] { (this->*h)(); }); });
  }

  Memo1 = new QPlainTextEdit(p);
  Memo1->setGeometry(6, 445, 440, 200);
  Memo1->setReadOnly(true);
  Memo1->setFont(Memo_Font());
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setFocusPolicy(Qt::ClickFocus);
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
  Label_Vesperkalend = Label(Panel_About, {43, 10, 160, 24}, "Vesperkalend", Font("MS Sans Serif", 20, true));
  StringGrid_VersionsInfo = new QTableWidget(17, 2, Panel_About);
  StringGrid_VersionsInfo->setGeometry(6, 43, 395, 345);
  StringGrid_VersionsInfo->horizontalHeader()->hide();
  StringGrid_VersionsInfo->verticalHeader()->hide();
  StringGrid_VersionsInfo->setColumnWidth(0, 195);
  StringGrid_VersionsInfo->setColumnWidth(1, 195);
  for (int r = 0; r < 17; ++r) StringGrid_VersionsInfo->setRowHeight(r, 19);
  StringGrid_VersionsInfo->setFont(Font("MS Sans Serif", 13, true));
  StringGrid_VersionsInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Button_About_OK = new QPushButton("OK", Panel_About);
  Button_About_OK->setGeometry(160, 416, 89, 33);
  connect(Button_About_OK, &QPushButton::clicked, this, [this] { Button_About_OKClick(); });
}

void TForm_Main::Process_Messages() { QCoreApplication::processEvents(); }

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

void TForm_Main::about1Click() {
  const QSize screen = this->screen() ? this->screen()->size() : size();
  Panel_About->move((screen.width() - Panel_About->width()) / 2, (screen.height() - Panel_About->height()) / 2);
  Panel_About->show();
  Panel_About->raise();
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
    if (watched == focus) FormKeyDown(static_cast<QKeyEvent*>(event)->key());
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace vk
