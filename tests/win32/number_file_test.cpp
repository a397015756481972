// The number file's download over the real WinINet, against a small HTTP
// server that the test runs on 127.0.0.1 (one canned answer per request
// path), and the lists read through the real file functions.
#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/self_signed_https.h"
#include "support/tiny_http_server.h"
#include "system/download_port.h"
#include "win32/message_loop.h"
#include "win32/win32_file_system.h"
#include "win32/wininet_download.h"

namespace corvane {
namespace {

using testing::SelfSignedHttpsUrl;
using testing::Socket;
using testing::TinyHttpServer;

class NumberFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  static void TearDownTestSuite() { WSACleanup(); }

  // A port nothing listens on.
  static int ClosedPort() {
    Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(s.Get(), reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
  }

  static double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  MessageLoop loop;
  WinInetDownload download{loop};
};

TEST_F(NumberFileTest, AnswersOfTheServer) {
  TinyHttpServer server;
  struct Case {
    std::string path;
    size_t maxBytes;
    int32_t status;
    std::string body;
  };
  const Case cases[] = {
      {"/number", 4096, 200, "0123456789123\r\n"},
      {"/missing", 4096, 404, ""},  // the error page is not a number file
      {"/big", 4096, 200, std::string(4096, '7')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string body;
    EXPECT_EQ(download.Download(server.Url(c.path), 5000, c.maxBytes, body), c.status);
    EXPECT_EQ(body, c.body);
  }
}

TEST_F(NumberFileTest, NoServerFailsWithinTheTimeOut) {
  std::string body = "untouched";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(download.Download("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/number", 3000, 4096, body),
            kDownloadFailed);
  EXPECT_LT(SecondsSince(start), 4.0);
  EXPECT_EQ(body, "untouched");

  EXPECT_EQ(download.Download("not a url at all", 3000, 4096, body), kDownloadFailed);
}

TEST_F(NumberFileTest, ServerThatNeverAnswersTimesOut) {
  TinyHttpServer server;
  std::string body;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(download.Download(server.Url("/hang"), 1000, 4096, body), kDownloadFailed);
  const double waited = SecondsSince(start);
  EXPECT_GE(waited, 0.9);
  EXPECT_LT(waited, 3.0);
  EXPECT_TRUE(body.empty());
}

// The platform's certificate checks apply, and their failure is told apart
// from any other: a server nobody vouches for gives no number.
TEST_F(NumberFileTest, UntrustedCertificateRefusesTheDownload) {
  const std::string url = SelfSignedHttpsUrl("/number");
  ASSERT_FALSE(url.empty()) << "run through ctest, which starts the https server";
  std::string body = "untouched";
  EXPECT_EQ(download.Download(url, 5000, 4096, body), kDownloadCertificateRefused);
  EXPECT_EQ(body, "untouched");
}

// Window messages keep being dispatched while the download waits; one of
// them even asks for a second download, which is refused, not nested.
TEST_F(NumberFileTest, WindowStaysResponsiveWhileDownloading) {
  TinyHttpServer server;
  static std::atomic<int> ticks{0};
  static WinInetDownload* nested = nullptr;
  static int32_t nestedStatus = -1;
  ticks = 0;
  nested = &download;
  WNDCLASSA windowClass{};
  windowClass.lpszClassName = "CorvaneNumberFileTest";
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) CALLBACK -> LRESULT {
    if (message == WM_TIMER) {
      if (++ticks == 1) {
        std::string body;
        nestedStatus = nested->Download("http://127.0.0.1:1/number", 1000, 4096, body);
      }
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  };
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  SetTimer(window, 1, 50, nullptr);

  std::string body;
  EXPECT_EQ(download.Download(server.Url("/slow"), 5000, 4096, body), 200);
  EXPECT_EQ(body, "0123456789123\r\n");
  EXPECT_GE(ticks.load(), 3);
  EXPECT_EQ(nestedStatus, kDownloadFailed);

  KillTimer(window, 1);
  DestroyWindow(window);
  UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
}

TEST(ListFileTest, ReadsLinesOfAnyBreakAndKeepsTheLastOne) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "corvane_list_test_" + std::to_string(GetCurrentProcessId()) + ".txt";
  {
    std::ofstream file(path, std::ios::binary);
    file << "City,Phone\r\nYuma,520 3290098\r\n\r\nTucson,520 5550100\nLast,5551234";
  }
  Win32FileSystem files;
  std::vector<std::string> lines;
  EXPECT_TRUE(files.FileExists(path));
  ASSERT_TRUE(files.ReadLines(path, lines));
  EXPECT_EQ(lines,
            (std::vector<std::string>{"City,Phone", "Yuma,520 3290098", "", "Tucson,520 5550100", "Last,5551234"}));
  DeleteFileA(path.c_str());

  EXPECT_FALSE(files.FileExists(path));
  EXPECT_FALSE(files.ReadLines(path, lines));
  EXPECT_TRUE(lines.empty());
  EXPECT_FALSE(files.FileExists(folder));  // a folder is no list
}

}  // namespace
}  // namespace corvane
