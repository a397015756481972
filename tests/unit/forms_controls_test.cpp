// The form model on its own: which events a property change raises, what it
// tells the observer (the binder), that a user's action is not echoed back,
// option groups, tab strips, list views, scroll bars, colours, fonts, mouse
// moves, Form_Resize, the unload life cycle with cancel or a throwing handler,
// and look-ups past the end of a list, a tab row or the columns.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "forms/form.h"

namespace corvane::testing {
namespace {

using forms::ControlKind;
using forms::Prop;

// Every kind of control once, two option groups (the form's and a frame's)
// and a frame nested in a tab strip; every event writes itself to `log`.
class SampleForm : public forms::Form {
 public:
  SampleForm() : Form("frmSample", 100) {
    tbs.AddTab("&General");
    tbs.AddTab("&Login");
    for (forms::Control* control : std::initializer_list<forms::Control*>{
             &lbl, &fra, &cmd, &txt, &cbo, &lbx, &chk, &optA, &optB, &optInFrame1, &optInFrame2, &img, &Timer1,
             &mnu, &tbs, &page, &txtInPage, &vsbInPage, &lv, &vsb}) {
      Register(*control);
    }
    cmd.Click = Log("cmd_Click");
    txt.Change = Log("txt_Change");
    cbo.Change = Log("cbo_Change");
    cbo.Click = Log("cbo_Click");
    cbo.DropDown = Log("cbo_DropDown");
    lbx.Click = Log("lbx_Click");
    chk.Click = Log("chk_Click");
    optA.Click = Log("optA_Click");
    optB.Click = Log("optB_Click");
    optInFrame1.Click = Log("optInFrame1_Click");
    optInFrame2.Click = Log("optInFrame2_Click");
    img.Click = Log("img_Click");
    Timer1.Tick = Log("Timer1_Timer");
    mnu.Click = Log("mnu_Click");
    tbs.Click = Log("tbs_Click");
    vsb.Change = Log("vsb_Change");
  }

  forms::Label lbl{"lbl", 1};
  forms::Frame fra{"fra", 2};
  forms::CommandButton cmd{"cmd", 3};
  forms::TextBox txt{"txt", 4};
  forms::ComboBox cbo{"cbo", 5};
  forms::ListBox lbx{"lbx", 6};
  forms::CheckBox chk{"chk", 7};
  forms::OptionButton optA{"optA", 8};
  forms::OptionButton optB{"optB", 9};
  forms::OptionButton optInFrame1{"optInFrame1", 10, &fra};
  forms::OptionButton optInFrame2{"optInFrame2", 11, &fra};
  forms::Image img{"img", 12};
  forms::Timer Timer1{"Timer1", 13, 500};
  forms::MenuItem mnu{"mnu", 14};
  forms::TabStrip tbs{"tbs", 15};
  forms::Frame page{"page", 16, &tbs};
  forms::TextBox txtInPage{"txtInPage", 17, &page};
  forms::VScrollBar vsbInPage{"vsbInPage", 18, &page};
  forms::ListView lv{"lv", 19};
  forms::VScrollBar vsb{"vsb", 20};

  void Form_Resize() override { log.push_back("Form_Resize"); }
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode) override {
    log.push_back("Form_QueryUnload " + std::to_string(unloadMode));
    if (cancelQuery) cancel = 1;
    if (throwInQuery) throw std::runtime_error("Form_QueryUnload failed");
    if (unloadAgainInQuery) log.push_back(Unload() ? "nested unload ran" : "nested unload refused");
  }
  void Form_Unload(int16_t& cancel) override {
    log.push_back("Form_Unload");
    if (cancelUnload) cancel = 1;
    if (throwInUnload) throw std::runtime_error("Form_Unload failed");
  }

  std::function<void()> Log(std::string line) {
    return [this, line] { log.push_back(line); };
  }

  std::vector<std::string> log;
  bool cancelQuery = false;
  bool cancelUnload = false;
  bool unloadAgainInQuery = false;
  bool throwInQuery = false;
  bool throwInUnload = false;
};

// Stands in for the binder: records what the model told it, by control name.
class Observer : public forms::FormObserver {
 public:
  void ControlChanged(forms::Control& control, Prop property) override {
    changes.emplace_back(control.Name(), property);
  }
  void FormChanged(forms::FormProp property) override { formChanges.push_back(property); }
  void PopupMenu(forms::MenuItem&) override {}
  void Call(forms::WindowCall) override {}

  std::vector<std::pair<std::string, Prop>> changes;
  std::vector<forms::FormProp> formChanges;
};

using Changes = std::vector<std::pair<std::string, Prop>>;
using Lines = std::vector<std::string>;

class FormsTest : public ::testing::Test {
 protected:
  FormsTest() { form.Attach(&observer); }

  // Forgets what construction and earlier steps logged.
  void Reset() {
    form.log.clear();
    observer.changes.clear();
    observer.formChanges.clear();
  }

  SampleForm form;
  Observer observer;
};

TEST_F(FormsTest, EveryControlHasItsKind) {
  const std::pair<forms::Control*, ControlKind> cases[] = {
      {&form.lbl, ControlKind::Label},          {&form.fra, ControlKind::Frame},
      {&form.cmd, ControlKind::CommandButton},  {&form.txt, ControlKind::TextBox},
      {&form.cbo, ControlKind::ComboBox},       {&form.lbx, ControlKind::ListBox},
      {&form.chk, ControlKind::CheckBox},       {&form.optA, ControlKind::OptionButton},
      {&form.img, ControlKind::Image},          {&form.Timer1, ControlKind::Timer},
      {&form.mnu, ControlKind::MenuItem},       {&form.tbs, ControlKind::TabStrip},
      {&form.lv, ControlKind::ListView},        {&form.vsb, ControlKind::VScrollBar},
  };
  for (const auto& [control, kind] : cases) {
    SCOPED_TRACE(control->Name());
    EXPECT_EQ(control->Kind(), kind);
  }
}

// A property set by the program raises the control's event and tells the
// binder what to push; setting the value it already has does neither.
TEST_F(FormsTest, PropertyChangesRaiseEventsAndNotify) {
  struct Case {
    const char* name;
    std::function<void(SampleForm&)> act;
    Lines events;
    Changes pushed;
  };
  const Case cases[] = {
      {"text box text", [](SampleForm& f) { f.txt.SetText("abc"); }, {"txt_Change"}, {{"txt", Prop::Text}}},
      {"same text again",
       [](SampleForm& f) {
         f.txt.SetText("abc");
         f.txt.SetText("abc");
       },
       {"txt_Change"},
       {{"txt", Prop::Text}}},
      {"combo text", [](SampleForm& f) { f.cbo.SetText("x"); }, {"cbo_Change"}, {{"cbo", Prop::Text}}},
      {"check box value", [](SampleForm& f) { f.chk.SetValue(1); }, {"chk_Click"}, {{"chk", Prop::Value}}},
      {"check box same value", [](SampleForm& f) { f.chk.SetValue(0); }, {}, {}},
      {"label caption", [](SampleForm& f) { f.lbl.SetCaption("Speed:"); }, {}, {{"lbl", Prop::Text}}},
      {"picture", [](SampleForm& f) { f.img.SetPicture(8); }, {}, {{"img", Prop::Picture}}},
      {"scroll bar value", [](SampleForm& f) { f.vsb.SetValue(5); }, {"vsb_Change"}, {{"vsb", Prop::Value}}},
      {"scroll bar same value", [](SampleForm& f) { f.vsb.SetValue(0); }, {}, {}},
      {"selected tab", [](SampleForm& f) { f.tbs.SetSelectedTab(2); }, {"tbs_Click"}, {{"tbs", Prop::SelectedTab}}},
      {"tab caption", [](SampleForm& f) { f.tbs.SetTabCaption(2, "CustE&ntry"); }, {}, {{"tbs", Prop::Tabs}}},
      {"option button", [](SampleForm& f) { f.optA.SetValue(true); }, {"optA_Click"}, {{"optA", Prop::Value}}},
      {"option button cleared", [](SampleForm& f) { f.optA.SetValue(false); }, {}, {}},
      {"visible", [](SampleForm& f) { f.fra.SetVisible(false); }, {}, {{"fra", Prop::Visible}}},
      {"enabled", [](SampleForm& f) { f.cmd.SetEnabled(false); }, {}, {{"cmd", Prop::Enabled}}},
      {"bounds", [](SampleForm& f) { f.page.SetLeft(-20000); }, {}, {{"page", Prop::Bounds}}},
      {"same bounds", [](SampleForm& f) { f.page.Move(0, 0, 0, 0); }, {}, {}},
      {"fore colour", [](SampleForm& f) { f.lbl.SetForeColor(255); }, {}, {{"lbl", Prop::ForeColor}}},
      {"back colour",
       [](SampleForm& f) { f.txt.SetBackColor(forms::kColorInactiveCaptionText); },
       {},
       {{"txt", Prop::BackColor}}},
      {"font", [](SampleForm& f) { f.txt.SetFont({"Courier New", 10, false}); }, {}, {{"txt", Prop::Font}}},
      {"same font", [](SampleForm& f) { f.txt.SetFont({}); }, {}, {}},
      {"tooltip", [](SampleForm& f) { f.img.SetToolTipText("Click"); }, {}, {{"img", Prop::ToolTip}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleForm fresh;
    Observer seen;
    fresh.Attach(&seen);
    fresh.log.clear();
    c.act(fresh);
    EXPECT_EQ(fresh.log, c.events);
    EXPECT_EQ(seen.changes, c.pushed);
  }
}

// What the user did raises the same events but tells the binder nothing:
// the real control shows it already.
TEST_F(FormsTest, UserActionsRaiseEventsWithoutEcho) {
  form.cbo.AddItem("one");
  form.cbo.AddItem("two");
  form.lbx.AddItem("May");
  form.lbx.AddItem("June");
  struct Case {
    const char* name;
    std::function<void(SampleForm&)> act;
    Lines events;
  };
  const Case cases[] = {
      {"typed text", [](SampleForm& f) { f.txt.OnUserText("typed"); }, {"txt_Change"}},
      {"typed combo text", [](SampleForm& f) { f.cbo.OnUserText("typed"); }, {"cbo_Change"}},
      {"combo item chosen", [](SampleForm& f) { f.cbo.OnUserSelect(1); }, {"cbo_Click"}},
      {"combo opened", [](SampleForm& f) { f.cbo.OnUserDropDown(); }, {"cbo_DropDown"}},
      {"list box item chosen", [](SampleForm& f) { f.lbx.OnUserSelect(1); }, {"lbx_Click"}},
      {"check box ticked", [](SampleForm& f) { f.chk.OnUserValue(1); }, {"chk_Click"}},
      {"button pressed", [](SampleForm& f) { f.cmd.OnUserClick(); }, {"cmd_Click"}},
      {"option chosen", [](SampleForm& f) { f.optB.OnUserClick(); }, {"optB_Click"}},
      {"picture clicked", [](SampleForm& f) { f.img.OnUserClick(); }, {"img_Click"}},
      {"tab chosen", [](SampleForm& f) { f.tbs.OnUserSelect(2); }, {"tbs_Click"}},
      {"scrolled", [](SampleForm& f) { f.vsb.OnUserValue(3); }, {"vsb_Change"}},
      {"menu item", [](SampleForm& f) { f.mnu.OnUserClick(); }, {"mnu_Click"}},
      {"timer tick", [](SampleForm& f) { f.Timer1.OnTick(); }, {"Timer1_Timer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    c.act(form);
    EXPECT_EQ(form.log, c.events);
    EXPECT_TRUE(observer.changes.empty());
  }
  EXPECT_EQ(form.txt.Text(), "typed");
  EXPECT_EQ(form.cbo.ListIndex(), 1);
  EXPECT_EQ(form.cbo.Text(), "two");
  EXPECT_EQ(form.lbx.ListIndex(), 1);
  EXPECT_EQ(form.chk.Value(), 1);
  EXPECT_TRUE(form.optB.Value());
  EXPECT_EQ(form.tbs.SelectedTab(), 2);
  EXPECT_EQ(form.vsb.Value(), 3);
}

TEST_F(FormsTest, UserActionThatChangesNothingRaisesNothing) {
  form.txt.SetText("same");
  form.chk.SetValue(1);
  form.optA.SetValue(true);
  Reset();
  form.txt.OnUserText("same");
  form.chk.OnUserValue(1);
  form.optA.OnUserClick();
  form.tbs.OnUserSelect(1);
  form.tbs.OnUserSelect(3);  // no such tab
  form.vsb.OnUserValue(0);
  form.lbx.OnUserSelect(0);  // empty list
  EXPECT_TRUE(form.log.empty());
  EXPECT_TRUE(observer.changes.empty());
}

// Setting ListIndex raises Click, also for the item already selected, and
// tells the binder only the selection (and the combo's text), not the list.
TEST_F(FormsTest, SetListIndexFiresClick) {
  form.cbo.AddItem("one");
  form.cbo.AddItem("two");
  form.lbx.AddItem("May");
  form.lbx.AddItem("June");
  Reset();

  form.cbo.SetListIndex(1);
  form.cbo.SetListIndex(1);
  form.lbx.SetListIndex(0);
  form.lbx.SetListIndex(0);
  form.lbx.SetListIndex(-1);
  EXPECT_EQ(form.log, (Lines{"cbo_Click", "cbo_Click", "lbx_Click", "lbx_Click", "lbx_Click"}));
  EXPECT_EQ(form.cbo.Text(), "two");
  EXPECT_EQ(form.lbx.ListIndex(), -1);
  for (const auto& [name, property] : observer.changes) {
    EXPECT_TRUE(property == Prop::ListIndex || property == Prop::Text) << name;
  }

  Reset();
  form.cbo.SetListIndex(2);  // beyond the list: ignored
  form.lbx.SetListIndex(-2);
  EXPECT_TRUE(form.log.empty());
  EXPECT_EQ(form.cbo.ListIndex(), 1);
}

TEST_F(FormsTest, ListsTellWhetherAnItemWasAppendedOrTheListChanged) {
  Reset();
  form.lbx.AddItem(" May\t\t0 hrs   00 min");
  form.lbx.SetListIndex(0);
  form.lbx.Clear();
  form.lbx.Clear();  // already empty
  EXPECT_EQ(observer.changes, (Changes{{"lbx", Prop::ItemAdded}, {"lbx", Prop::ListIndex}, {"lbx", Prop::Items}}));
  EXPECT_EQ(form.lbx.ListCount(), 0);
  EXPECT_EQ(form.lbx.ListIndex(), -1);
}

TEST_F(FormsTest, SetItemsReplacesTheWholeListAtOnce) {
  form.cbo.AddItem("stale");
  form.cbo.SetListIndex(0);
  forms::ItemList items;
  // Empty items, a tab and a long text keep their places and their lengths.
  const Lines texts{"Title,Phone", "", "Yuma,520 3290098", "\t", std::string(300, 'x'), ""};
  items.Reserve(texts.size(), 0);
  for (const std::string& text : texts) items.Add(text);
  Reset();

  form.cbo.SetItems(items);
  EXPECT_EQ(observer.changes, (Changes{{"cbo", Prop::Items}}));
  EXPECT_TRUE(form.log.empty());
  EXPECT_EQ(form.cbo.Items().Texts(), texts);
  EXPECT_EQ(form.cbo.ListCount(), 6);
  EXPECT_EQ(form.cbo.List(2), "Yuma,520 3290098");
  EXPECT_EQ(form.cbo.List(1), "");
  // Each text ends where the real control reads it.
  EXPECT_EQ(form.cbo.List(2).data()[form.cbo.List(2).size()], '\0');
  EXPECT_EQ(form.cbo.ListIndex(), -1);
  EXPECT_EQ(form.cbo.Text(), "stale");
  // A look-up past either end is an empty text, still NUL-terminated.
  for (int missing : {6, -1}) {
    EXPECT_EQ(form.cbo.List(missing), "");
    EXPECT_EQ(form.cbo.List(missing).data()[0], '\0');
  }

  form.cbo.AddItem("appended");
  EXPECT_EQ(form.cbo.List(6), "appended");
  EXPECT_EQ(form.cbo.List(5), "");
}

TEST_F(FormsTest, ListViewColumnsAndRows) {
  form.lv.AddColumn("MONTH", 1800);
  form.lv.AddColumn("TOTAL ONLINE TIME", 2400);
  Reset();

  form.lv.AddRow({" August", "3 hrs   05 min"});
  form.lv.AddRow({" July"});
  form.lv.InsertRow(0, {" September", "0 hrs   10 min", "ignored"});
  form.lv.InsertRow(9, {" June", "1 hrs   00 min"});  // past the end: appended
  EXPECT_EQ(observer.changes, (Changes{{"lv", Prop::ItemAdded},
                                       {"lv", Prop::ItemAdded},
                                       {"lv", Prop::Items},
                                       {"lv", Prop::ItemAdded}}));
  EXPECT_EQ(form.lv.ColumnCount(), 2);
  EXPECT_EQ(form.lv.ColumnHeader(1), "TOTAL ONLINE TIME");
  EXPECT_EQ(form.lv.ColumnWidth(0), 1800);
  for (int missing : {2, -1}) {
    EXPECT_EQ(form.lv.ColumnHeader(missing), "");
    EXPECT_EQ(form.lv.ColumnWidth(missing), 0);
  }
  ASSERT_EQ(form.lv.RowCount(), 4);
  EXPECT_EQ(form.lv.Cell(0, 0), " September");
  EXPECT_EQ(form.lv.Cell(1, 1), "3 hrs   05 min");
  EXPECT_EQ(form.lv.Cell(2, 1), "");  // a missing cell
  EXPECT_EQ(form.lv.Cell(3, 0), " June");
  EXPECT_EQ(form.lv.Cell(7, 0), "");

  Reset();
  form.lv.Clear();
  form.lv.Clear();
  EXPECT_EQ(observer.changes, (Changes{{"lv", Prop::Items}}));
  EXPECT_EQ(form.lv.RowCount(), 0);
  EXPECT_EQ(form.lv.ColumnCount(), 2);  // columns stay
}

// Rows from a source are made as their cells are asked for, one row at a
// time; adding a row keeps them.
TEST_F(FormsTest, ListViewRowSourceMakesOnlyTheRowsAskedFor) {
  form.lv.AddColumn("A", 1000);
  form.lv.AddColumn("B", 1000);
  std::vector<int> made;
  const auto source = [&made](int row) {
    made.push_back(row);
    return forms::ListView::Row{"a" + std::to_string(row), "b" + std::to_string(row)};
  };
  Reset();
  form.lv.SetRows(100000, source);
  EXPECT_EQ(observer.changes, (Changes{{"lv", Prop::Items}}));
  EXPECT_EQ(form.lv.RowCount(), 100000);
  EXPECT_TRUE(made.empty());
  EXPECT_EQ(form.lv.Cell(99999, 0), "a99999");
  EXPECT_EQ(form.lv.Cell(99999, 1), "b99999");
  EXPECT_EQ(form.lv.Cell(99999, 2), "");
  EXPECT_EQ(form.lv.Cell(7, 1), "b7");
  EXPECT_EQ(form.lv.Cell(100000, 0), "");
  EXPECT_EQ(made, (std::vector<int>{99999, 7}));

  // A new source's row 7, not the one made before.
  form.lv.SetRows(8, [](int row) { return forms::ListView::Row{"n" + std::to_string(row)}; });
  EXPECT_EQ(form.lv.Cell(7, 0), "n7");
  form.lv.SetRows(2, source);
  form.lv.AddRow({"c"});
  EXPECT_EQ(form.lv.Rows(), (std::vector<forms::ListView::Row>{{"a0", "b0"}, {"a1", "b1"}, {"c"}}));
  made.clear();
  form.lv.Clear();
  EXPECT_EQ(form.lv.RowCount(), 0);
  EXPECT_TRUE(made.empty());
}

// Setting an option clears the others of its container, without raising
// their Click; another container's group is left alone.
TEST_F(FormsTest, OptionButtonsClearTheirPartner) {
  form.optInFrame1.SetValue(true);
  form.optA.SetValue(true);
  Reset();

  form.optB.SetValue(true);
  EXPECT_TRUE(form.optB.Value());
  EXPECT_FALSE(form.optA.Value());
  EXPECT_TRUE(form.optInFrame1.Value());
  EXPECT_EQ(form.log, (Lines{"optB_Click"}));
  EXPECT_EQ(observer.changes, (Changes{{"optB", Prop::Value}, {"optA", Prop::Value}}));

  Reset();
  form.optInFrame2.OnUserClick();
  EXPECT_FALSE(form.optInFrame1.Value());
  EXPECT_TRUE(form.optB.Value());
  EXPECT_EQ(form.log, (Lines{"optInFrame2_Click"}));
  // The clicked one shows it already; its cleared partner must be told.
  EXPECT_EQ(observer.changes, (Changes{{"optInFrame1", Prop::Value}}));

  // Both may be clear, as the options window's "other values" leave them.
  form.optB.SetValue(false);
  EXPECT_FALSE(form.optA.Value());
  EXPECT_FALSE(form.optB.Value());
}

TEST_F(FormsTest, TabStripSelection) {
  forms::TabStrip empty{"empty", 99};
  EXPECT_EQ(empty.SelectedTab(), 0);
  empty.SetSelectedTab(1);  // no tabs: nothing
  EXPECT_EQ(empty.SelectedTab(), 0);

  EXPECT_EQ(form.tbs.TabCount(), 2);
  EXPECT_EQ(form.tbs.SelectedTab(), 1);  // the first tab added
  EXPECT_EQ(form.tbs.TabCaption(2), "&Login");
  EXPECT_EQ(form.tbs.TabCaption(0), "");
  EXPECT_EQ(form.tbs.TabCaption(3), "");
  Reset();
  // Selecting the selected tab still raises Click: Form_Load lays out the
  // pages that way.
  form.tbs.SetSelectedTab(1);
  form.tbs.SetSelectedTab(0);
  form.tbs.SetSelectedTab(3);
  EXPECT_EQ(form.log, (Lines{"tbs_Click"}));
  form.tbs.AddTab("A&bout");
  form.tbs.SetTabCaption(3, "A&bout");  // unchanged
  form.tbs.SetTabCaption(4, "none");
  EXPECT_EQ(observer.changes, (Changes{{"tbs", Prop::SelectedTab}, {"tbs", Prop::Tabs}}));
}

TEST_F(FormsTest, ScrollBarRangeAndSteps) {
  struct Case {
    int min, max;
    int from, lines;
    int expected;
  };
  const Case cases[] = {
      {-1, 60, 59, 1, 60},    // toward Max: the wrap marker is reachable
      {-1, 60, 60, 1, 60},    // stays at Max
      {-1, 60, 0, -1, -1},    // toward Min
      {-1, 60, -1, -1, -1},   // stays at Min
      {100, 0, 50, 1, 49},    // Min above Max: down still steps toward Max
      {100, 0, 0, 1, 0},      //
      {100, 0, 100, -1, 100}, //
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.min) + ".." + std::to_string(c.max) + " from " + std::to_string(c.from));
    forms::VScrollBar bar{"bar", 1};
    bar.SetRange(c.min, c.max);
    EXPECT_EQ(bar.Stepped(c.from, c.lines), c.expected);
  }

  Reset();
  form.vsb.SetRange(-1, 1000);
  form.vsb.SetValue(2000);
  EXPECT_EQ(form.vsb.Value(), 1000);
  form.vsb.SetRange(0, 100);  // the value is brought inside: Change
  EXPECT_EQ(form.vsb.Value(), 100);
  form.vsb.SetValue(-5);
  EXPECT_EQ(form.vsb.Value(), 0);
  EXPECT_EQ(form.log, (Lines{"vsb_Change", "vsb_Change", "vsb_Change"}));
  EXPECT_EQ(observer.changes, (Changes{{"vsb", Prop::Range},
                                       {"vsb", Prop::Value},
                                       {"vsb", Prop::Range},
                                       {"vsb", Prop::Value},
                                       {"vsb", Prop::Value}}));
}

// The options window's wrap rule: the Change handler sets the value again
// from inside Change; the nested Change runs and the outer one sees the
// wrapped value.
TEST_F(FormsTest, ScrollBarChangeMaySetTheValueAgain) {
  form.vsb.SetRange(-1, 60);
  form.vsb.SetValue(59);
  std::vector<int> written;
  form.vsb.Change = [&] {
    if (form.vsb.Value() == 60) form.vsb.SetValue(0);
    if (form.vsb.Value() == -1) form.vsb.SetValue(59);
    written.push_back(form.vsb.Value());
  };
  Reset();
  form.vsb.OnUserValue(form.vsb.Stepped(form.vsb.Value(), 1));
  EXPECT_EQ(form.vsb.Value(), 0);
  EXPECT_EQ(written, (std::vector<int>{0, 0}));
  // The user's 60 is not pushed; the handler's 0 is.
  EXPECT_EQ(observer.changes, (Changes{{"vsb", Prop::Value}}));
}

TEST_F(FormsTest, MouseMovePerControl) {
  std::vector<std::string> seen;
  form.lbx.MouseMove = [&](int16_t button, int16_t shift, float x, float y) {
    seen.push_back(std::to_string(button) + " " + std::to_string(shift) + " " + std::to_string(static_cast<int>(x)) +
                   "," + std::to_string(static_cast<int>(y)));
  };
  form.lbx.OnUserMouseMove(1, 2, 150.0f, 30.0f);
  form.txt.OnUserMouseMove(0, 0, 1.0f, 1.0f);  // no handler: nothing
  EXPECT_EQ(seen, (Lines{"1 2 150,30"}));
}

TEST(FormsColors, ClassicValues) {
  EXPECT_EQ(forms::Rgb(255, 0, 0), 255u);  // "pure red (colour value 255)"
  EXPECT_EQ(forms::Rgb(0, 0, 255), 0xFF0000u);
  EXPECT_EQ(forms::SystemColor(15), 0x8000000Fu);  // &H8000000F, the button face
  EXPECT_EQ(forms::kColorInactiveCaptionText, 0x80000013u);
  EXPECT_EQ(forms::kColorMenu, 0x80000004u);
  EXPECT_EQ(forms::kColorWindow, 0x80000005u);
  EXPECT_TRUE(forms::IsSystemColor(0x8000000Fu));
  EXPECT_EQ(forms::SystemColorIndex(0x8000000Fu), 15);
  EXPECT_FALSE(forms::IsSystemColor(255));
  EXPECT_FALSE(forms::IsSystemColor(forms::kDefaultColor));
}

TEST_F(FormsTest, ColoursAndFontStartAsTheTemplatesOwn) {
  EXPECT_EQ(form.txt.ForeColor(), forms::kDefaultColor);
  EXPECT_EQ(form.txt.BackColor(), forms::kDefaultColor);
  EXPECT_TRUE(form.txt.Font().name.empty());
  form.txt.SetFont({"Courier New", 9, true});
  EXPECT_EQ(form.txt.Font().name, "Courier New");
  EXPECT_EQ(form.txt.Font().size, 9.0f);
  EXPECT_TRUE(form.txt.Font().bold);
}

TEST_F(FormsTest, ContainersNest) {
  EXPECT_TRUE(form.txtInPage.IsInside(form.page));
  EXPECT_TRUE(form.txtInPage.IsInside(form.tbs));
  EXPECT_FALSE(form.txtInPage.IsInside(form.fra));
  EXPECT_FALSE(form.page.IsInside(form.page));
  EXPECT_FALSE(form.tbs.IsInside(form.page));
}

TEST_F(FormsTest, ResizeStoresTheInnerSizeAndRunsFormResize) {
  EXPECT_EQ(form.ScaleWidth(), 0);
  form.OnResized(4800, 3600);
  form.OnResized(4800, 3600);  // raised each time the window reports it
  EXPECT_EQ(form.ScaleWidth(), 4800);
  EXPECT_EQ(form.ScaleHeight(), 3600);
  EXPECT_EQ(form.log, (Lines{"Form_Resize", "Form_Resize"}));
}

TEST_F(FormsTest, UnloadWithCancel) {
  struct Case {
    const char* name;
    bool cancelQuery;
    bool cancelUnload;
    int16_t mode;
    bool unloaded;
    Lines events;
  };
  const Case cases[] = {
      {"no cancel", false, false, forms::kUnloadFormCode, true, {"Form_QueryUnload 1", "Form_Unload"}},
      {"close box", false, false, forms::kUnloadControlMenu, true, {"Form_QueryUnload 0", "Form_Unload"}},
      {"QueryUnload cancels", true, false, forms::kUnloadControlMenu, false, {"Form_QueryUnload 0"}},
      {"Unload cancels", false, true, forms::kUnloadAppWindows, false, {"Form_QueryUnload 2", "Form_Unload"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleForm fresh;
    Observer seen;
    fresh.Attach(&seen);
    fresh.Show();
    fresh.log.clear();
    fresh.cancelQuery = c.cancelQuery;
    fresh.cancelUnload = c.cancelUnload;
    EXPECT_EQ(fresh.Unload(c.mode), c.unloaded);
    EXPECT_EQ(fresh.log, c.events);
    EXPECT_EQ(fresh.Loaded(), !c.unloaded);
    EXPECT_EQ(fresh.Visible(), !c.unloaded);
    EXPECT_EQ(seen.formChanges.back() == forms::FormProp::Loaded, c.unloaded);
  }
}

TEST_F(FormsTest, UnloadInsideUnloadAndOfAFormNotLoaded) {
  EXPECT_FALSE(form.Unload());  // never loaded
  EXPECT_TRUE(form.log.empty());
  form.Show();
  form.unloadAgainInQuery = true;
  EXPECT_TRUE(form.Unload());
  EXPECT_EQ(form.log, (Lines{"Form_QueryUnload 1", "nested unload refused", "Form_Unload"}));
  EXPECT_FALSE(form.Loaded());
}

// A handler that throws leaves the form loaded, and closable: the next
// Unload runs the handlers again instead of being refused as nested.
TEST_F(FormsTest, UnloadAfterAHandlerThrew) {
  struct Case {
    const char* name;
    bool throwInQuery;
    Lines events;
  };
  const Case cases[] = {
      {"Form_QueryUnload", true, {"Form_QueryUnload 1"}},
      {"Form_Unload", false, {"Form_QueryUnload 1", "Form_Unload"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleForm fresh;
    fresh.Show();
    fresh.log.clear();
    fresh.throwInQuery = c.throwInQuery;
    fresh.throwInUnload = !c.throwInQuery;
    EXPECT_THROW(fresh.Unload(), std::runtime_error);
    EXPECT_EQ(fresh.log, c.events);
    EXPECT_TRUE(fresh.Loaded());

    fresh.throwInQuery = fresh.throwInUnload = false;
    EXPECT_TRUE(fresh.Unload());
    EXPECT_FALSE(fresh.Loaded());
  }
}

}  // namespace
}  // namespace corvane::testing
