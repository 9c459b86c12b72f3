// The check that keeps an archive's entries inside the target directory and
// away from names Windows treats specially.
#pragma once

#include <string_view>

namespace payload {

// True when an entry may be written under this name (the stored bytes, with
// "/" or "\" between levels). Refused are: an empty name; a rooted name ("/"
// or "\" first); any ":" (drive letters, alternate data streams); characters
// Windows never allows in a name (control characters, < > " | ? *); a level
// that ends in a dot or a space (".", ".." and names Windows would silently
// shorten); a level that is a device name (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9, CONIN$, CONOUT$), with or without an extension. A file entry
// must also name a file: its name may not end in a separator. Double-byte
// characters are stepped over whole, so their second byte is never mistaken
// for a separator or a forbidden character.
bool IsAcceptableEntryName(std::string_view name, bool is_directory);

}  // namespace payload
