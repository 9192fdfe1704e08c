// phase-pictures: the three phase-picture tools without the window.
#include <iostream>

#include "commands.h"
#include "options.h"
#include "timecalc/input_checks.h"
#include "pictures/phase_tools.h"

namespace vk::tool {

int PhasePicturesCommand(const Args& args) {
  if (args.empty() || args.front().rfind("--", 0) == 0) throw UsageError{"which body: moon, venus or mercury"};
  PhaseBody body{};
  if (!ParsePhaseBody(args.front(), body)) throw UsageError{"unknown body " + QuoteInput(args.front())};
  Options opts(Args(args.begin() + 1, args.end()));
  const std::string from = opts.folder("--from");
  const std::string to = opts.folder("--to");
  opts.finish();
  opts.check_folders();

  PhaseToolPictures work;
  PhaseToolHooks hooks;
  hooks.progress = PrintProgress;
  const PhaseToolResult result = RunPhasePictureTool(body, from, to, work, hooks);
  std::cerr << result.saved << " pictures saved";
  if (!result.invalid.empty()) std::cerr << ", " << result.invalid.size() << " sources without a valid picture";
  std::cerr << "\n";
  return result.invalid.empty() ? 0 : 1;
}

}  // namespace vk::tool
