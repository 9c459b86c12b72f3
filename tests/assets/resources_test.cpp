// The icons, the version information and the manifest, read back the way
// Windows reads them: from the icon file's bytes and from the built installer.
#include "assets/pictures.h"

// Resource types and names as wide strings: the test reads wide throughout.
#define UNICODE
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

const wchar_t kInstaller[] = L"" INSTALLER_EXE;

std::uint16_t Word(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Dword(const unsigned char* p) { return Word(p) | static_cast<std::uint32_t>(Word(p + 2)) << 16; }

struct IconEntry {
  int width;
  int height;
  int bitCount;
};

std::uint32_t BigEndianDword(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// Windows takes the image and makes a 32-bit icon of that size of it.
void ExpectLoadsAs32BitIcon(const unsigned char* image, std::size_t size, int pixels) {
  HICON icon = CreateIconFromResourceEx(const_cast<unsigned char*>(image), static_cast<DWORD>(size), TRUE,
                                        0x00030000, pixels, pixels, LR_DEFAULTCOLOR);
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, pixels);
  EXPECT_EQ(colour.bmHeight, pixels);
  EXPECT_EQ(colour.bmBitsPixel, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

// One icon image as Windows takes it: either a bitmap (a BITMAPINFOHEADER,
// colour and mask bits) of 32 bits a pixel, twice the height for the mask,
// or a PNG image of 8-bit RGBA (32 bits a pixel as well), the form the large
// sizes are stored in; and loadable.
void ExpectIconImage(const unsigned char* image, std::size_t size, int pixels) {
  static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 8 && std::memcmp(image, kPngSignature, 8) == 0) {
    // The first chunk is IHDR: width, height, bit depth, colour type.
    ASSERT_GE(size, 8u + 8u + 13u);
    EXPECT_EQ(std::memcmp(image + 12, "IHDR", 4), 0);
    EXPECT_EQ(BigEndianDword(image + 16), static_cast<std::uint32_t>(pixels));
    EXPECT_EQ(BigEndianDword(image + 20), static_cast<std::uint32_t>(pixels));
    EXPECT_EQ(image[24], 8);  // bits per channel
    EXPECT_EQ(image[25], 6);  // red, green, blue and alpha
  } else {
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image, sizeof header);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, pixels);
    EXPECT_EQ(header.biHeight, 2 * pixels);
    EXPECT_EQ(header.biBitCount, 32);
    const std::size_t colour = static_cast<std::size_t>(pixels) * pixels * 4;
    const std::size_t mask = static_cast<std::size_t>((pixels + 31) / 32 * 4) * pixels;
    EXPECT_GE(size, header.biSize + colour + mask);
  }
  ExpectLoadsAs32BitIcon(image, size, pixels);
}

struct ModuleCloser {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

Module LoadInstallerImage() {
  return Module(LoadLibraryExW(kInstaller, nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

// The bytes of one resource of the module.
std::vector<unsigned char> Resource(HMODULE module, const wchar_t* name, const wchar_t* type) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  return std::vector<unsigned char>(bytes, bytes + SizeofResource(module, found));
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  auto* list = reinterpret_cast<std::vector<std::wstring>*>(names);
  list->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name);
  return TRUE;
}

}  // namespace

TEST(Icons, IconPictureHoldsOne48PixelImageOf32Bits) {
  const unsigned char* file = assets::IconPicture48.data;
  const std::size_t size = assets::IconPicture48.size;
  ASSERT_GE(size, 6u + 16u);
  EXPECT_EQ(Word(file), 0);      // reserved
  EXPECT_EQ(Word(file + 2), 1);  // icon, not cursor
  ASSERT_EQ(Word(file + 4), 1);  // one image
  const unsigned char* entry = file + 6;
  EXPECT_EQ(entry[0], 48);
  EXPECT_EQ(entry[1], 48);
  EXPECT_EQ(Word(entry + 6), 32);
  const std::uint32_t bytes = Dword(entry + 8);
  const std::uint32_t offset = Dword(entry + 12);
  ASSERT_LE(std::size_t{offset} + bytes, size);
  ExpectIconImage(file + offset, bytes, 48);
}

TEST(Icons, InstallerCarriesDefaultIconFirstInEightSizesOf32Bits) {
  const Module installer = LoadInstallerImage();
  ASSERT_TRUE(installer) << "cannot load " << INSTALLER_EXE << ": error " << GetLastError();

  std::vector<std::wstring> groups;
  EnumResourceNamesW(installer.get(), RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&groups));
  ASSERT_FALSE(groups.empty());
  EXPECT_EQ(groups.front(), L"DEFAULT_ICON") << "Explorer shows the first icon group";

  const std::vector<unsigned char> group = Resource(installer.get(), L"DEFAULT_ICON", RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  const int count = Word(&group[4]);
  ASSERT_EQ(group.size(), 6u + 14u * count);
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const unsigned char* entry = &group[6 + 14 * i];
    const int pixels = entry[0] == 0 ? 256 : entry[0];
    SCOPED_TRACE(pixels);
    sizes.push_back(pixels);
    EXPECT_EQ(entry[1], entry[0]);
    EXPECT_EQ(Word(entry + 6), 32);
    const std::vector<unsigned char> image =
        Resource(installer.get(), MAKEINTRESOURCEW(Word(entry + 12)), RT_ICON);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.size(), Dword(entry + 8));
    ExpectIconImage(image.data(), image.size(), pixels);
  }
  EXPECT_EQ(sizes, (std::vector<int>{128, 96, 72, 64, 48, 32, 24, 16}));

  // What the shell takes for the program's icon: icon index 0 of the file.
  HICON large = nullptr;
  ASSERT_EQ(ExtractIconExW(kInstaller, 0, &large, nullptr, 1), 1u);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(large, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmBitsPixel, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(large);
}

TEST(VersionInfo, ReadsSixAndTheInstallerTextInChinese) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(kInstaller, &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << INSTALLER_EXE;
  std::vector<unsigned char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(kInstaller, 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00060000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00060000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);  // Chinese (PRC)
  EXPECT_EQ(translation[1], 1200);    // Unicode texts

  struct Case {
    const wchar_t* field;
    std::wstring expected;
  } cases[] = {
      {L"FileDescription", L"安装程序"}, {L"ProductName", L"安装程序"}, {L"CompanyName", L"安装程序"},
      {L"LegalCopyright", L"安装程序"},  {L"Comments", L"安装程序"},    {L"FileVersion", L"6.0.0.0"},
      {L"ProductVersion", L"6.0.0.0"},
  };
  for (const Case& c : cases) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + c.field;
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) << path;
    EXPECT_EQ(std::wstring(text), c.expected) << path;
  }
}

TEST(Manifest, RunsAsInvokerWithoutDpiAwareness) {
  const Module installer = LoadInstallerImage();
  ASSERT_TRUE(installer);
  const std::vector<unsigned char> bytes =
      Resource(installer.get(), CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  ASSERT_FALSE(bytes.empty()) << "no manifest";
  const std::string manifest(bytes.begin(), bytes.end());
  const size_t element = manifest.find("<requestedExecutionLevel ");
  ASSERT_NE(element, std::string::npos);
  const std::string level = manifest.substr(element, manifest.find("/>", element) - element);
  EXPECT_NE(level.find("level=\"asInvoker\""), std::string::npos) << level;
  EXPECT_NE(level.find("uiAccess=\"false\""), std::string::npos) << level;
  EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);  // also catches dpiAwareness

  // Windows accepts it: an activation context can be made from the resource.
  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = kInstaller;
  context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
  HANDLE handle = CreateActCtxW(&context);
  EXPECT_NE(handle, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  if (handle != INVALID_HANDLE_VALUE) ReleaseActCtx(handle);
}
