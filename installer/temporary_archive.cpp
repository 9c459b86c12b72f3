#include "installer/temporary_archive.h"

#include <windows.h>

#include <vector>

#include "runtime/scoped.h"

namespace installer {

namespace {

std::vector<rt::Text> g_created;

}  // namespace

rt::Text PrimaryArchivePath(const rt::Text& temp_folder) { return rt::Concat(temp_folder, "\\tool.zip"); }

rt::Text FallbackArchivePath(const rt::Text& install_dir) {
  return rt::Concat(rt::Left(install_dir, 1), ":\\tool.zip");
}

ArchiveWrite WriteArchive(const rt::Text& path, payload::ArchiveBytes bytes, ExistingFile existing) {
  if (path.Empty()) return ArchiveWrite::NotCreated;
  const DWORD disposition = existing == ExistingFile::Replace ? CREATE_ALWAYS : CREATE_NEW;
  rt::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return ArchiveWrite::NotCreated;
  DWORD written = 0;
  const bool complete = WriteFile(file.get(), bytes.data, bytes.size, &written, nullptr) && written == bytes.size;
  // A failed close may have lost data the write accepted.
  return complete && CloseHandle(file.release()) ? ArchiveWrite::Written : ArchiveWrite::Incomplete;
}

void ForgetCreatedArchives() { g_created.clear(); }

void NoteCreatedArchive(const rt::Text& path) { g_created.push_back(path); }

void DeleteCreatedArchives() {
  for (const rt::Text& path : g_created) DeleteFileA(path.c_str());
  g_created.clear();
}

}  // namespace installer
