// Menus of the menu bar found by their title, so that every part of the
// window that adds entries to one menu shares it.
#pragma once
#include <QString>

class QMenu;
class QMenuBar;

namespace vk {

// The menu of `bar` whose title, without "&" marks, is `title` without its
// "&" marks; when there is none, a new menu titled `title`, placed before
// the "Help" menu when the bar has one, else at the end. Never fails.
QMenu* Menu_By_Title(QMenuBar* bar, const QString& title);

}  // namespace vk
