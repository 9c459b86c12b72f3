#include "payload/archive_reader.h"

#include <cstring>

#include <iowin32.h>

namespace payload {

namespace {

constexpr uint32_t kStored = 0;
constexpr uint32_t kDeflated = 8;
constexpr uint32_t kEncryptedFlag = 1;

}  // namespace

std::string_view EntryInfo::Name() const {
  if (name_size >= sizeof(name) || std::memchr(name, '\0', name_size) != nullptr) return {};
  return std::string_view(name, name_size);
}

bool ArchiveReader::Open(const char* path) {
  Close();
  // The Win32 file layer opens the file with GENERIC_READ and FILE_SHARE_READ.
  zlib_filefunc64_def files;
  fill_win32_filefunc64A(&files);
  zip_ = unzOpen2_64(path, &files);
  return zip_ != nullptr;
}

void ArchiveReader::Close() {
  if (!zip_) return;
  CloseEntryData();
  unzClose(zip_);
  zip_ = nullptr;
}

uint64_t ArchiveReader::DeclaredEntries() const {
  unz_global_info64 global;
  return unzGetGlobalInfo64(zip_, &global) == UNZ_OK ? global.number_entry : 0;
}

bool ArchiveReader::ReadEntry(uint64_t index, EntryInfo& info) {
  CloseEntryData();
  if ((index == 0 ? unzGoToFirstFile(zip_) : unzGoToNextFile(zip_)) != UNZ_OK) return false;
  unz_file_info64 file;
  if (unzGetCurrentFileInfo64(zip_, &file, info.name, sizeof(info.name), nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  // minizip would hand an encrypted entry's bytes over undecrypted, and an
  // entry of a method it cannot inflate (bzip2) over as it is stored.
  if ((file.compression_method != kStored && file.compression_method != kDeflated) ||
      (file.flag & kEncryptedFlag)) {
    return false;
  }
  if (unzOpenCurrentFile(zip_) != UNZ_OK) return false;
  entry_open_ = true;
  info.name_size = file.size_filename;
  info.dos_date_time = file.dosDate;
  info.external = file.external_fa;
  return true;
}

std::vector<unsigned char> ArchiveReader::LocalExtraField() {
  const int size = unzGetLocalExtrafield(zip_, nullptr, 0);
  if (size <= 0) return {};
  std::vector<unsigned char> extra(static_cast<std::size_t>(size));
  if (unzGetLocalExtrafield(zip_, extra.data(), static_cast<unsigned>(size)) != size) return {};
  return extra;
}

int ArchiveReader::ReadData(void* buffer, unsigned size) { return unzReadCurrentFile(zip_, buffer, size); }

bool ArchiveReader::DataComplete() { return unzeof(zip_) == 1; }

bool ArchiveReader::CloseEntryData() {
  if (!entry_open_) return true;
  entry_open_ = false;
  return unzCloseCurrentFile(zip_) == UNZ_OK;
}

}  // namespace payload
