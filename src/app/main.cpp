// Vesperkalend: the application object, its title, the main window and the event loop.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <filesystem>
#include <iostream>

#include "base/platform.h"
#include "command_line.h"
#include "language/translations.h"
#include "mainwindow/form_main.h"
#include "mainwindow/options_file.h"

int main(int argc, char** argv) {
  const vk::CommandLine command_line = vk::Answer_Command_Line(argc, argv, std::cout, std::cerr);
  if (command_line.exit_status) return *command_line.exit_status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vesperkalend");
  vk::FormOptions options;
  // The language before the first text: --lang, else the window's choice, else the locale.
  const vk::Language language = vk::ChooseLanguage(
      command_line.language, vk::ReadLanguageOption(options.folders.settings_dir / vk::kOptionsFileName));
  for (const std::string& problem : vk::InstallLanguage(language)) std::cerr << "Vesperkalend: " << problem << "\n";
  options.executable = QCoreApplication::applicationFilePath().toStdString();
  // The shipped data folder becomes the current folder, wherever the program was started.
  const vk::DataFolderSearch data = vk::FindDataFolder(vk::DataFolderCandidates(options.executable));
  if (data.folder) {
    std::error_code ec;
    std::filesystem::current_path(*data.folder, ec);
  } else {
    options.data_error = data.problem;
  }
  options.data_dir = ".";
  // An installation's or a read-only data folder keeps the event log in the user's data folder instead.
  if (vk::EventLogFolder(".") != ".") {
    std::error_code ec;
    std::filesystem::create_directories(options.folders.log_dir, ec);
    options.log_dir = options.folders.log_dir;
  }
  vk::TForm_Main form(options);
  if (form.End_Requested()) return 0;
  // As it was when last closed; the first time maximised (without a window
  // manager to do it, over the screen's free area).
  if (!form.Show_As_Last_Time()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) form.setGeometry(screen->availableGeometry());
    form.showMaximized();
  }
  return app.exec();
}
