// The form binder on the real window system, with a template of its own: a
// tab strip holding a frame with a text box and a scroll bar, and one control
// of each newer kind beside it. Each check drives the real control as the
// user would (keys to the scroll bar, a click on a tab or a button) or
// changes the model as the program would, then reads the other side.
//
// A handler that throws, in a bound window or in a modal one's loading,
// leaves the window answering.
//
// CORVANE_SHOT_HOLD_MS=N keeps the window on the screen N ms after the
// first test has filled it, so that a screenshot can be taken of it.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "form_binder_test_ids.h"
#include "forms/form.h"
#include "win32/form_binder.h"
#include "win32/handler_guard.h"
#include "win32/message_loop.h"
#include "win32/unique_handle.h"
#include "win32/win32_form_host.h"

namespace corvane::testing {
namespace {

class BinderTestForm : public forms::Form {
 public:
  BinderTestForm() : Form("frmBinderTest", IDD_BINDER_TEST) {
    SetCaption("Binder test");
    Move(0, 0, 7200, 4800);
    tbs.AddTab("&General");
    tbs.AddTab("&Monthly");
    tbs.Move(120, 120, 3600, 2640);
    fra.SetCaption("Redial");
    fra.Move(120, 420, 3360, 2040);
    txt.Move(240, 360, 900, 315);
    vsb.Move(1140, 360, 255, 315);
    lbx.Move(3900, 120, 3000, 1200);
    cbo.Move(3900, 1440, 3000, 315);
    lv.Move(3900, 1920, 3000, 1440);
    lv.AddColumn("MONTH", 1200);
    lv.AddColumn("TOTAL ONLINE TIME", 1680);
    optA.SetCaption("Next &time");
    optA.Move(120, 2880, 2400, 255);
    optB.SetCaption("Hang &up");
    optB.Move(120, 3180, 2400, 255);
    img.Move(2760, 2880, 480, 480);
    img.SetPicture(8);
    lbl.SetCaption("Dropped line reconnection in:");
    lbl.Move(120, 3540, 3600, 255);
    for (forms::Control* control : std::initializer_list<forms::Control*>{
             &tbs, &fra, &txt, &vsb, &lbx, &cbo, &lv, &optA, &optB, &img, &lbl}) {
      Register(*control);
    }

    // The options window's rule: the scroll bar's ends are wrap markers,
    // and the value goes into the text box.
    vsb.SetRange(-1, 60);
    vsb.SetValue(59);
    vsb.Change = [this] {
      FailIfAsked();
      log.push_back("vsb_Change " + std::to_string(vsb.Value()));
      if (vsb.Value() == 60) vsb.SetValue(0);
      if (vsb.Value() == -1) vsb.SetValue(59);
      txt.SetText(std::to_string(vsb.Value()));
    };
    tbs.Click = [this] {
      FailIfAsked();
      log.push_back("tbs_Click " + std::to_string(tbs.SelectedTab()));
      fra.SetVisible(tbs.SelectedTab() == 1);
    };
    lbx.Click = [this] { log.push_back("lbx_Click " + std::to_string(lbx.ListIndex())); };
    cbo.Click = [this] { log.push_back("cbo_Click " + std::to_string(cbo.ListIndex())); };
    optA.Click = [this] {
      // What a handler did before it failed stays done.
      if (failNext) lbx.AddItem("added before the failure");
      FailIfAsked();
      log.push_back("optA_Click");
    };
    optB.Click = [this] { log.push_back("optB_Click"); };
    img.Click = [this] { log.push_back("img_Click"); };
    lbx.MouseMove = [this](int16_t button, int16_t shift, float x, float y) {
      FailIfAsked();
      log.push_back("lbx_MouseMove " + std::to_string(button) + " " + std::to_string(shift) + " " +
                    std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    };
  }

  void Form_Load() override { FailIfAsked(); }
  void Form_Resize() override { log.push_back("Form_Resize"); }

  // Runs `failNext` (which throws, as a rule) once, in the next handler
  // that asks.
  void FailIfAsked() {
    if (auto fail = std::exchange(failNext, nullptr)) fail();
  }

  forms::TabStrip tbs{"tbs", IDC_BT_TBS};
  forms::Frame fra{"fra", IDC_BT_FRA, &tbs};
  forms::TextBox txt{"txt", IDC_BT_TXT, &fra};
  forms::VScrollBar vsb{"vsb", IDC_BT_VSB, &fra};
  forms::ListBox lbx{"lbx", IDC_BT_LBX};
  forms::ComboBox cbo{"cbo", IDC_BT_CBO};
  forms::ListView lv{"lv", IDC_BT_LV};
  forms::OptionButton optA{"optA", IDC_BT_OPTA};
  forms::OptionButton optB{"optB", IDC_BT_OPTB};
  forms::Image img{"img", IDC_BT_IMG};
  forms::Label lbl{"lbl", IDC_BT_LBL};

  std::vector<std::string> log;
  std::function<void()> failNext;
};

std::string Text(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

class FormBinderWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(binder_.Create());
    form_.Show();
    loop_.DispatchWaiting();
    dialog_ = binder_.Window();
    form_.log.clear();
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  // Where the control sits in the window's client area, pixels.
  POINT Origin(int id) const {
    RECT rect;
    GetWindowRect(Item(id), &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top};
  }
  int Pixels(int twips) const {
    const int dpi = static_cast<int>(1440.0f / form_.TwipsPerPixel() + 0.5f);
    return MulDiv(twips, dpi, 1440);
  }
  void Key(int id, WPARAM key) {
    SendMessageA(Item(id), WM_KEYDOWN, key, 1);
    SendMessageA(Item(id), WM_KEYUP, key, 0xC0000001);
  }
  void Click(HWND item, int x, int y) {
    SendMessageA(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(item, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    loop_.DispatchWaiting();
  }
  std::vector<std::string> TakeLog() {
    std::vector<std::string> taken;
    taken.swap(form_.log);
    return taken;
  }

  BinderTestForm form_;
  MessageLoop loop_;
  FormBinder binder_{form_, GetModuleHandleA(nullptr), loop_};
  HWND dialog_ = nullptr;
};

TEST_F(FormBinderWineTest, WindowShowsTheModel) {
  EXPECT_EQ(Text(dialog_), "Binder test");
  EXPECT_EQ(SendMessageA(Item(IDC_BT_TBS), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(Item(IDC_BT_TBS), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(Item(IDC_BT_FRA)), "Redial");
  EXPECT_EQ(Text(Item(IDC_BT_OPTB)), "Hang &up");
  EXPECT_NE(SendMessageA(Item(IDC_BT_IMG), STM_GETICON, 0, 0), 0);
  EXPECT_EQ(GetScrollPos(Item(IDC_BT_VSB), SB_CTL), 59);
  // Placed from the model's twips, inside the frame inside the tab strip.
  const POINT box = Origin(IDC_BT_TXT);
  EXPECT_EQ(box.x, Pixels(120 + 120 + 240));
  EXPECT_EQ(box.y, Pixels(120 + 420 + 360));
  for (int id : {IDC_BT_FRA, IDC_BT_TXT, IDC_BT_VSB}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(Visible(id));
    // The binder keeps the tab strip below its contents, whatever the
    // template's order: it comes after them from the top.
    bool below = false;
    for (HWND w = Item(id); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) below |= w == Item(IDC_BT_TBS);
    EXPECT_TRUE(below);
  }

  if (const char* hold = std::getenv("CORVANE_SHOT_HOLD_MS")) {
    form_.lbx.AddItem(" September\t0 hrs   10 min");
    form_.lbx.AddItem(" May\t\t3 hrs   05 min");
    form_.lv.AddRow({" September", "0 hrs   10 min"});
    form_.cbo.SetText("Yuma,AZ");
    form_.optA.SetValue(true);
    form_.lbl.SetForeColor(forms::Rgb(255, 0, 0));
    form_.txt.SetBackColor(forms::kColorInactiveCaptionText);
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(std::atoi(hold));
    while (GetTickCount64() < until) loop_.WaitAndDispatch(50);
  }
}

// Hiding the frame hides what it holds; so does hiding the tab strip that
// holds the frame, two levels up.
TEST_F(FormBinderWineTest, HidingAContainerHidesItsContents) {
  struct Case {
    const char* name;
    forms::Control* container;
  };
  const Case cases[] = {{"frame", &form_.fra}, {"tab strip", &form_.tbs}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.container->SetVisible(false);
    EXPECT_FALSE(Visible(IDC_BT_TXT));
    EXPECT_FALSE(Visible(IDC_BT_VSB));
    EXPECT_FALSE(Visible(IDC_BT_FRA));
    EXPECT_TRUE(Visible(IDC_BT_LBX));
    c.container->SetVisible(true);
    EXPECT_TRUE(Visible(IDC_BT_TXT));
    EXPECT_TRUE(Visible(IDC_BT_VSB));
  }
  // A control hidden itself stays hidden when its frame is shown again.
  form_.txt.SetVisible(false);
  form_.fra.SetVisible(false);
  form_.fra.SetVisible(true);
  EXPECT_FALSE(Visible(IDC_BT_TXT));
  EXPECT_TRUE(Visible(IDC_BT_VSB));
}

TEST_F(FormBinderWineTest, DisablingAContainerDisablesItsContents) {
  form_.tbs.SetEnabled(false);
  EXPECT_FALSE(Enabled(IDC_BT_FRA));
  EXPECT_FALSE(Enabled(IDC_BT_TXT));
  EXPECT_FALSE(Enabled(IDC_BT_VSB));
  EXPECT_TRUE(Enabled(IDC_BT_LBX));
  form_.tbs.SetEnabled(true);
  EXPECT_TRUE(Enabled(IDC_BT_TXT));
  EXPECT_TRUE(Enabled(IDC_BT_VSB));

  form_.vsb.SetEnabled(false);
  form_.fra.SetEnabled(false);
  form_.fra.SetEnabled(true);
  EXPECT_TRUE(Enabled(IDC_BT_TXT));
  EXPECT_FALSE(Enabled(IDC_BT_VSB));  // disabled itself
  form_.vsb.SetEnabled(true);
  EXPECT_TRUE(Enabled(IDC_BT_VSB));
}

TEST_F(FormBinderWineTest, MovingAContainerMovesItsContents) {
  form_.fra.SetLeft(-20000);  // a page parked off-screen, as the tab handlers do
  EXPECT_EQ(Origin(IDC_BT_TXT).x, Pixels(120 - 20000 + 240));
  EXPECT_EQ(Origin(IDC_BT_VSB).x, Pixels(120 - 20000 + 1140));
  form_.tbs.SetTop(240);
  form_.fra.SetLeft(80);
  EXPECT_EQ(Origin(IDC_BT_TXT).x, Pixels(120 + 80 + 240));
  EXPECT_EQ(Origin(IDC_BT_TXT).y, Pixels(240 + 420 + 360));
}

// The real scroll bar, driven by its keys, sends WM_VSCROLL; Change reaches
// the model, whose wrap rule sets the value again; the real bar and the text
// box show the model's value.
TEST_F(FormBinderWineTest, ScrollBarChangeReachesTheModel) {
  Key(IDC_BT_VSB, VK_DOWN);  // 59 -> 60, the marker, wraps to 0
  EXPECT_EQ(form_.vsb.Value(), 0);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"vsb_Change 60", "vsb_Change 0"}));
  EXPECT_EQ(Text(Item(IDC_BT_TXT)), "0");
  EXPECT_EQ(GetScrollPos(Item(IDC_BT_VSB), SB_CTL), 0);

  Key(IDC_BT_VSB, VK_UP);  // 0 -> -1 wraps to 59
  EXPECT_EQ(form_.vsb.Value(), 59);
  EXPECT_EQ(GetScrollPos(Item(IDC_BT_VSB), SB_CTL), 59);
  Key(IDC_BT_VSB, VK_PRIOR);
  EXPECT_EQ(form_.vsb.Value(), 58);
  Key(IDC_BT_VSB, VK_HOME);  // the top: Min, the marker again
  EXPECT_EQ(form_.vsb.Value(), 59);
  EXPECT_EQ(Text(Item(IDC_BT_TXT)), "59");
  TakeLog();

  // The mouse on the lower arrow.
  RECT bar;
  GetClientRect(Item(IDC_BT_VSB), &bar);
  PostMessageA(Item(IDC_BT_VSB), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.right / 2, bar.bottom - 2));
  PostMessageA(Item(IDC_BT_VSB), WM_LBUTTONUP, 0, MAKELPARAM(bar.right / 2, bar.bottom - 2));
  loop_.DispatchWaiting();
  EXPECT_EQ(form_.vsb.Value(), 0);
  EXPECT_EQ(GetScrollPos(Item(IDC_BT_VSB), SB_CTL), 0);

  // The program's value reaches the real bar without a user event.
  form_.vsb.SetValue(30);
  EXPECT_EQ(GetScrollPos(Item(IDC_BT_VSB), SB_CTL), 30);
  EXPECT_EQ(Text(Item(IDC_BT_TXT)), "30");
}

// With Min the larger end, the top still shows Min and the down key still
// steps toward Max.
TEST_F(FormBinderWineTest, ScrollBarWithMinAboveMax) {
  form_.vsb.Change = nullptr;
  form_.vsb.SetRange(10, 0);
  form_.vsb.SetValue(10);
  EXPECT_EQ(GetScrollPos(Item(IDC_BT_VSB), SB_CTL), 0);  // the top
  Key(IDC_BT_VSB, VK_DOWN);
  EXPECT_EQ(form_.vsb.Value(), 9);
  EXPECT_EQ(GetScrollPos(Item(IDC_BT_VSB), SB_CTL), 1);
}

TEST_F(FormBinderWineTest, TabClickReachesTheModel) {
  HWND tabs = Item(IDC_BT_TBS);
  RECT second;
  ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  Click(tabs, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
  EXPECT_EQ(form_.tbs.SelectedTab(), 2);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"tbs_Click 2"}));
  EXPECT_FALSE(Visible(IDC_BT_TXT));  // the handler hid the page

  form_.tbs.SetSelectedTab(1);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(Visible(IDC_BT_TXT));
  form_.tbs.SetTabCaption(2, "CustE&ntry");
  char caption[64] = {};
  TCITEMA tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = caption;
  tab.cchTextMax = sizeof caption;
  SendMessageA(tabs, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&tab));
  EXPECT_STREQ(caption, "CustE&ntry");
}

// Whatever a handler throws stops at the window procedure (or the control's
// subclass) that called it: the sink is told which form and what, and the
// window goes on answering the user. The kinds of exceptions rotate over the
// ways a user event arrives.
TEST_F(FormBinderWineTest, AHandlerThatThrowsLeavesTheWindowAnswering) {
  std::vector<std::string> failures;
  binder_.HandlerFailed = [&failures](const HandlerFailure& failure) {
    failures.push_back(std::string(failure.where) + ": " + (failure.outOfMemory ? "out of memory, " : "") +
                       failure.what);
  };
  HWND tabs = Item(IDC_BT_TBS);
  RECT second;
  ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  struct Case {
    const char* name;
    std::function<void()> fail;
    std::function<void()> act;
    std::string failure;
  };
  const Case cases[] = {
      {"option button (WM_COMMAND), out of memory", [] { throw std::bad_alloc(); },
       [&] { SendMessageA(Item(IDC_BT_OPTA), BM_CLICK, 0, 0); },
       "frmBinderTest: out of memory, std::bad_alloc"},
      {"scroll bar (WM_VSCROLL)", [] { throw std::runtime_error("no value"); },
       [&] { Key(IDC_BT_VSB, VK_DOWN); }, "frmBinderTest: no value"},
      {"tab strip (WM_NOTIFY), not a standard exception", [] { throw 7; },
       [&] { Click(tabs, (second.left + second.right) / 2, (second.top + second.bottom) / 2); },
       "frmBinderTest: an exception of no standard type"},
      {"mouse over a list (the control's subclass)", [] { throw std::out_of_range("no row"); },
       [&] { SendMessageA(Item(IDC_BT_LBX), WM_MOUSEMOVE, 0, MAKELPARAM(10, 4)); }, "frmBinderTest: no row"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    failures.clear();
    form_.failNext = c.fail;
    c.act();
    EXPECT_EQ(failures, std::vector<std::string>{c.failure});
    EXPECT_FALSE(form_.failNext) << "the handler was reached";
    EXPECT_TRUE(TakeLog().empty());
    // Still answering: a click reaches its handler, a caption its control.
    Click(Item(IDC_BT_IMG), 4, 4);
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"img_Click"});
    form_.lbl.SetCaption(c.name);
    EXPECT_EQ(Text(Item(IDC_BT_LBL)), c.name);
  }
  // The item the failed click appended reached the real list all the same.
  EXPECT_EQ(SendMessageA(Item(IDC_BT_LBX), LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(form_.lbx.ListCount(), 1);
}

// A modal window whose loading throws is not left loaded, unseen, with its
// owner disabled and the form still attached to the host's modal observer:
// it is unloaded, the owner enabled again, and it can be opened anew.
TEST(FormHostWineTest, AModalWindowWhoseLoadingThrowsGivesItsOwnerBack) {
  MessageLoop loop;
  Win32FormHost host(GetModuleHandleA(nullptr), loop);
  const UniqueWindow owner(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                           GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(owner);
  host.SetOwner(owner.get());
  std::vector<std::string> failures;
  host.HandlerFailed = [&failures](const HandlerFailure& failure) {
    failures.push_back(std::string(failure.where) + ": " + failure.what);
  };
  BinderTestForm form;
  form.failNext = [] { throw std::runtime_error("no entry"); };
  host.ShowModal(form);
  EXPECT_EQ(failures, std::vector<std::string>{"frmBinderTest: no entry"});
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(host.WindowOf(form), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner.get()));

  // Opened anew, it is modal again and ends as usual, by its close box.
  bool ownerDisabled = false;
  form.failNext = [&] {
    ownerDisabled = !IsWindowEnabled(owner.get());
    PostMessageA(host.WindowOf(form), WM_CLOSE, 0, 0);
  };
  host.ShowModal(form);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_FALSE(form.Loaded());
  EXPECT_TRUE(IsWindowEnabled(owner.get()));
  EXPECT_EQ(failures.size(), 1u);
}

// Tab-aligned lines line up whatever the width of their first column: a
// month name that ends before the first stop takes two tabs, a longer one
// one tab, and both durations start at the second stop. Each line ends with
// the same glyph, so its last inked column tells where the second part went.
TEST_F(FormBinderWineTest, TabbedListLinesShareTheirSecondColumn) {
  form_.lbx.AddItem(" October\t\tW");
  form_.lbx.AddItem(" December\tW");
  HWND list = Item(IDC_BT_LBX);
  RECT client;
  GetClientRect(list, &client);
  HDC screen = GetDC(list);
  HDC memory = CreateCompatibleDC(screen);
  UniqueHandle<GdiObjectTraits<HBITMAP>> bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
  ReleaseDC(list, screen);
  const HGDIOBJ previous = SelectObject(memory, bitmap.get());
  SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
  auto lastInkedColumn = [&](int row) {
    RECT line{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&line));
    // Inside the item's edges, where a focus rectangle would be drawn.
    InflateRect(&line, -2, -1);
    const COLORREF background = GetPixel(memory, line.right - 1, line.top);
    for (int x = line.right - 1; x >= line.left; --x) {
      for (int y = line.top; y < line.bottom; ++y) {
        if (GetPixel(memory, x, y) != background) return x;
      }
    }
    return -1;
  };
  const int october = lastInkedColumn(0);
  const int december = lastInkedColumn(1);
  SelectObject(memory, previous);
  DeleteDC(memory);
  EXPECT_GT(october, 0);
  EXPECT_EQ(october, december);
}

// A new ListIndex moves the selection only: data the real list keeps with
// an item (a rebuild would lose it) is still there.
TEST_F(FormBinderWineTest, ListIndexDoesNotRebuildTheList) {
  struct Case {
    const char* name;
    int id;
    UINT setData, getData, getSelection, getCount;
    std::function<void(int)> select;
    std::function<void(const std::string&)> add;
  };
  const Case cases[] = {
      {"list box", IDC_BT_LBX, LB_SETITEMDATA, LB_GETITEMDATA, LB_GETCURSEL, LB_GETCOUNT,
       [this](int i) { form_.lbx.SetListIndex(i); }, [this](const std::string& s) { form_.lbx.AddItem(s); }},
      {"combo box", IDC_BT_CBO, CB_SETITEMDATA, CB_GETITEMDATA, CB_GETCURSEL, CB_GETCOUNT,
       [this](int i) { form_.cbo.SetListIndex(i); }, [this](const std::string& s) { form_.cbo.AddItem(s); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND list = Item(c.id);
    c.add(" September\t0 hrs   10 min");
    c.add(" August\t\t3 hrs   05 min");
    ASSERT_EQ(SendMessageA(list, c.getCount, 0, 0), 2);
    SendMessageA(list, c.setData, 0, 0x5eed);
    c.select(1);
    EXPECT_EQ(SendMessageA(list, c.getSelection, 0, 0), 1);
    c.select(-1);
    EXPECT_EQ(SendMessageA(list, c.getSelection, 0, 0), -1);
    c.add(" July\t\t1 hrs   00 min");  // appended, not rebuilt either
    EXPECT_EQ(SendMessageA(list, c.getCount, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, c.getData, 0, 0), 0x5eed);
  }
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"lbx_Click 1", "lbx_Click -1", "cbo_Click 1", "cbo_Click -1"}));

  // The user's selection reaches the model through LBN_SELCHANGE.
  SendMessageA(Item(IDC_BT_LBX), LB_SETCURSEL, 2, 0);
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_BT_LBX, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(IDC_BT_LBX)));
  EXPECT_EQ(form_.lbx.ListIndex(), 2);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"lbx_Click 2"}));
}

TEST_F(FormBinderWineTest, ListViewShowsColumnsAndRows) {
  HWND view = Item(IDC_BT_LV);
  char text[64] = {};
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = text;
  column.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(view, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_STREQ(text, "TOTAL ONLINE TIME");
  EXPECT_EQ(SendMessageA(view, LVM_GETCOLUMNWIDTH, 0, 0), Pixels(1200));

  const auto cell = [&](int row, int sub) {
    char buffer[64] = {};
    LVITEMA item{};
    item.iSubItem = sub;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(view, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return std::string(buffer);
  };
  form_.lv.AddRow({" August", "3 hrs   05 min"});
  form_.lv.InsertRow(0, {" September", "0 hrs   10 min"});
  ASSERT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(cell(0, 0), " September");
  EXPECT_EQ(cell(0, 1), "0 hrs   10 min");
  EXPECT_EQ(cell(1, 1), "3 hrs   05 min");
  form_.lv.Clear();
  EXPECT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(FormBinderWineTest, OptionButtonsFollowTheModel) {
  SendMessageA(Item(IDC_BT_OPTB), BM_CLICK, 0, 0);
  EXPECT_TRUE(form_.optB.Value());
  EXPECT_FALSE(form_.optA.Value());
  form_.optA.SetValue(true);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BT_OPTA), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BT_OPTB), BST_UNCHECKED);
  EXPECT_FALSE(form_.optB.Value());
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"optB_Click", "optA_Click"}));
}

TEST_F(FormBinderWineTest, PictureClickAndMouseMoveOverAControl) {
  Click(Item(IDC_BT_IMG), 4, 4);
  const float tpp = form_.TwipsPerPixel();
  SendMessageA(Item(IDC_BT_LBX), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 4));
  EXPECT_EQ(TakeLog(),
            (std::vector<std::string>{"img_Click", "lbx_MouseMove 1 1 " + std::to_string(static_cast<int>(10 * tpp)) +
                                                       "," + std::to_string(static_cast<int>(4 * tpp))}));
}

// Colours come through WM_CTLCOLOR*: a system colour by its index, a plain
// colour as it is; a control without colours keeps the dialog's own.
TEST_F(FormBinderWineTest, ColoursAndFonts) {
  form_.txt.SetBackColor(forms::kColorInactiveCaptionText);
  form_.lbl.SetForeColor(forms::Rgb(255, 0, 0));
  HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(dialog_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Item(IDC_BT_TXT))));
  EXPECT_EQ(brush, GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_INACTIVECAPTIONTEXT));
  SendMessageA(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Item(IDC_BT_LBL)));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageA(dialog_, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Item(IDC_BT_OPTA)));
  EXPECT_NE(GetTextColor(dc), RGB(255, 0, 0));
  DeleteDC(dc);

  form_.txt.SetFont({"Courier New", 10, true});
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Item(IDC_BT_TXT), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "Courier New");
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  form_.txt.SetFont({});
  EXPECT_EQ(SendMessageA(Item(IDC_BT_TXT), WM_GETFONT, 0, 0), SendMessageA(dialog_, WM_GETFONT, 0, 0));
}

// A frame on a tab strip's page shows the page under it, not the dialog's
// colour: drawn alone, its inside has the pixels the tab control draws
// there. A text box on the page keeps its own background.
TEST_F(FormBinderWineTest, ControlsOnAPageShowThePage) {
  RECT tab;
  GetClientRect(Item(IDC_BT_TBS), &tab);
  RECT frame;
  GetClientRect(Item(IDC_BT_FRA), &frame);
  POINT frameOrigin{0, 0};
  MapWindowPoints(Item(IDC_BT_FRA), Item(IDC_BT_TBS), &frameOrigin, 1);
  const POINT inside{frameOrigin.x + frame.right / 2, frameOrigin.y + frame.bottom / 2};

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, tab.right, tab.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  // Draws `item` alone, its origin at `origin` of a black bitmap the size of the tab strip.
  auto drawAlone = [&](HWND item, POINT origin) {
    SetViewportOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &tab, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    SendMessageA(item, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    return GetPixel(dc, inside.x, inside.y);
  };
  const COLORREF page = drawAlone(Item(IDC_BT_TBS), {0, 0});
  EXPECT_EQ(drawAlone(Item(IDC_BT_FRA), frameOrigin), page);

  const auto textBoxBrush = SendMessageA(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(Item(IDC_BT_TXT)));
  EXPECT_NE(textBoxBrush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(FormBinderWineTest, FormResizeReportsTheInnerSize) {
  RECT inner;
  GetClientRect(dialog_, &inner);
  EXPECT_NEAR(form_.ScaleWidth(), inner.right * form_.TwipsPerPixel(), 1.0);
  form_.Move(0, 0, 8400, 5400);
  loop_.DispatchWaiting();
  GetClientRect(dialog_, &inner);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"Form_Resize"}));
  EXPECT_NEAR(form_.ScaleHeight(), inner.bottom * form_.TwipsPerPixel(), 1.0);
}

}  // namespace
}  // namespace corvane::testing
