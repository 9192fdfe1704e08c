// Menus of the main window's menu bar, found by their title.
#pragma once
#include <QString>

class QMenu;
class QMenuBar;

namespace vk {

// The menu titled `title` (the "&" of a mnemonic ignored), or a new one added
// to the bar, before `before_title`'s menu or action when that exists, else
// at the end. Never fails.
QMenu* Find_Or_Add_Menu(QMenuBar* bar, const QString& title, const QString& before_title = {});

}  // namespace vk
