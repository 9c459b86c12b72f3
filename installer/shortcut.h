// The desktop shortcut to the product.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace installer {

// The desktop folder text (ending in a backslash, or empty) + product name.
rt::Text LinkName(const rt::Text& desktop_folder, const rt::Text& product_name);

// The shortcut's file: the link name + ".lnk", unless its own file name (the
// part after its last backslash) already holds a ".". A dot elsewhere in the
// path (C:\Users\john.doe\Desktop\...) does not count.
rt::Text ShortcutFileName(const rt::Text& link_name);

// Saves a shell link to target at ShortcutFileName(link_name) through the
// shell's link object: the target and show command 5 (SW_SHOW), nothing else.
// COM must be initialised on the calling thread. 1 when the file was saved;
// 0 when the link object is not available, the save fails, or the file name
// does not fit in MAX_PATH bytes with its terminating NUL.
std::int32_t CreateShortcut(const rt::Text& link_name, const rt::Text& target);

}  // namespace installer
