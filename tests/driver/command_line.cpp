#include "tests/driver/command_line.h"

#include <windows.h>

#include <string_view>

namespace driver::detail {
namespace {

// The name of a "NAME=value" entry. Entries such as "=C:=C:\dir" keep their
// leading '=' in the name.
std::string_view NameOf(std::string_view entry) {
  std::size_t equals = entry.find('=', 1);
  return entry.substr(0, equals);
}

bool SameName(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

std::string QuoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < argument.size(); ++i) {
    char c = argument[i];
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only right before a quote (the argument's own or the closing one).
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < argument.size()) quoted += argument[++i];
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + '"';
}

std::string BuildCommandLine(const std::string& program, const std::vector<std::string>& arguments) {
  std::string line = '"' + program + '"';
  for (const std::string& argument : arguments) line += ' ' + QuoteArgument(argument);
  return line;
}

std::string BuildEnvironmentBlock(const std::vector<std::string>& entries, const EnvironmentChanges& changes) {
  std::vector<std::string> result = entries;
  for (const auto& [name, value] : changes) {
    std::erase_if(result, [&](const std::string& entry) { return SameName(NameOf(entry), name); });
    if (value) result.push_back(name + '=' + *value);
  }
  std::string block;
  for (const std::string& entry : result) block.append(entry).push_back('\0');
  if (result.empty()) block.push_back('\0');  // an empty block still needs its two NULs
  block.push_back('\0');
  return block;
}

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> entries;
  char* block = GetEnvironmentStringsA();
  for (const char* entry = block; entry && *entry; entry += std::string_view(entry).size() + 1) {
    entries.emplace_back(entry);
  }
  if (block) FreeEnvironmentStringsA(block);
  return entries;
}

}  // namespace driver::detail
