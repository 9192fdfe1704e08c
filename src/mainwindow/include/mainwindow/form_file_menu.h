// The menu "Datei" of the main window: the chart as a picture or PDF page,
// printing, the month sheet and the calendar export of the events.
#pragma once
#include <QDate>
#include <QSize>
#include <QString>
#include <filesystem>

#include "export/event_groups.h"

class QPrinter;

namespace vk {

class TForm_Main;

// The object name of "Bildschirmfoto beim Beenden speichern", checkable:
// whether the window writes Screendump.bmp when it closes.
inline constexpr const char* kScreendumpActionName = "Bildschirmfoto1";

// Adds the menu "Datei" in front of the menu bar, the screen dump's choice
// as the options file keeps it. Never fails.
void Add_File_Menu(TForm_Main& form);

// The chart of the chosen day into `path`: PNG, JPEG or BMP by its ending at
// `size` (the full 2500 x 2200 or the size on screen) with the heading band
// above it (its height grown by the band's share), or a vector PDF page,
// landscape on the system's paper, with the heading; in print colours when
// the "Druckfarben" option is on.
// Throws: Error naming the path for another ending or when it cannot be
// written; no file is left then.
void Save_Form_Chart(TForm_Main& form, const std::filesystem::path& path, QSize size);

// The chosen day's month, one vector PDF page per day. Throws: as Save_Form_Chart.
void Save_Form_Month(TForm_Main& form, const std::filesystem::path& path);

// The year table of the chosen day's year (the days the table in force
// holds) into `path`: PDF, CSV or text by its ending, on the system's paper.
// Throws: as Save_Form_Chart, for an ending other than .pdf, .csv or .txt.
void Save_Form_Year_Table(TForm_Main& form, const std::filesystem::path& path);

// The month page of the chosen day's month into `path`, as Save_Form_Year_Table.
void Save_Form_Month_Page(TForm_Main& form, const std::filesystem::path& path);

// The print-colours option ("Druckfarben") of `options_file`; false without it. Never fails.
bool Read_Print_Colours_Option(const std::filesystem::path& options_file);

// The chart with its heading fitted to the printer's paper turned to
// landscape, in print colours when that option is on. Never fails.
void Print_Form_Chart(TForm_Main& form, QPrinter& printer);

// The events of the local days `from` … `to` of the chosen kinds as an
// iCalendar file named after the chosen place; the seasons' starts by the
// equator too when `equator_seasons`. Returns: the number of events.
// Throws: Error naming the path when it cannot be written (no file is left),
// or for `from` after `to`.
int Export_Form_Events(TForm_Main& form, const std::filesystem::path& path, QDate from, QDate to, tGroupSet kinds,
                       bool equator_seasons = false);

}  // namespace vk
