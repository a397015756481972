// The shell-link and file-open dialog adapters on the real shell: a link
// made, read back by an independent parser (lnkinfo) and removed; the
// desktop and Startup folders; the file-open dialog answered by a helper
// thread as a user would.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "support/lnk_info.h"
#include "support/program_under_test.h"
#include "win32/win32_file_dialog.h"
#include "win32/win32_shell_links.h"

namespace corvane {
namespace {

using testing::FileExists;
using testing::LnkInfoFields;
using testing::WaitUntil;

std::string TestFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "corvane-" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\'));
  return folder;
}

// The link header's show command, a little-endian 32-bit field at offset
// 0x3C of the file (this lnkinfo does not report it faithfully).
int HeaderShowCommand(const std::string& linkPath) {
  std::ifstream file(linkPath, std::ios::binary);
  unsigned char bytes[4] = {};
  file.seekg(0x3C);
  file.read(reinterpret_cast<char*>(bytes), sizeof bytes);
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
}

TEST(ShellLinksTest, LinkReadsBackAsWrittenAndIsRemoved) {
  Win32ShellLinks links;
  const std::string folder = TestFolder("links");
  const std::string linkPath = folder + "\\Work.lnk";
  const std::string program = ProgramFolder() + "\\corvane.exe";
  DeleteFileA(linkPath.c_str());

  ShellLink link;
  link.target = program;
  link.arguments = "/Work";
  link.workingFolder = ProgramFolder();
  link.iconFile = program;
  link.iconIndex = 7;
  link.show = ShowMode::Maximized;
  link.description = "Dialable CRV entry: Work";
  ASSERT_TRUE(links.CreateLink(linkPath, link));
  EXPECT_EQ(HeaderShowCommand(linkPath), SW_SHOWMAXIMIZED);
  // Saving again replaces the file rather than failing on it; a link knows
  // three ways of showing the program, the rest start it as Normal.
  for (const auto& [show, written] : {std::pair{ShowMode::Minimized, SW_SHOWMINNOACTIVE},
                                      std::pair{ShowMode::Hide, SW_SHOWNORMAL},
                                      std::pair{ShowMode::Normal, SW_SHOWNORMAL}}) {
    link.show = show;
    ASSERT_TRUE(links.CreateLink(linkPath, link));
    EXPECT_EQ(HeaderShowCommand(linkPath), written) << static_cast<int>(show);
  }

  std::map<std::string, std::string> fields = LnkInfoFields(linkPath);
  EXPECT_EQ(fields["Local path"], program);
  EXPECT_EQ(fields["Command line arguments"], "/Work");
  EXPECT_EQ(fields["Working directory"], ProgramFolder());
  EXPECT_EQ(fields["Icon location"], program);
  EXPECT_EQ(fields["Icon index"], "7");
  EXPECT_EQ(fields["Description"], "Dialable CRV entry: Work");

  EXPECT_TRUE(links.RemoveLink(linkPath));
  EXPECT_FALSE(FileExists(linkPath));
  EXPECT_FALSE(links.RemoveLink(linkPath));
  // A folder that is not there takes no link.
  EXPECT_FALSE(links.CreateLink(folder + "\\missing\\Work.lnk", link));
}

TEST(ShellLinksTest, DesktopsAndStartupAreExistingFoldersWithoutTrailingSeparator) {
  Win32ShellLinks links;
  for (ShellFolder folder : {ShellFolder::UserDesktop, ShellFolder::CommonDesktop, ShellFolder::Startup}) {
    SCOPED_TRACE(static_cast<int>(folder));
    const std::string path = links.FolderPath(folder);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), '\\');
    const DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << path;
  }
  EXPECT_NE(links.FolderPath(ShellFolder::UserDesktop), links.FolderPath(ShellFolder::CommonDesktop));
}

// Plays the user of one file-open dialog titled `title`: reads its filter
// list, then types `typed` and presses Open, or presses Cancel when
// `typed` is empty.
class DialogUser {
 public:
  DialogUser(const std::string& title, const std::string& typed)
      : thread_([this, title, typed] { Answer(title, typed); }) {}
  ~DialogUser() { thread_.join(); }
  DialogUser(const DialogUser&) = delete;
  DialogUser& operator=(const DialogUser&) = delete;

  std::string firstFilter;
  int filterCount = 0;
  std::atomic<bool> found{false};

 private:
  void Answer(const std::string& title, const std::string& typed) {
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindWindowA("#32770", title.c_str())) != nullptr; })) return;
    found = true;
    HWND filters = GetDlgItem(dialog, cmb1);
    filterCount = static_cast<int>(SendMessageA(filters, CB_GETCOUNT, 0, 0));
    char text[256] = {};
    SendMessageA(filters, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    firstFilter = text;
    if (typed.empty()) {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (nameBox == nullptr) nameBox = GetDlgItem(dialog, edt1);
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  }

  std::thread thread_;
};

TEST(FileDialogTest, ChosenFileComesBackWithItsFolder) {
  const std::string folder = TestFolder("browse");
  std::ofstream(folder + "\\phones.csv") << "Location,Phone\n";
  Win32FileDialog dialogs;
  FileOpenRequest request{"Open phone list from:", "comma separated values (*.csv)|*.csv|all files (*.*)|*.*", "csv",
                          folder, ""};
  std::string path = "previous";
  {
    DialogUser user(request.title, "phones.csv");
    EXPECT_TRUE(dialogs.ChooseFileToOpen(request, path));
    ASSERT_TRUE(user.found);
    EXPECT_EQ(user.filterCount, 2);
    EXPECT_EQ(user.firstFilter, "comma separated values (*.csv)");
  }
  EXPECT_EQ(path, folder + "\\phones.csv");
}

TEST(FileDialogTest, CancelLeavesThePathAlone) {
  Win32FileDialog dialogs;
  FileOpenRequest request{"Select file location:", "executable(*.exe)|*.exe|all files (*.*)|*.*", "exe", "", ""};
  std::string path = "C:\\previous.exe";
  {
    DialogUser user(request.title, "");
    EXPECT_FALSE(dialogs.ChooseFileToOpen(request, path));
    ASSERT_TRUE(user.found);
  }
  EXPECT_EQ(path, "C:\\previous.exe");
}

}  // namespace
}  // namespace corvane
