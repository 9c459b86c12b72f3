#include "installer/chooser.h"

#include <array>

#include "installer/installer_state.h"
#include "runtime/bound_functions.h"
#include "runtime/scoped.h"
#include "ui/main_window.h"

namespace installer {

namespace {

constexpr char kBrowseTitle[] = "请选择安装位置";

// File-system folders only, not below the domain, a status line, an edit box
// whose name is validated, the resizable dialog.
constexpr UINT kBrowseFlags =
    BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
static_assert(kBrowseFlags == 0x77);

// What the shell fills with at most MAX_PATH bytes, its NUL included: blanks
// and one NUL more, so whatever it leaves there ends within the buffer.
struct BlankBuffer {
  BlankBuffer() {
    bytes.fill(' ');
    bytes.back() = '\0';
  }
  char* data() { return bytes.data(); }
  std::array<char, MAX_PATH + 1> bytes;
};

// Item lists are freed through the table like the other shell calls; its
// entry is resolved when the first free is due.
void WINAPI FreeThroughTable(void* list) { rt::bound::CoTaskMemFree(list); }

// The shell's *A functions spell a character the ANSI code page lacks as "?",
// which no real folder name holds: such a name or path is not the folder chosen.
bool Unspellable(const rt::Text& text) { return rt::Find(text, "?") != -1; }

}  // namespace

rt::Text BrowseForFolder(HWND owner, const rt::Text& title) {
  // A failed query leaves the root null, which the browser takes for the
  // desktop as well: its result is not needed.
  rt::ItemIdList root(FreeThroughTable);
  rt::bound::SHGetFolderLocation(owner, CSIDL_DESKTOP, nullptr, 0, root.Out());

  BlankBuffer display_name;
  BROWSEINFOA request{};
  request.hwndOwner = owner;
  request.pidlRoot = root.get();
  request.pszDisplayName = display_name.data();
  request.lpszTitle = title.c_str();
  request.ulFlags = kBrowseFlags;
  request.lpfn = nullptr;
  request.lParam = 0;
  request.iImage = 0;
  // Freed on every way out, also when the browser gives no item.
  const rt::ItemIdList chosen(FreeThroughTable, rt::bound::SHBrowseForFolderA(&request));

  // Without an item the display name means nothing: the system's ANSI browser
  // converts its own buffer back even on cancel, and that buffer is then
  // uninitialised (under Wine it holds the name of an earlier call, in part).
  if (!chosen.get()) return rt::Text();
  if (Unspellable(rt::Trim(display_name.data()))) return rt::Text();

  BlankBuffer path_buffer;
  if (!rt::bound::SHGetPathFromIDListA(chosen.get(), path_buffer.data())) return rt::Text();  // no file-system folder
  const rt::Text path(path_buffer.data());
  if (Unspellable(path)) return rt::Text();
  // A drive root ("E:\") without its backslash: the caller adds one.
  return path.Length() == 3 ? rt::Left(path, 2) : path;
}

void OnInstallDirLabelPressed() {
  const rt::Text folder = BrowseForFolder(ui::MainWindowRef().Handle(), kBrowseTitle);
  if (folder.Empty()) return;
  const InstallerState& state = State();
  // The checked index: below 1 and above the count end the installer (codes 4 and 1).
  const rt::Text& product = state.Catalogue[state.ProductIndex];
  ui::MainWindowControl(ui::kInstallDirLabel).SetCaption(rt::Concat(folder, "\\", product));
}

}  // namespace installer
