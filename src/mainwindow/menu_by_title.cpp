#include "mainwindow/menu_by_title.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vk {
namespace {

QString Plain(QString title) { return title.remove('&'); }

}  // namespace

QMenu* Menu_By_Title(QMenuBar* bar, const QString& title) {
  QAction* help = nullptr;
  for (QAction* a : bar->actions()) {
    QMenu* menu = a->menu();
    if (menu == nullptr) continue;
    if (Plain(menu->title()) == Plain(title)) return menu;
    if (Plain(menu->title()) == "Help") help = a;
  }
  auto* menu = new QMenu(title, bar);
  if (help != nullptr)
    bar->insertMenu(help, menu);
  else
    bar->addMenu(menu);
  return menu;
}

}  // namespace vk
