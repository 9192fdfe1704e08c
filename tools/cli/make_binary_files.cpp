#include "commands.h"
#include "ephemeris/horizons_import.h"
#include "options.h"

namespace vk::tool {

int MakeBinaryFilesCommand(const Args& args) {
  Options opts(args);
  const std::string dir = opts.folder("--dir");
  opts.finish();
  opts.check_folders();
  MakeBinaryFiles(dir, PrintProgress);
  return 0;
}

}  // namespace vk::tool
