#include "language/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <atomic>
#include <memory>

#include "base/platform.h"

namespace vk {

namespace {

std::atomic<Language> current{Language::German};

// The translators installed now, removed again by the next InstallLanguage.
std::vector<std::unique_ptr<QTranslator>>& Installed() {
  static std::vector<std::unique_ptr<QTranslator>> translators;
  return translators;
}

// Loads `file` from the first of `folders` that holds it; nullptr when none does.
std::unique_ptr<QTranslator> Load(const QString& file, const std::vector<std::filesystem::path>& folders) {
  for (const auto& dir : folders) {
    auto t = std::make_unique<QTranslator>();
    if (t->load(file, QString::fromStdString(dir.string()))) return t;
  }
  return nullptr;
}

}  // namespace

std::vector<std::filesystem::path> TranslationFolders() {
  const std::filesystem::path bin = ExecutablePath().parent_path();
  if (bin.empty()) return {};
  return {bin / ".." / "translations", bin / ".." / "share" / "vesperkalend" / "translations"};
}

std::vector<std::string> InstallLanguage(Language language, bool qt_dialogs) {
  current = language;
  for (auto& t : Installed()) QCoreApplication::removeTranslator(t.get());
  Installed().clear();
  std::vector<std::string> problems;
  const QString code = QString::fromLatin1(LanguageCode(language).data(), 2);
  const std::filesystem::path qt_dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
  if (!qt_dialogs) {
  } else if (auto qt = Load("qtbase_" + code, {qt_dir})) {
    QCoreApplication::installTranslator(qt.get());
    Installed().push_back(std::move(qt));
  } else {
    problems.push_back("qtbase_" + code.toStdString() + ".qm: Qt's translation not found in " + qt_dir.string());
  }
  if (language == Language::English) {
    const auto folders = TranslationFolders();
    if (auto own = Load("vesperkalend_en", folders)) {
      QCoreApplication::installTranslator(own.get());
      Installed().push_back(std::move(own));
    } else {
      std::string where;
      for (const auto& d : folders) where += (where.empty() ? "" : " or ") + d.lexically_normal().string();
      problems.push_back("vesperkalend_en.qm: the English translation not found in " + where);
    }
  }
  return problems;
}

Language UiLanguage() { return current; }

}  // namespace vk
