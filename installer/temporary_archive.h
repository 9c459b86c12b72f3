// The temporary archive "tool.zip": where it goes, writing it, and removing
// the files an installation made.
#pragma once

#include <cstdint>

#include "payload/payload.h"
#include "runtime/text.h"

namespace installer {

// The temporary folder text (ending in a backslash, or empty) + "\\tool.zip":
// two backslashes in a row, which Windows resolves as one.
rt::Text PrimaryArchivePath(const rt::Text& temp_folder);

// The install directory's first byte, unchanged, + ":\\tool.zip": the root of
// the install drive. An empty directory or a network path gives a name that
// cannot be created.
rt::Text FallbackArchivePath(const rt::Text& install_dir);

enum class ExistingFile : std::uint8_t {
  Replace,  // truncated and written anew
  Keep,     // left alone; the write fails
};

enum class ArchiveWrite : std::uint8_t {
  NotCreated,  // nothing was touched
  Incomplete,  // the file was created but not written to the end; it stays
  Written,
};

// Writes the bytes as the file at path in one write, opened for writing
// only and shared with nobody. Missing folders are not made.
ArchiveWrite WriteArchive(const rt::Text& path, payload::ArchiveBytes bytes, ExistingFile existing);

// The archive files the running installation created, so that it removes
// those and nothing else (a "tool.zip" it found at a drive root is someone
// else's). Used by the installation thread only.
void ForgetCreatedArchives();
void NoteCreatedArchive(const rt::Text& path);
void DeleteCreatedArchives();

}  // namespace installer
