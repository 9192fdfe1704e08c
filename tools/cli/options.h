// "--name value" and "--flag" options of one tool command.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "commands.h"

namespace vk::tool {

class Options {
 public:
  explicit Options(Args args) : args_(std::move(args)) {}
  // The value after `name`, removed from the arguments.
  // Throws: UsageError when `name` is last or given twice.
  std::optional<std::string> take(const std::string& name);
  // True when `name` is present; removed from the arguments.
  bool flag(const std::string& name);
  // A number option within [lo, hi]. Throws: UsageError when malformed or out of range.
  std::optional<double> number(const std::string& name, double lo, double hi);
  std::optional<long long> integer(const std::string& name, long long lo, long long hi);
  // A folder option: the value, or `fallback` when absent.
  // Throws: UsageError when the value is empty.
  std::string folder(const std::string& name, const std::string& fallback = ".");
  // A file to write (--out), checked before any work as the writer will
  // check it (CheckWriteTarget): empty, not a regular file, in a missing or
  // unwritable folder. Returns: the value, or empty when absent.
  // Throws: UsageError when the value is empty; Error (the file named) when
  // the target is refused.
  std::optional<std::string> output(const std::string& name);
  // Throws: UsageError when arguments are left over.
  void finish() const;
  // Every folder option taken is an existing folder; called once the
  // arguments are known good, before any work.
  // Throws: Error "File not found" or "Not a folder" (the folder named).
  void check_folders() const;

 private:
  Args args_;
  std::vector<std::string> folders_;  // the values of the folder options taken
};

}  // namespace vk::tool
