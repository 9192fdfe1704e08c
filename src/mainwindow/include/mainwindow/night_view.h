// The night view: the whole window and the chart in dark red on black,
// switched by "Nachtansicht" in the menu "Ansicht" (key N) and kept in the
// options file.
#pragma once
#include <QPalette>
#include <filesystem>

#include "mainwindow/options_file.h"

class QAction;

namespace vk {

class TForm_Main;

// The night-view option of the options file in `dir` (an INI file; key
// Ansicht/Nachtansicht). Returns: false when the file or the key is missing
// or unreadable.
bool Read_Night_View_Option(const std::filesystem::path& dir);

// Stores the option in the options file in `dir`, written to a temporary
// file and renamed; other keys of the file stay. Returns: false when it could
// not be written.
bool Write_Night_View_Option(const std::filesystem::path& dir, bool on);

// The palette in dark red on black: texts red (200, 0, 0; disabled 100),
// backgrounds dark red of their brightness (at most 40), frame shades at most
// 90, the selection 110. Never fails.
QPalette Night_Palette(const QPalette& palette);

// Adds the checkable "Nachtansicht" (key N) to the menu "Ansicht" of `form`,
// reads its state from the options file beside the form's settings file and
// applies it. Returns: the action. Never fails.
QAction* Add_Night_View(TForm_Main& form);

}  // namespace vk
