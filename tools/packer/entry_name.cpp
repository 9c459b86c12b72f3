#include "entry_name.h"

#include <iconv.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <stdexcept>
#include <string_view>

namespace packer {
namespace {

class Converter {
 public:
  Converter() : handle_(iconv_open("GBK", "UTF-8")) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("this machine's iconv cannot convert UTF-8 to GBK");
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

std::string Upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return result;
}

bool IsDeviceName(const std::string& element) {
  // Windows maps these names to devices whatever their extension.
  const std::string base = Upper(std::string_view(element).substr(0, element.find('.')));
  static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(kPlain.begin(), kPlain.end(), base) != kPlain.end()) return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

void Put16(std::vector<unsigned char>& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
  out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& out, unsigned long value) {
  Put16(out, static_cast<unsigned>(value & 0xFFFF));
  Put16(out, static_cast<unsigned>((value >> 16) & 0xFFFF));
}

}  // namespace

std::string ToGbk(const std::string& utf8) {
  Converter converter;
  std::string result(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  char* out = result.data();
  size_t out_left = result.size();
  if (iconv(converter.get(), &in, &in_left, &out, &out_left) == static_cast<size_t>(-1)) {
    if (errno == EILSEQ) {
      throw std::runtime_error("\"" + utf8 + "\" has a character that GBK cannot hold");
    }
    throw std::runtime_error("\"" + utf8 + "\" is not valid UTF-8");
  }
  result.resize(result.size() - out_left);
  return result;
}

void CheckPathElement(const std::string& element, const std::string& path) {
  auto refuse = [&](const std::string& why) {
    throw std::runtime_error("\"" + path + "\": " + why);
  };
  if (element.empty()) refuse("has an empty path element");
  if (element == "." || element == "..") refuse("has a \"" + element + "\" path element");
  for (unsigned char c : element) {
    if (c < 0x20 || std::string_view("\\:*?\"<>|").find(static_cast<char>(c)) !=
                        std::string_view::npos) {
      refuse("has a character that Windows does not allow in names");
    }
  }
  if (element.back() == '.' || element.back() == ' ') {
    refuse("has a name ending in a dot or a space, which Windows drops");
  }
  if (IsDeviceName(element)) refuse("\"" + element + "\" is a Windows device name");
}

std::vector<unsigned char> UnicodePathExtra(const std::string& stored_name,
                                            const std::string& utf8_name) {
  std::vector<unsigned char> block;
  Put16(block, 0x7075);
  Put16(block, static_cast<unsigned>(1 + 4 + utf8_name.size()));
  block.push_back(1);
  Put32(block, crc32(0L, reinterpret_cast<const Bytef*>(stored_name.data()),
                     static_cast<uInt>(stored_name.size())));
  block.insert(block.end(), utf8_name.begin(), utf8_name.end());
  return block;
}

}  // namespace packer
