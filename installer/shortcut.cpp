#include "installer/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "runtime/scoped.h"

namespace installer {

namespace {

// Whether the part after the last backslash holds a ".", walking whole
// characters: a second byte 0x5C of a double-byte character is no separator.
bool FileNameHoldsDot(const rt::Text& path) {
  bool dot = false;
  for (std::size_t i = 0; i < path.Length();) {
    const unsigned char byte = path.Byte(i);
    if (byte == '\\') dot = false;
    if (byte == '.') dot = true;
    i += rt::IsLeadByte(byte) && i + 1 < path.Length() ? 2 : 1;
  }
  return dot;
}

}  // namespace

rt::Text LinkName(const rt::Text& desktop_folder, const rt::Text& product_name) {
  return rt::Concat(desktop_folder, product_name);
}

rt::Text ShortcutFileName(const rt::Text& link_name) {
  return FileNameHoldsDot(link_name) ? link_name : rt::Concat(link_name, ".lnk");
}

std::int32_t CreateShortcut(const rt::Text& link_name, const rt::Text& target) {
  const rt::Text file_name = ShortcutFileName(link_name);
  if (file_name.Length() >= MAX_PATH) return 0;
  wchar_t wide_name[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, file_name.c_str(), -1, wide_name, MAX_PATH) == 0) return 0;

  rt::ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.Out())))) {
    return 0;
  }
  link->SetPath(target.c_str());
  link->SetShowCmd(SW_SHOW);
  rt::ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return 0;
  return SUCCEEDED(file->Save(wide_name, TRUE)) ? 1 : 0;
}

}  // namespace installer
