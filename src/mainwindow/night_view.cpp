#include "mainwindow/night_view.h"

#include "base/error.h"
#include "mainwindow/options_file.h"

#include <QCoreApplication>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <vector>

#include "export/chart_output.h"
#include "mainwindow/chart_view.h"
#include "mainwindow/form_main.h"
#include "mainwindow/menu_bar.h"

namespace vk {

namespace {

constexpr const char* kNightViewKey = "Ansicht/Nachtansicht";

// Dark red of the colour's brightness, at most `top`.
QColor Night_Colour(const QColor& c, int top) {
  const int brightness = (299 * c.red() + 587 * c.green() + 114 * c.blue()) / 1000;
  return QColor(brightness * top / 255, 0, 0, c.alpha());
}

// The style sheet with every "#rrggbb" colour in dark red of its brightness.
QString Night_Style_Sheet(const QString& sheet) {
  static const QRegularExpression colour("#[0-9a-fA-F]{6}\\b");
  QString night = sheet;
  for (const QRegularExpressionMatch& m : colour.globalMatch(sheet))
    night.replace(m.captured(), Night_Colour(QColor(m.captured()), 200).name());
  return night;
}

// Switches the window between its own colours and the night view, and keeps
// the controls that set their own palettes (the status bar on every status)
// in the night colours while it is on.
class NightView : public QObject {
 public:
  explicit NightView(TForm_Main& form) : QObject(&form), form_(form) {}

  void Set(bool on) {
    if (on == on_) return;
    on_ = on;
    applying_ = true;
    if (on_) {
      day_app_ = QApplication::palette();
      QApplication::setPalette(Night_Palette(day_app_));
      own_.clear();
      for (QWidget* w : form_.findChildren<QWidget*>()) {
        if (!w->styleSheet().isEmpty()) {
          sheets_.push_back({w, w->styleSheet()});
          w->setStyleSheet(Night_Style_Sheet(w->styleSheet()));
        }
        if (!w->testAttribute(Qt::WA_SetPalette)) continue;
        own_.push_back({w, w->palette()});
        w->setPalette(Night_Palette(w->palette()));
        w->installEventFilter(this);
      }
    } else {
      QApplication::setPalette(day_app_);
      for (auto& [w, palette] : own_) {
        if (!w) continue;
        w->removeEventFilter(this);
        w->setPalette(palette);
      }
      own_.clear();
      for (auto& [w, sheet] : sheets_)
        if (w) w->setStyleSheet(sheet);
      sheets_.clear();
    }
    applying_ = false;
    // The chart on the screen goes through the night colours while on.
    form_.Set_Screen_Filter(on_ ? std::function<QImage(const QImage&)>(Night_View_Image) : nullptr);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (on_ && !applying_ && event->type() == QEvent::PaletteChange) {
      for (auto& [w, palette] : own_) {
        if (w != watched) continue;
        palette = w->palette();  // the control's new day colours, for the way back
        applying_ = true;
        w->setPalette(Night_Palette(palette));
        applying_ = false;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TForm_Main& form_;
  bool on_ = false;
  bool applying_ = false;
  QPalette day_app_;
  std::vector<std::pair<QPointer<QWidget>, QPalette>> own_;
  std::vector<std::pair<QPointer<QWidget>, QString>> sheets_;
};

}  // namespace

bool Read_Night_View_Option(const std::filesystem::path& dir) {
  const auto values = ReadOptionValues(dir / kOptionsFileName, {kNightViewKey});
  const auto it = values.find(kNightViewKey);
  return it != values.end() && it->second == "true";
}

bool Write_Night_View_Option(const std::filesystem::path& dir, bool on) {
  try {
    WriteOptionValues(dir / kOptionsFileName, {{kNightViewKey, on ? "true" : "false"}});
    return true;
  } catch (const Error&) {
    return false;
  }
}

QPalette Night_Palette(const QPalette& palette) {
  QPalette night = palette;
  for (int g = 0; g < QPalette::NColorGroups; ++g)
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
      const auto group = static_cast<QPalette::ColorGroup>(g);
      const auto role = static_cast<QPalette::ColorRole>(r);
      const QColor c = palette.color(group, role);
      switch (role) {
        case QPalette::WindowText:
        case QPalette::Text:
        case QPalette::ButtonText:
        case QPalette::BrightText:
        case QPalette::ToolTipText:
        case QPalette::Link:
        case QPalette::LinkVisited:
          night.setColor(group, role, group == QPalette::Disabled ? QColor(100, 0, 0) : QColor(200, 0, 0));
          break;
        case QPalette::PlaceholderText: night.setColor(group, role, QColor(100, 0, 0)); break;
        case QPalette::Highlight: night.setColor(group, role, QColor(110, 0, 0)); break;
        case QPalette::HighlightedText: night.setColor(group, role, QColor(0, 0, 0)); break;
        case QPalette::Light:
        case QPalette::Midlight:
        case QPalette::Mid:
        case QPalette::Dark:
        case QPalette::Shadow: night.setColor(group, role, Night_Colour(c, 90)); break;
        default: night.setColor(group, role, Night_Colour(c, 40)); break;  // the backgrounds
      }
    }
  return night;
}

QAction* Add_Night_View(TForm_Main& form) {
  QMenu* menu = Find_Or_Add_Menu(form.menuBar(), QCoreApplication::translate("Window", "&Ansicht"), QCoreApplication::translate("Window", "&Help"));
  auto* view = new NightView(form);
  QAction* action = menu->addAction(QCoreApplication::translate("Window", "&Nachtansicht"));
  action->setCheckable(true);
  action->setShortcut(QKeySequence(Qt::Key_N));
  action->setShortcutContext(Qt::WindowShortcut);
  const std::filesystem::path dir = form.Options_Path().parent_path();
  action->setChecked(!dir.empty() && Read_Night_View_Option(dir));
  view->Set(action->isChecked());
  QObject::connect(action, &QAction::toggled, &form, [&form, view, dir](bool on) {
    view->Set(on);
    if (!dir.empty() && !Write_Night_View_Option(dir, on))
      form.Show_Status(QCoreApplication::translate("Window", "Die Optionsdatei konnte nicht geschrieben werden"), StatusColour::Red);
  });
  return action;
}

}  // namespace vk
