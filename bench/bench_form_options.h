// The window's options for the offscreen benchmarks: the build's data, and the
// user's folders and the event log in a fresh folder `dir`.
#pragma once
#include <cstdio>
#include <filesystem>

#include "mainwindow/form_main.h"

inline vk::FormOptions BenchFormOptions(const std::filesystem::path& dir) {
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  vk::FormOptions o;
  o.data_dir = VK_DATA_DIR;
  o.log_dir = dir;
  o.folders = {dir / "config", dir / "documents", dir / "data"};
  o.executable = VK_PROGRAM;
  o.show_message = [](const QString& title, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
  };
  return o;
}
