// The menu "Ansicht": "Exakte Zeiten" chooses precise or classic instants of
// rises, sets, transits and twilights, "Sprache" the language of the next
// start; both choices live in the options file. "Vergrößern", "Verkleinern"
// and "Ganzes Bild" enlarge the chart on the screen (also the mouse wheel
// over the chart).
#include <QCoreApplication>
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <exception>

#include "mainwindow/chart_view.h"
#include "mainwindow/form_main.h"
#include "mainwindow/menu_bar.h"
#include "mainwindow/options_file.h"
#include "base/error.h"
#include "language/translations.h"

namespace vk {

void TForm_Main::Build_View_Menu() {
  QMenu* view = Find_Or_Add_Menu(menuBar(), QCoreApplication::translate("Window", "&Ansicht"), QCoreApplication::translate("Window", "&Help"));
  Exakte_Zeiten1 = view->addAction(QCoreApplication::translate("Window", "&Exakte Zeiten"));
  Exakte_Zeiten1->setObjectName("Exakte_Zeiten1");
  Exakte_Zeiten1->setCheckable(true);
  Exakte_Zeiten1->setChecked(true);
  connect(Exakte_Zeiten1, &QAction::triggered, this, [this] { Guarded([&] { Exakte_Zeiten1Click(); }); });

  // Each language is named in its own words; the choice applies from the next start.
  QMenu* languages = view->addMenu(QCoreApplication::translate("Window", "&Sprache"));
  languages->menuAction()->setObjectName("Sprache1");
  auto* group = new QActionGroup(languages);
  for (const auto& [language, name] : {std::pair{Language::German, "Deutsch"}, std::pair{Language::English, "English"}}) {
    QAction* a = languages->addAction(QString::fromUtf8(name));
    a->setObjectName(QStringLiteral("Sprache_") + QString::fromLatin1(LanguageCode(language).data(), 2));
    a->setCheckable(true);
    a->setChecked(language == UiLanguage());
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, language] { Guarded([&] { Choose_Language(language); }); });
  }

  view->addSeparator();
  const struct {
    QAction** action;
    const char* name;
    QString text;
    QList<QKeySequence> keys;
    double steps;  // 0: the whole chart
  } zooms[] = {
      {&Vergroessern1, "Vergroessern1", QCoreApplication::translate("Window", "&Vergrößern"),
       {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1},
      {&Verkleinern1, "Verkleinern1", QCoreApplication::translate("Window", "Ver&kleinern"),
       {QKeySequence::ZoomOut}, -1},
      {&Ganzes_Bild1, "Ganzes_Bild1", QCoreApplication::translate("Window", "&Ganzes Bild"),
       {QKeySequence(Qt::CTRL | Qt::Key_0)}, 0},
  };
  for (const auto& z : zooms) {
    *z.action = view->addAction(z.text);
    (*z.action)->setObjectName(z.name);
    (*z.action)->setShortcuts(z.keys);
    connect(*z.action, &QAction::triggered, this, [this, steps = z.steps] {
      if (steps == 0)
        Image1->Zoom_Fit();
      else
        Image1->Zoom_By(steps);
    });
  }
}

void TForm_Main::Choose_Language(Language language) {
  WriteLanguageOption(Options_Path(), language);
  Show_Status(language == UiLanguage()
                  ? QString()
                  : QCoreApplication::translate("Window", "Die Sprache wechselt beim nächsten Start von Vesperkalend"),
              StatusColour::ButtonFace);
}

void TForm_Main::Load_View_Options() {
  const WindowOptions o = ReadOptionsFile(options_.folders.settings_dir / kOptionsFileName);
  Exakte_Zeiten1->setChecked(o.precise_instants);
  session_->Set_Mode(o.precise_instants ? Interpolation::Precise : Interpolation::Classic);
}

void TForm_Main::Exakte_Zeiten1Click() {
  WindowOptions o = ReadOptionsFile(options_.folders.settings_dir / kOptionsFileName);
  o.precise_instants = Exakte_Zeiten1->isChecked();
  session_->Set_Mode(o.precise_instants ? Interpolation::Precise : Interpolation::Classic);
  // The day is recomputed even when the choice cannot be kept; that error is shown afterwards.
  std::exception_ptr not_kept;
  try {
    WriteOptionsFile(options_.folders.settings_dir / kOptionsFileName, o);
  } catch (const Error&) {
    not_kept = std::current_exception();
  }
  session_->Recompute();
  if (not_kept) std::rethrow_exception(not_kept);
}

}  // namespace vk
