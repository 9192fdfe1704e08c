// The main window: the day chart on the left, date, display options, zone and
// site controls on the right, and every handler that drives the program.
#pragma once
#include <QMainWindow>
#include <QImage>
#include <QDate>
#include <QDateTime>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/language.h"
#include "chart/day_chart.h"
#include "programfiles/settings_file.h"
#include "session/session.h"
#include "mainwindow/platform.h"
#include "base/platform.h"
#include "timecalc/places.h"

class QAction;
class QCheckBox;
class QComboBox;
class QCompleter;
class QStringListModel;
class QLabel;
class QMenu;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace vk {

class ChartView;
class PanelScale;

// Where the window finds and keeps its files, and the hooks tests replace.
struct FormOptions {
  std::filesystem::path data_dir = ".";   // binary ephemerides and the phase file
  std::filesystem::path log_dir;          // the event log; empty: data_dir
  std::filesystem::path cache_dir;        // tables of the other periods; empty: the user's cache folder
  UserFolders folders = DefaultUserFolders();
  std::string executable;                 // whose version block gives the version
  std::function<QDate()> today = [] { return QDate::currentDate(); };
  // The present moment for the chart's line of it (UTC).
  std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };
  // The tz database name of the system's zone, whose place a first start opens on.
  std::function<std::string()> system_zone = [] { return SystemZoneName(); };
  // Shows an error or notice (title, text); default: a modal message box.
  std::function<void(const QString& title, const QString& text)> show_message;
  // Why the data folder could not be found (the file missing and the folders
  // looked in); when set, start-up shows it instead of computing.
  std::string data_error;
};

class TForm_Main : public QMainWindow {
 public:
  explicit TForm_Main(FormOptions options, QWidget* parent = nullptr);
  ~TForm_Main() override;

  // True when start-up found settings of another version: the program ends
  // right after start-up.
  bool End_Requested() const { return end_requested_; }

  // What the window shows, for the program entry and the tests.
  double Chosen_Day() const { return session_->Day(); }       // Julian day of the local 00:00
  const Site& Site_In_Force() const { return session_->In_Force().site; }
  const Almanac& Almanac_In_Force() const { return session_->In_Force(); }  // events, phases, interpolation
  const Session& Session_In_Force() const { return *session_; }
  // The chosen place's name ("Berlin"); empty for a site given by its coordinates.
  std::string Place_Name() const;
  const std::string& Place_Display() const { return place_; }  // "Berlin — Europe/Berlin"; empty: own coordinates
  const DayChart& Chart() const { return chart; }              // the full-size chart and its state
  bool Chart_Drawn() const { return !chart_waits_; }          // false until the first computation has ended
  std::filesystem::path Options_Path() const;                  // Vesperkalend-options.ini
  // Shows the window with the size, place and state it had when last closed,
  // as the options file keeps them. Returns: false, showing nothing, when the
  // file keeps none (or none that fits).
  bool Show_As_Last_Time();
  // Passes the chart through `filter` (may be empty) on its way to the screen, and redraws it.
  void Set_Screen_Filter(std::function<QImage(const QImage&)> filter);
  int Zone_Index() const { return zone_index; }               // row of the zone list
  const QImage& Displayed_Chart() const { return Image1_Bitmap; }
  bool Step_Repeating() const { return held_ != nullptr; }
  // True while a recomputation runs on the worker; the chart shows the table in force meanwhile.
  bool Computing() const { return session_->Computing(); }
  // True while the worker computes or writes the event log.
  // True while a site step waits for its pause or the worker computes or writes the event log.
  bool Working() const;
  // Makes `jd` (a local 00:00 inside the period) the chosen day and refreshes it.
  void Go_To_Day(double jd);

  // Runs a handler; a file or conversion error ends it and is shown, the window stays usable.
  void Guarded(const std::function<void()>& handler);
  void Show_Status(const QString& text, StatusColour colour);
  // The progress bar and its stop button while a period's tables are made; share < 0 hides them.
  void Show_Making(double share);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // --- handlers ---
  void FormCreate();
  void FormActivate();
  void FormResize();
  void FormClose();
  void Exit1Click() { close(); }
  void Refresh_Day();
  void End_Chart_Wait();  // chart_waits_ ended: the day's chart drawn from the tables in force
  void Render_Chart();  // the chart of the chosen day from the table in force
  // Fits the full-size chart `img` into Image1_Bitmap at the screen's
  // resolution (night colours applied) and hands both to Image1.
  void Show_Chart(const QImage& img);
  void RichEdit_KeyDown(QLineEdit* field, int key);
  void Button_HeuteClick();
  void FormKeyDown(int key);
  void ComboBox_TZoneChange();
  void Edit_nLatKeyDown(int key);
  void Edit_eLonKeyDown(int key);
  void Take_Typed_Degrees(QLineEdit* field, bool latitude);
  void Keep_Display_Options();
  void Choose_Place(const Place& place);  // sets latitude, longitude and the place's zone, recomputes once
  void CheckBox_DaemmerungenClick();
  void CheckBox_Auf_UntergaengeClick();
  void CheckBox_MeridianClick();
  void about1Click();
  void Exakte_Zeiten1Click();
  // "Ansicht" → "Sprache": keeps the language for the next start, and says so.
  void Choose_Language(Language language);
  void Button_About_OKClick();
  void SaveSettings();
  void Button_Monde_anpassenClick();
  void Button_Venus_anpassenClick();
  void Button_Merkur_anpassenClick();

  // Held step buttons: a press steps at once (a date) or after the site's
  // pause; while held, the next step follows the date's pause after the
  // refresh, then each finished refresh, or each finished recomputation.
  struct Step {
    enum Kind { Date, Site } kind;
    int years = 0, months = 0, days = 0;  // a date's step
    bool latitude = false;                // a site's step: which value, by how much
    double degrees = 0;
  };
  void Step_Pressed(QPushButton* button, const Step& step);
  void Step_Released();
  void Step_Once(const Step& step);
  void Step_Timer_Fired();
  void Site_Changed_By_Step();
  void Computation_Ended();

  // --- state ---
  Session* session_ = nullptr;    // the site, day, flags and almanac; owns the worker
  DayChart chart;                 // the drawing surface; its day, site and flags come from the session
  SettingsRecord settings{};
  std::string current_version;
  std::filesystem::path settings_path;
  QPushButton* held_ = nullptr;   // the step button held down, or null
  Step held_step_{};
  QTimer* step_timer_ = nullptr;  // the pause before a held button's next step
  bool site_step_waits_ = false;  // a held site button waits for its recomputation
  // No chart is drawn before the first computation has ended: an empty one
  // would show for an instant and take the computation's time.
  bool chart_waits_ = true;
  int Chart_DispW = 0, Chart_DispH = 0;
  QImage Image1_Bitmap;   // the displayed chart bitmap, in device pixels
  QImage Screen_Chart;    // the full-size chart in the night view's colours; null without them
  int zone_index = 16;    // the last selected row of the zone list
  std::vector<Place> places_;   // the places of the tz database and the town list; empty without the database
  bool places_read_ = false;    // Read_Places has run
  std::string places_error_;    // why there are no places, for the status bar after the first computation
  QSize shown_size_;                 // the size and state when first shown
  Qt::WindowStates shown_state_;
  std::string place_;           // display text of the chosen place; empty: own coordinates
  // The place to name once the list is read: the one kept in the options
  // file (its display text), or a first start's (by its zone). Dropped when
  // the site is chosen otherwise meanwhile.
  struct PlaceToName {
    std::string kept_place, first_start_zone;
  };
  std::optional<PlaceToName> place_to_name_;

  // --- controls ---
  QWidget* Panel_Left = nullptr;
  QWidget* Panel_Bild = nullptr;
  QWidget* Panel_Rght = nullptr;
  QWidget* Panel_About = nullptr;
  ChartView* Image1 = nullptr;
  QLabel* StatusBar1 = nullptr;
  // While a period's tables are made: the share done and the button that stops it.
  QProgressBar* ProgressBar_Tabellen = nullptr;
  QPushButton* Button_Abbrechen = nullptr;
  QWidget* Shape2 = nullptr;
  QLineEdit *RichEdit_Jahr = nullptr, *RichEdit_Monat = nullptr, *RichEdit_Daag = nullptr;
  QLabel *Label1 = nullptr, *Label2 = nullptr;
  QPushButton *BitBtn_Jahr_Plus = nullptr, *BitBtn_Monat_Plus = nullptr, *BitBtn_Daag_Plus = nullptr;
  QPushButton *BitBtn_Jahr_Minus = nullptr, *BitBtn_Monat_Minus = nullptr, *BitBtn_Daag_Minus = nullptr;
  QPushButton* Button_Heute = nullptr;
  QCheckBox *CheckBox_Daemmerungen = nullptr, *CheckBox_Auf_Untergaenge = nullptr, *CheckBox_Meridian = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QLabel *Label_TZone = nullptr, *Label_DST = nullptr, *Label_nLat = nullptr, *Label_eLon = nullptr;
  QComboBox* ComboBox_TZone = nullptr;
  QLabel* Label_Ort = nullptr;
  QComboBox* ComboBox_Ort = nullptr;
  QCompleter* Ort_Completer = nullptr;
  QStringListModel* Ort_Matches = nullptr;
  QPushButton *BitBtn_nLat_MinusSmall = nullptr, *BitBtn_nLat_PlusSmall = nullptr;
  QPushButton *BitBtn_eLon_MinusSmall = nullptr, *BitBtn_eLon_PlusSmall = nullptr;
  QLineEdit *Edit_nLat = nullptr, *Edit_eLon = nullptr;
  QAction *Exit1 = nullptr, *Makebinaryfiles1 = nullptr, *Computealldata1 = nullptr, *about1 = nullptr;
  QAction* Exakte_Zeiten1 = nullptr;  // "Ansicht" → "Exakte Zeiten", checkable
  // "Ansicht" → "Fotografenlicht" and the reading aids, checkable.
  QAction *Fotolicht1 = nullptr, *Fuehrungslinien1 = nullptr, *Legende1 = nullptr, *Jetzt_Linie1 = nullptr;
  QTimer* now_timer_ = nullptr;  // redraws the present moment's line each minute
  // "Ansicht" → "Vergrößern", "Verkleinern", "Ganzes Bild": the chart's enlargement.
  QAction *Vergroessern1 = nullptr, *Verkleinern1 = nullptr, *Ganzes_Bild1 = nullptr;
  QLabel* Image4 = nullptr;
  QLabel* Label_Vesperkalend = nullptr;
  QTableWidget* StringGrid_VersionsInfo = nullptr;
  QPushButton* Button_About_OK = nullptr;
  // The phase-picture tools: invisible and disabled, for the developer.
  QPushButton *Button_Monde_anpassen = nullptr, *Button_Venus_anpassen = nullptr, *Button_Merkur_anpassen = nullptr;


  void Build_Controls();
  void Build_Date_Group(QWidget* panel);
  void Build_Display_Group(QWidget* panel);
  void Build_Zone_Group(QWidget* panel);
  void Connect_Place_Box();  // the completer and the handlers of the place box
  void Build_Site_Group(QWidget* panel);
  void Build_Tool_Buttons(QWidget* panel);
  void Name_Controls();
  void Build_About_Box();
  void Build_Menu();
  void Build_View_Menu();
  void Load_View_Options();
  // The chart options of "Ansicht" (form_chart_options.cpp): built, loaded from
  // the options file, and applied to the session's flags and kept when chosen.
  void Build_Chart_Options(QMenu* view);
  void Load_Chart_Options(const struct WindowOptions& o);
  void Chart_Option_Click();
  DisplayFlags Chart_Option_Flags() const;
  // The present moment for the chart (its line only when switched on and the site's day is today).
  void Sync_Now();
  // The chart's tooltip at `pos` of the chart view: the body under it, with its
  // rise and set. Returns: false where no body is (the view's own tooltip then shows).
  bool Show_Chart_Tooltip(const QPoint& global, const QPoint& pos);
  void Fill_Zone_List();
  void Show_Site();
  void Ask_Site(const Site& site);  // the site asked for: fields, then the recomputation
  void Apply_Typed_Zone();
  void Read_Places();  // places_ from the tz database and the town list, once; why not in places_error_
  // The place box filled from places_ (read if not yet), once, and
  // place_to_name_ chosen when it is among them.
  void Fill_Place_Box();
  void Ort_Text_Edited(const QString& text);
  void Apply_Typed_Place();
  void Own_Coordinates();
  void Show_Place();
  void Show_Zone();
  std::string Restore_Zone_Option(Site& site);  // the real zone kept in the options file; returns the kept place
  // At a first start (no options file, the documented site): the site of the
  // system's zone's place. Returns: that zone, empty when the site stays.
  std::string First_Start_Place(Site& site, bool documented_site);
  void Offer_Places(const std::vector<const Place*>& places);  // the completer's list, shown
  void Save_Place_Options();
  void Show_Values_In_Force(QLineEdit* field);
  void Place_About_Box();
  void Set_Minimum_Size();
  bool Filter_Control_Event(QObject* watched, QEvent* event);
  void Show_Message(const QString& title, const QString& text);

  // The step buttons of date and site with their steps: every mouse button presses them.
  std::vector<std::pair<QPushButton*, Step>> step_buttons_;
  std::function<QImage(const QImage&)> screen_filter_;  // the night view's colours, or empty
  QSize panel_needs_;  // the right panel's controls at full size, from its top left corner
  std::unique_ptr<PanelScale> panel_scale_;  // shrinks them in a low window
  FormOptions options_;
  bool end_requested_ = false;
  bool created_ = false;
};

// Two decimals, "." whatever the locale: "47.50", "-0.50".
QString Site_Text(double degrees);

}  // namespace vk
