// Opens the main window on the given data, closes it at once (screen dump and
// settings written), and marks the start of the close with a file "closing".
// usage: vk_close_driver FOLDER DATA_DIR PROGRAM
//   FOLDER: gets config/, documents/ and logs/; PROGRAM: whose version block counts.
#include <QApplication>
#include <QDateTime>
#include <cstdio>
#include <fstream>

#include "mainwindow/form_main.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: vk_close_driver FOLDER DATA_DIR PROGRAM\n");
    return 2;
  }
  QApplication app(argc, argv);
  const std::filesystem::path dir = argv[1];
  vk::FormOptions o;
  o.data_dir = argv[2];
  o.log_dir = dir / "logs";
  o.folders = {dir / "config", dir / "documents", dir / "logs"};
  o.executable = argv[3];
  // A fixed present moment on another day: no line of it on the chart, so
  // that every close writes the same screen dump.
  o.now = [] { return QDateTime(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC); };
  o.show_message = [](const QString& title, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
  };
  std::filesystem::create_directories(o.log_dir);
  vk::TForm_Main w(o);
  if (w.End_Requested()) return 3;
  w.resize(1460, 900);
  w.show();
  QApplication::processEvents();
  std::ofstream(dir / "closing") << "closing\n";
  w.close();
  return 0;
}
