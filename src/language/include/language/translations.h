// The translations of the programs' texts and of Qt's own dialogs, loaded
// into the application for one language, and that language for the code that
// builds texts outside Qt's translation (the event texts of the core).
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "base/language.h"

namespace vk {

// The folders searched for the programs' translation files, beside the
// running program: ../translations (the build tree), ../share/vesperkalend/translations.
std::vector<std::filesystem::path> TranslationFolders();

// Makes `language` the one UiLanguage() answers and loads its translations
// into the running application (an application object must exist): the
// programs' own file for English and, with `qt_dialogs`, Qt's own for both
// (its dialogs are English without it). Translations loaded by an earlier
// call are removed first.
// Returns: the problems, one text each (a translation file not found); the
// texts of a missing file stay German. Never throws.
std::vector<std::string> InstallLanguage(Language language, bool qt_dialogs = true);

// The language last installed; German before any InstallLanguage.
Language UiLanguage();

}  // namespace vk
