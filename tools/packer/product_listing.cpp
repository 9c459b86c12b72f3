#include "product_listing.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <stdexcept>

#include "entry_name.h"

namespace packer {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void Refuse(const std::string& why) { throw std::runtime_error(why); }

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

// Regular files and folders only (links are followed); anything else in a
// product folder cannot be installed.
bool IsDirectory(const fs::path& path, const std::string& name) {
  const fs::file_status status = fs::status(path);
  if (fs::is_directory(status)) return true;
  if (fs::is_regular_file(status)) return false;
  if (!fs::exists(status)) Refuse("\"" + name + "\" does not exist in the product folder");
  Refuse("\"" + name + "\" is neither a file nor a folder");
}

void CheckName(const std::string& name) {
  const std::string path = name.ends_with('/') ? name.substr(0, name.size() - 1) : name;
  if (path.empty() || path.front() == '/') Refuse("\"" + name + "\" is not a relative path");
  size_t start = 0;
  while (true) {
    const size_t slash = path.find('/', start);
    CheckPathElement(path.substr(start, slash - start), name);
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
}

std::string ParentFolder(const std::string& name) {
  const std::string path = name.ends_with('/') ? name.substr(0, name.size() - 1) : name;
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Every file and folder under `folder`, each folder's entry right before its
// contents, siblings in byte order.
void Walk(const fs::path& folder, const std::string& prefix, std::vector<ListedEntry>& out) {
  std::vector<std::pair<std::string, fs::path>> children;
  for (const fs::directory_entry& child : fs::directory_iterator(folder)) {
    children.emplace_back(Utf8(child.path().filename()), child.path());
  }
  std::sort(children.begin(), children.end());
  for (const auto& [leaf, path] : children) {
    const std::string name = prefix + leaf;
    if (IsDirectory(path, name)) {
      out.push_back({path, name + "/", true});
      Walk(path, name + "/", out);
    } else {
      out.push_back({path, name, false});
    }
  }
}

std::vector<ListedEntry> ReadManifest(const fs::path& folder, const fs::path& manifest) {
  std::ifstream in(manifest, std::ios::binary);
  if (!in) Refuse("cannot read the manifest " + manifest.string());
  std::vector<ListedEntry> entries;
  std::string line;
  bool first = true;
  while (std::getline(in, line)) {
    // Editors on Windows may start the file with a byte-order mark.
    if (first && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    first = false;
    if (line.ends_with('\r')) line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    CheckName(line);
    const bool directory = line.ends_with('/');
    const std::string relative = directory ? line.substr(0, line.size() - 1) : line;
    const fs::path source = folder / fs::path(std::u8string(relative.begin(), relative.end()));
    if (IsDirectory(source, line) != directory) {
      Refuse("\"" + line + "\" is " + (directory ? "not a folder" : "a folder") +
             " in the product folder (folders are listed with a trailing \"/\")");
    }
    entries.push_back({source, line, directory});
  }
  return entries;
}

}  // namespace

std::vector<ListedEntry> ListProduct(const fs::path& folder, const std::string& executable_name,
                                     const std::optional<fs::path>& manifest) {
  if (!fs::is_directory(folder)) Refuse("the product folder " + folder.string() + " does not exist");

  std::vector<ListedEntry> present;
  Walk(folder, "", present);
  const auto executable = std::find_if(present.begin(), present.end(), [&](const ListedEntry& e) {
    return !e.directory && e.name == executable_name;
  });
  if (executable == present.end()) {
    Refuse("the product folder " + folder.string() + " has no " + executable_name +
           " at its root; the installer starts and links to that program");
  }

  std::vector<ListedEntry> entries;
  if (manifest) {
    entries = ReadManifest(folder, *manifest);
  } else {
    entries = present;
    for (const ListedEntry& entry : entries) CheckName(entry.name);
    const auto index = executable - present.begin();
    std::rotate(entries.begin() + index, entries.begin() + index + 1, entries.end());
  }

  std::set<std::string> seen;
  for (const ListedEntry& entry : entries) {
    if (!seen.insert(entry.name).second) Refuse("\"" + entry.name + "\" is listed twice");
    const std::string parent = ParentFolder(entry.name);
    if (!parent.empty() && !seen.contains(parent)) {
      Refuse("\"" + entry.name + "\" comes before the directory entry \"" + parent +
             "\" of its folder");
    }
  }
  if (entries.empty() || entries.back().name != executable_name) {
    Refuse(executable_name + " must be the last entry of the manifest");
  }
  std::string missing;
  for (const ListedEntry& entry : present) {
    if (!seen.contains(entry.name)) missing += "\n  " + entry.name;
  }
  if (!missing.empty()) {
    Refuse("the manifest leaves out what the product folder holds:" + missing);
  }
  return entries;
}

}  // namespace packer
