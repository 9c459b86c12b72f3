#pragma once
// Which files of a product folder go into the archive, in which order.
//
// With a manifest: exactly the paths it lists, in its order. The manifest is
// UTF-8 text, one path per line relative to the folder with "/" between
// levels; a folder is written with a trailing "/" and gets a directory entry.
// Blank lines and lines starting with "#" are ignored.
//
// Without one: every file and folder, each folder's entry right before its
// contents, names in byte order of their UTF-8 form, and the product's
// executable moved to the end.
//
// Either way the listing is refused (std::runtime_error with the reason) when
// the folder's root has no product executable (NAME.exe), when the manifest
// does not put it last, lists something missing or twice, lists a file before
// the directory entry of its folder (the extractor makes folders only from
// directory entries), or leaves a file or folder of the product folder out.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace packer {

struct ListedEntry {
  std::filesystem::path source;  // the file or folder on this machine
  std::string name;              // UTF-8, "/" between levels, folders end in "/"
  bool directory = false;
};

std::vector<ListedEntry> ListProduct(const std::filesystem::path& folder,
                                     const std::string& executable_name,
                                     const std::optional<std::filesystem::path>& manifest);

}  // namespace packer
