// Paths as ANSI byte strings (GBK on the machines we install to). A
// double-byte character counts as one character everywhere here, so its
// second byte -- which may well be 0x5C, the backslash -- is never taken for a
// separator.
#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/text.h"

namespace payload {

// Byte length of the character that starts at s[i]: 2 for a lead byte of the
// ANSI code page followed by another byte, else 1.
std::size_t CharLength(std::string_view s, std::size_t i);

// True when the last character of path is a backslash.
bool EndsWithBackslash(std::string_view path);

// True when any file system object exists at path (false for an empty path).
bool PathExists(const char* path);

// True when a directory exists at path.
bool DirectoryExists(const char* path);

// Makes path as a directory with all its missing levels: every prefix that
// ends in a backslash is tested in turn and made when nothing exists there.
// False when a creation fails, and for an empty path. An existing file counts
// as an existing level.
bool MakeDirectories(const rt::Text& path);

// Where an entry goes: the target, one backslash unless the target ends in
// one, then the entry name with every "/" replaced by a backslash.
rt::Text OutputPath(const rt::Text& target, std::string_view entry_name);

}  // namespace payload
