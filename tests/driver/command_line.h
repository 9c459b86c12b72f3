// Command lines and environment blocks for CreateProcessA (internal to the
// driver; pure functions, tested on their own).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driver::detail {

// `argument` quoted so that the C runtime's splitting gives it back unchanged.
// A double-byte character is stepped over whole: its second byte may be 0x5C
// and is then no backslash.
std::string QuoteArgument(const std::string& argument);
std::string BuildCommandLine(const std::string& program, const std::vector<std::string>& arguments);

// "NAME=value" entries with `changes` applied (names compare without case, as
// Windows does; std::nullopt removes), as a block of NUL-terminated entries
// ended by one more NUL.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;
std::string BuildEnvironmentBlock(const std::vector<std::string>& entries,
                                  const EnvironmentChanges& changes);
std::vector<std::string> CurrentEnvironment();

}  // namespace driver::detail
