// The location chooser with the four shell functions of the bound table
// replaced by fakes that record what they were given. The handler's tests run
// against the real main window, loaded in this process.
#include "installer/chooser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "installer/installer_state.h"
#include "runtime/bound_functions.h"
#include "runtime/loaded_windows.h"
#include "runtime/program.h"
#include "ui/main_window.h"

namespace {

// Item lists the fakes hand out: only their addresses matter.
ITEMIDLIST g_lists[2]{};
ITEMIDLIST* const kDesktop = &g_lists[0];
ITEMIDLIST* const kItem = &g_lists[1];

const std::string kBlanks260 = std::string(260, ' ') + '\0';

// What the fakes give back, and what they were given.
struct Shell {
  HRESULT location_result = S_OK;
  ITEMIDLIST* chosen = nullptr;
  const char* display_name = nullptr;  // nullptr: the browser leaves the buffer alone (cancel)
  BOOL path_found = FALSE;
  const char* path = "";

  int location_calls = 0;
  HWND location_owner = nullptr;
  int location_folder = -1;
  HANDLE location_token = INVALID_HANDLE_VALUE;
  DWORD location_reserved = 1;

  int browse_calls = 0;
  BROWSEINFOA request{};
  std::string display_buffer_on_entry;  // all 261 bytes
  std::string title;

  int path_calls = 0;
  PCIDLIST_ABSOLUTE path_list = nullptr;
  std::string path_buffer_on_entry;  // all 261 bytes

  std::vector<void*> freed;
};
Shell* g_shell = nullptr;

HRESULT WINAPI FakeGetFolderLocation(HWND owner, int folder, HANDLE token, DWORD reserved, PIDLIST_ABSOLUTE* list) {
  Shell& s = *g_shell;
  ++s.location_calls;
  s.location_owner = owner;
  s.location_folder = folder;
  s.location_token = token;
  s.location_reserved = reserved;
  *list = SUCCEEDED(s.location_result) ? kDesktop : nullptr;
  return s.location_result;
}

PIDLIST_ABSOLUTE WINAPI FakeBrowseForFolder(BROWSEINFOA* request) {
  Shell& s = *g_shell;
  ++s.browse_calls;
  s.request = *request;
  s.display_buffer_on_entry.assign(request->pszDisplayName, 261);
  s.title = request->lpszTitle;
  if (s.display_name) std::strcpy(request->pszDisplayName, s.display_name);
  return s.chosen;
}

BOOL WINAPI FakeGetPathFromIdList(PCIDLIST_ABSOLUTE list, char* path) {
  Shell& s = *g_shell;
  ++s.path_calls;
  s.path_list = list;
  s.path_buffer_on_entry.assign(path, 261);
  if (s.path_found) std::strcpy(path, s.path);
  return s.path_found;
}

void WINAPI FakeFree(void* memory) { g_shell->freed.push_back(memory); }

// Puts the fakes into the table for one test and the system's functions back after it.
class FakeShell : public testing::Test {
 protected:
  void SetUp() override {
    g_shell = &shell_;
    Replace(rt::BoundFunction::SHGetFolderLocation, reinterpret_cast<void*>(&FakeGetFolderLocation));
    Replace(rt::BoundFunction::SHBrowseForFolderA, reinterpret_cast<void*>(&FakeBrowseForFolder));
    Replace(rt::BoundFunction::SHGetPathFromIDListA, reinterpret_cast<void*>(&FakeGetPathFromIdList));
    Replace(rt::BoundFunction::CoTaskMemFree, reinterpret_cast<void*>(&FakeFree));
  }
  void TearDown() override {
    for (rt::BoundFunction entry : {rt::BoundFunction::SHGetFolderLocation, rt::BoundFunction::SHBrowseForFolderA,
                                    rt::BoundFunction::SHGetPathFromIDListA, rt::BoundFunction::CoTaskMemFree}) {
      rt::ReplaceBoundFunction(entry, nullptr);
    }
    g_shell = nullptr;
  }
  static void Replace(rt::BoundFunction entry, void* fake) { rt::ReplaceBoundFunction(entry, fake); }

  // A fresh record for each case of a table.
  Shell& Fresh(const Shell& given) {
    shell_ = given;
    return shell_;
  }

 private:
  Shell shell_;
};

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

struct BrowseCase {
  const char* what;
  Shell given;
  const char* expected;
};

Shell Given(ITEMIDLIST* chosen, const char* display_name, BOOL path_found = FALSE, const char* path = "") {
  Shell s;
  s.chosen = chosen;
  s.display_name = display_name;
  s.path_found = path_found;
  s.path = path;
  return s;
}

TEST_F(FakeShell, BrowseForFolderTable) {
  const BrowseCase cases[] = {
      {"a chosen folder", Given(kItem, "Soft", TRUE, "E:\\Soft"), "E:\\Soft"},
      {"a folder with a Chinese name", Given(kItem, "软件", TRUE, "E:\\软件"), "E:\\软件"},
      {"a folder that ends in the product's name", Given(kItem, "Dormivet", TRUE, "E:\\Soft\\Dormivet"),
       "E:\\Soft\\Dormivet"},
      {"a drive root loses its backslash", Given(kItem, "本地磁盘 (E:)", TRUE, "E:\\"), "E:"},
      {"cancel", Given(nullptr, nullptr), ""},
      {"a display name with ?", Given(kItem, "Soft?", TRUE, "E:\\Soft"), ""},
      {"a display name with ? in its middle", Given(kItem, "  a?b  ", TRUE, "E:\\a?b"), ""},
      {"an item that is no file-system folder", Given(kItem, "控制面板"), ""},
      {"an item whose path is empty", Given(kItem, "Soft", TRUE, ""), ""},
      {"no item, blank display name", Given(nullptr, "     "), ""},
      {"no item, full-width blank display name", Given(nullptr, "　　"), ""},
      {"no item, mixed blanks", Given(nullptr, " 　 　"), ""},
      // Without an item the name is not the browser's answer: on cancel the
      // ANSI browser hands back its own uninitialised buffer, under Wine the
      // remains of an earlier call's name.
      {"no item, a name", Given(nullptr, "Server"), ""},
      {"no item, what an earlier call left", Given(nullptr, "\x01\x02oft\\Dormivet"), ""},
      // A path the ANSI code page cannot spell is not the chosen folder,
      // though its display name could be spelled.
      {"a path with ?", Given(kItem, "桌面", TRUE, "C:\\users\\?\\Desktop"), ""},
  };
  for (const BrowseCase& c : cases) {
    SCOPED_TRACE(c.what);
    Shell& seen = Fresh(c.given);
    EXPECT_EQ(std::string(installer::BrowseForFolder(kOwner, "请选择安装位置").view()), c.expected);

    EXPECT_EQ(seen.location_calls, 1);
    EXPECT_EQ(seen.location_owner, kOwner);
    EXPECT_EQ(seen.location_folder, CSIDL_DESKTOP);
    EXPECT_EQ(seen.location_token, nullptr);
    EXPECT_EQ(seen.location_reserved, 0u);

    // The request, field by field in its order, compared as bytes.
    ASSERT_EQ(seen.browse_calls, 1);
    BROWSEINFOA expected_request{};
    expected_request.hwndOwner = kOwner;
    expected_request.pidlRoot = kDesktop;
    expected_request.pszDisplayName = seen.request.pszDisplayName;
    expected_request.lpszTitle = seen.request.lpszTitle;
    expected_request.ulFlags = 0x77;
    static_assert(sizeof(BROWSEINFOA) == 8 * 4, "eight fields of four bytes, no padding");
    EXPECT_EQ(std::memcmp(&seen.request, &expected_request, sizeof(BROWSEINFOA)), 0);
    EXPECT_EQ(seen.request.lpfn, nullptr);
    EXPECT_EQ(seen.request.ulFlags, 0x77u);
    EXPECT_EQ(seen.display_buffer_on_entry, kBlanks260);
    EXPECT_EQ(seen.title, "请选择安装位置");

    // The path is asked for only for an item whose display name is usable.
    const bool asks_path = c.given.chosen && !std::strchr(c.given.display_name, '?');
    EXPECT_EQ(seen.path_calls, asks_path ? 1 : 0);
    if (asks_path) {
      EXPECT_EQ(seen.path_list, kItem);
      EXPECT_EQ(seen.path_buffer_on_entry, kBlanks260);
    }

    // The browser's list is freed in every case (null too), then the root.
    EXPECT_EQ(seen.freed, (std::vector<void*>{c.given.chosen, kDesktop}));
  }
}

TEST_F(FakeShell, AFailedRootQueryLeavesTheRootNull) {
  Shell& seen = Fresh(Given(kItem, "Soft", TRUE, "E:\\Soft"));
  seen.location_result = E_FAIL;
  EXPECT_EQ(std::string(installer::BrowseForFolder(kOwner, "请选择安装位置").view()), "E:\\Soft");
  EXPECT_EQ(seen.request.pidlRoot, nullptr);
  EXPECT_EQ(seen.freed, (std::vector<void*>{kItem, nullptr}));
}

TEST_F(FakeShell, TheTitleIsTheCallersAndNothingIsKeptBetweenCalls) {
  Shell& seen = Fresh(Given(kItem, "Soft", TRUE, "E:\\Soft"));
  EXPECT_EQ(std::string(installer::BrowseForFolder(kOwner, "另一个标题").view()), "E:\\Soft");
  EXPECT_EQ(seen.title, "另一个标题");
  // The next call starts from blank buffers again, whatever the last one held.
  Shell& again = Fresh(Given(nullptr, nullptr));
  EXPECT_EQ(std::string(installer::BrowseForFolder(kOwner, "").view()), "");
  EXPECT_EQ(again.display_buffer_on_entry, kBlanks260);
}

// ---- The handler, against the main window --------------------------------

class LabelPressed : public FakeShell {
 protected:
  static void SetUpTestSuite() { rt::LoadWindow(ui::MainWindow()); }  // its created event fills the state
  static void TearDownTestSuite() { rt::UnloadWindow(ui::MainWindow()); }

  static std::string Caption() {
    return std::string(ui::MainWindowControl(ui::kInstallDirLabel).Caption().view());
  }
  static void SetCaption(const char* caption) { ui::MainWindowControl(ui::kInstallDirLabel).SetCaption(caption); }
};

TEST_F(LabelPressed, CaptionTable) {
  const struct {
    const char* what;
    Shell given;
    const char* before;
    const char* after;
  } cases[] = {
      {"a folder", Given(kItem, "Soft", TRUE, "E:\\Soft"), "C:\\Tavrinex\\Dormivet", "E:\\Soft\\Dormivet"},
      {"a drive root", Given(kItem, "本地磁盘 (E:)", TRUE, "E:\\"), "C:\\Tavrinex\\Dormivet", "E:\\Dormivet"},
      {"a folder that ends in the product's name", Given(kItem, "Dormivet", TRUE, "E:\\Soft\\Dormivet"),
       "E:\\Soft\\Dormivet", "E:\\Soft\\Dormivet\\Dormivet"},
      {"a name without an item", Given(nullptr, "　Server "), "C:\\Tavrinex\\Dormivet", "C:\\Tavrinex\\Dormivet"},
      {"cancel", Given(nullptr, nullptr), "E:\\Soft\\Dormivet", "E:\\Soft\\Dormivet"},
      {"a display name with ?", Given(kItem, "So?ft", TRUE, "E:\\So?ft"), "E:\\Soft\\Dormivet", "E:\\Soft\\Dormivet"},
      {"no file-system folder", Given(kItem, "控制面板"), "E:\\Soft\\Dormivet", "E:\\Soft\\Dormivet"},
      {"a blank name without an item", Given(nullptr, " 　 "), "E:\\Soft\\Dormivet", "E:\\Soft\\Dormivet"},
  };
  const HWND main_window = ui::MainWindowRef().Handle();
  ASSERT_NE(main_window, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetCaption(c.before);
    Shell& seen = Fresh(c.given);
    installer::OnInstallDirLabelPressed();
    EXPECT_EQ(Caption(), c.after);
    EXPECT_EQ(seen.location_owner, main_window);
    EXPECT_EQ(seen.request.hwndOwner, main_window);
    EXPECT_EQ(seen.title, "请选择安装位置");
    EXPECT_EQ(seen.freed.size(), 2u);
  }
}

// The product's folder is the catalogue's element at the index, looked up at
// each press, not a name kept from start-up.
TEST_F(LabelPressed, TheProductNameComesFromTheCatalogueAtTheIndex) {
  installer::InstallerState& state = installer::State();
  ASSERT_EQ(state.Catalogue.Count(), 16);
  ASSERT_EQ(state.ProductIndex, 4);
  const struct {
    int index;
    const char* after;
  } cases[] = {{1, "E:\\Soft\\Arvelune"}, {7, "E:\\Soft\\Gestravon"}, {16, "E:\\Soft\\Quintrel"}};
  for (const auto& c : cases) {
    state.ProductIndex = c.index;
    Fresh(Given(kItem, "Soft", TRUE, "E:\\Soft"));
    installer::OnInstallDirLabelPressed();
    EXPECT_EQ(Caption(), c.after) << c.index;
  }
  state.ProductIndex = 4;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  rt::PrepareRuntime();
  return RUN_ALL_TESTS();
}
