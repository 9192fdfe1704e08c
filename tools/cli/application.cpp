// The tool's application object, the language of what it lists and writes,
// and its progress lines.
#include <stdlib.h>

#include <QGuiApplication>
#include <iostream>

#include "base/platform.h"
#include "commands.h"
#include "language/translations.h"

namespace vk::tool {

namespace {
Language tool_language = Language::German;
bool verbose = false;
}  // namespace

void SetToolLanguage(Language language) { tool_language = language; }
Language ToolLanguage() { return tool_language; }

void SetVerbose(bool on) { verbose = on; }

bool ProgressShown() { return verbose || StderrIsTerminal(); }

void PrintProgress(std::string_view text, StatusColour) {
  if (ProgressShown()) std::cerr << text << "\n";
}

void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "vesperkalend-tool";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  for (const std::string& problem : InstallLanguage(tool_language, false))
    std::cerr << "vesperkalend-tool: " << problem << "\n";
}

}  // namespace vk::tool
