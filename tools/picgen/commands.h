// The picture generator's commands and their small option parser.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace picgen {

using Args = std::vector<std::string>;

struct UsageError {
  std::string text;
};

// The value after `name`, removed from `args`; throws UsageError when it is last.
std::optional<std::string> TakeOption(Args& args, const std::string& name);
// Throws UsageError when arguments are left.
void FinishOptions(const Args& args);

int SourcesCommand(Args args);
int SetsCommand(Args args);
int PlanetCommand(Args args);
int IconCommand(Args args);
int ContactSheetCommand(int argc, char** argv, Args args);

}  // namespace picgen
