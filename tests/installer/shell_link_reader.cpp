#include "tests/installer/shell_link_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <fstream>

#include "runtime/scoped.h"

namespace installer_test {

std::optional<ShellLinkFields> ReadShellLink(const std::string& file) {
  wchar_t wide[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH) == 0) return std::nullopt;
  rt::ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.Out())))) {
    return std::nullopt;
  }
  rt::ComPtr<IPersistFile> persist;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.Out()))) ||
      FAILED(persist->Load(wide, STGM_READ))) {
    return std::nullopt;
  }
  char text[1024];
  ShellLinkFields fields;
  text[0] = '\0';
  link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
  fields.path = text;
  text[0] = '\0';
  link->GetArguments(text, sizeof text);
  fields.arguments = text;
  text[0] = '\0';
  link->GetWorkingDirectory(text, sizeof text);
  fields.working_directory = text;
  text[0] = '\0';
  link->GetDescription(text, sizeof text);
  fields.description = text;
  // The header's ShowCommand: 4 bytes, little-endian, at offset 0x3C.
  std::ifstream bytes(file, std::ios::binary);
  unsigned char header[0x40];
  if (!bytes.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
  fields.show_command = header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | header[0x3F] << 24;
  return fields;
}

}  // namespace installer_test
