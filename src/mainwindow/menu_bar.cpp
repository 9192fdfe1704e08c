#include "mainwindow/menu_bar.h"

#include <QMenu>
#include <QMenuBar>

namespace vk {

namespace {

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

}  // namespace

QMenu* Find_Or_Add_Menu(QMenuBar* bar, const QString& title, const QString& before_title) {
  QAction* before = nullptr;
  for (QAction* a : bar->actions()) {
    if (a->menu() != nullptr && Plain(a->text()) == Plain(title)) return a->menu();
    if (before == nullptr && !before_title.isEmpty() && Plain(a->text()) == Plain(before_title)) before = a;
  }
  auto* menu = new QMenu(title, bar);
  if (before != nullptr)
    bar->insertMenu(before, menu);
  else
    bar->addMenu(menu);
  return menu;
}

}  // namespace vk
