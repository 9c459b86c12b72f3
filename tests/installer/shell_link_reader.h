// Reads a shortcut file back through the shell's link object, as Explorer
// would. The calling thread must have COM initialised.
#pragma once

#include <optional>
#include <string>

namespace installer_test {

struct ShellLinkFields {
  std::string path;  // as stored, not resolved
  std::string arguments;
  std::string working_directory;
  std::string description;
  // The ShowCommand field of the file's header, as saved. (The link object
  // itself reports SW_SHOWNORMAL for any value but 1, 3 and 7 on loading.)
  int show_command = 0;
};

// std::nullopt when the file cannot be loaded as a shell link.
std::optional<ShellLinkFields> ReadShellLink(const std::string& file);

}  // namespace installer_test
