// The disconnect question as a person meets it: shown modally through
// Win32FormHost above a stand-in for the dialer window, found by its caption,
// read, and answered with its buttons or the keyboard while the modal loop
// runs. The program's other ports are the host tests' fakes.
//
// CORVANE_SHOT_HOLD_MS=N keeps the first question open N ms before it is
// answered, so that a screenshot can be taken of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "fakes/program_fixture.h"
#include "ui/message_ids.h"
#include "win32/message_loop.h"
#include "win32/win32_form_host.h"

namespace corvane::testing {
namespace {

constexpr const char* kCaption = "Active Internet connection!";

std::string Text(HWND window) {
  char buffer[512] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

// Plays the user: a thread timer looks for the question every 50 ms while
// the modal loop runs and, once it is there, hands it to `act` exactly once.
class User {
 public:
  explicit User(std::function<void(HWND)> act, DWORD holdMs = 0) : act_(std::move(act)), holdMs_(holdMs) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &User::Tick);
  }
  ~User() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Acted() const { return acted_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    User* self = current_;
    if (self == nullptr || self->acted_) return;
    HWND question = FindWindowA(nullptr, kCaption);
    if (question == nullptr || !IsWindowVisible(question)) return;
    if (self->seenAt_ == 0) self->seenAt_ = GetTickCount64();
    if (GetTickCount64() - self->seenAt_ < self->holdMs_) return;
    self->acted_ = true;
    self->act_(question);
  }

  static inline User* current_ = nullptr;
  std::function<void(HWND)> act_;
  DWORD holdMs_;
  UINT_PTR timer_ = 0;
  ULONGLONG seenAt_ = 0;
  bool acted_ = false;
};

class MessageFormWineTest : public ::testing::Test, public ProgramFixture {
 protected:
  void SetUp() override {
    Start("Work");  // no number: the dialer model waits for the user
    owner_ = CreateWindowExA(0, "STATIC", "Corvane     'Work'", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 340, 150,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
    host_.SetOwner(owner_);
  }
  void TearDown() override {
    host_.ReleaseAll();
    DestroyWindow(owner_);
  }

  // Shows the question as the Disconnect command will; `act` runs once the
  // window is on the screen. False when the user never got to act.
  bool Ask(std::function<void(HWND)> act, DWORD holdMs = 0) {
    User user(std::move(act), holdMs);
    host_.ShowModal(context->frmMessage);
    return user.Acted();
  }

  std::optional<std::string> StoredDoNotAsk() {
    return registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), "DoNotAsk");
  }

  MessageLoop loop_;
  Win32FormHost host_{GetModuleHandleA(nullptr), loop_};
  HWND owner_ = nullptr;
};

TEST_F(MessageFormWineTest, QuestionShowsItsTextsAndNoKeepsTheConnection) {
  const char* hold = std::getenv("CORVANE_SHOT_HOLD_MS");
  bool sawOwnerDisabled = false;
  HWND seen = nullptr;
  ASSERT_TRUE(Ask(
      [&](HWND question) {
        seen = question;
        EXPECT_EQ(Text(question), kCaption);
        EXPECT_EQ(GetWindow(question, GW_OWNER), owner_);
        sawOwnerDisabled = IsWindowEnabled(owner_) == FALSE;
        EXPECT_EQ(Text(GetDlgItem(question, IDC_MSG_LBLMESS)),
                  "Do you want to disconnect the active Internet connection?");
        EXPECT_EQ(Text(GetDlgItem(question, IDC_MSG_CHKASK)), "&Do not ask me again");
        EXPECT_EQ(Text(GetDlgItem(question, IDC_MSG_CMDYES)), "&Yes");
        EXPECT_EQ(Text(GetDlgItem(question, IDC_MSG_CMDNO)), "&No");
        EXPECT_NE(SendDlgItemMessageA(question, IDC_MSG_IMAGE1, STM_GETICON, 0, 0), 0);
        EXPECT_EQ(IsDlgButtonChecked(question, IDC_MSG_CHKASK), BST_UNCHECKED);
        EXPECT_EQ(GetFocus(), GetDlgItem(question, IDC_MSG_CMDYES));
        // Tick the box, then press "&No", as a screen reader would.
        SendMessageA(GetDlgItem(question, IDC_MSG_CHKASK), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(question, IDC_MSG_CMDNO), BM_CLICK, 0, 0);
      },
      hold != nullptr ? static_cast<DWORD>(std::atoi(hold)) : 0));

  EXPECT_EQ(context->frmMessage.DisconnectDeclined, 1);
  EXPECT_FALSE(context->frmMessage.Loaded());
  EXPECT_FALSE(IsWindow(seen));
  EXPECT_TRUE(sawOwnerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(StoredDoNotAsk(), std::string("1\0", 2));
  EXPECT_EQ(context->Line.RunningEntry().DoNotAsk, 1);
}

TEST_F(MessageFormWineTest, KeyboardAndCloseBox) {
  struct Case {
    const char* name;
    std::function<void(HWND)> act;
    uint8_t before;
    uint8_t after;
    bool stores;
  };
  const auto key = [](WPARAM vk) {
    return [vk](HWND question) {
      HWND focus = GetFocus();
      PostMessageA(focus != nullptr ? focus : question, WM_KEYDOWN, vk, 0);
      PostMessageA(focus != nullptr ? focus : question, WM_KEYUP, vk, 0xC0000001);
    };
  };
  const Case cases[] = {
      {"Enter answers Yes", key(VK_RETURN), 1, 0, true},
      {"Escape answers No", key(VK_ESCAPE), 0, 1, true},
      {"close box after No leaves 1", [](HWND q) { PostMessageA(q, WM_SYSCOMMAND, SC_CLOSE, 0); }, 1, 1, false},
      {"close box at the first disconnect leaves 0", [](HWND q) { PostMessageA(q, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0,
       0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry.DeleteKey(RegHive::CurrentUser, EntryKey("Work"));
    context->frmMessage.DisconnectDeclined = c.before;
    ASSERT_TRUE(Ask(c.act));
    EXPECT_EQ(context->frmMessage.DisconnectDeclined, c.after);
    EXPECT_FALSE(context->frmMessage.Loaded());
    EXPECT_EQ(StoredDoNotAsk().has_value(), c.stores);
    EXPECT_EQ(FindWindowA(nullptr, kCaption), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner_));
  }
}

TEST_F(MessageFormWineTest, QuitDuringTheQuestionEndsItAndStaysQueued) {
  ASSERT_TRUE(Ask([](HWND) { PostQuitMessage(3); }));
  EXPECT_FALSE(context->frmMessage.Loaded());
  EXPECT_EQ(FindWindowA(nullptr, kCaption), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace corvane::testing
