// The choice of the install location: the folder browser opened from the
// install-directory label.
#pragma once

#include <windows.h>

#include "runtime/text.h"

namespace installer {

// Shows the shell's folder browser, modal to `owner`, with `title` above the
// tree, and gives the chosen folder's path ("E:" for the root E:\, so that the
// caller's backslash does not double), or empty when nothing usable was chosen
// (cancel, a name or path the ANSI code page cannot spell, an item that is no
// file-system folder). Keeps nothing between calls.
rt::Text BrowseForFolder(HWND owner, const rt::Text& title);

// The left button pressed on 标签_安装目录: a chosen folder becomes the install
// directory, that folder + "\\" + the product's name. Nothing chosen leaves it.
void OnInstallDirLabelPressed();

}  // namespace installer
