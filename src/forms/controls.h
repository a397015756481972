// The typed controls a form model is made of. Setting a property as the
// program does raises the control's event synchronously, as the classic form
// runtimes did (a changed text raises Change, a changed check box Click); the
// binder reports what the user did through the OnUser* calls, which raise the
// same events without echoing the value back to the real control.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/item_list.h"

namespace corvane::forms {

class Label : public Control {
 public:
  using Control::Control;
  ControlKind Kind() const override { return ControlKind::Label; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 private:
  std::string caption_;
};

// A group box; controls naming it as their container move, hide and grey
// out with it.
class Frame : public Label {
 public:
  using Label::Label;
  ControlKind Kind() const override { return ControlKind::Frame; }
};

class CommandButton : public Label {
 public:
  using Label::Label;
  ControlKind Kind() const override { return ControlKind::CommandButton; }
  // Icon resource shown on the button instead of its caption; 0 for none.
  int Picture() const { return picture_; }
  void SetPicture(int iconNumber);
  // What a press of the button does: raises Click.
  void OnUserClick() { Raise(Click); }
  Event Click;

 private:
  int picture_ = 0;
};

class TextBox : public Control {
 public:
  using Control::Control;
  ControlKind Kind() const override { return ControlKind::TextBox; }
  const std::string& Text() const { return text_; }
  // Replaces the text; raises Change when it differs.
  void SetText(const std::string& text);
  // The user edited the text in the real control.
  void OnUserText(const std::string& text);
  // Puts the caret after the last character and scrolls it into view.
  void SetSelectionToEnd() { Notify(Prop::Selection); }
  Event Change;

 private:
  std::string text_;
};

// What a combo box and a list box share: their items and the selected one.
class ListControl : public Control {
 public:
  using Control::Control;

  void AddItem(std::string_view item);
  // Replaces every item at once: one change for the real control instead of
  // one per item. Nothing is selected afterwards.
  void SetItems(ItemList items);
  void Clear();
  int ListCount() const { return items_.Count(); }
  std::string_view List(int index) const { return items_.At(index); }
  const ItemList& Items() const { return items_; }
  // Zero-based selected item, -1 for none.
  int ListIndex() const { return listIndex_; }

 protected:
  bool HasItem(int index) const { return index >= 0 && index < ListCount(); }

  ItemList items_;
  int listIndex_ = -1;
};

class ComboBox : public ListControl {
 public:
  using ListControl::ListControl;
  ControlKind Kind() const override { return ControlKind::ComboBox; }
  const std::string& Text() const { return text_; }
  // Replaces the edit text; raises Change when it differs.
  void SetText(const std::string& text);
  // Puts the caret after the last character of the edit text.
  void SetSelectionToEnd() { Notify(Prop::Selection); }

  // Selecting an item puts it into the text and raises Click.
  void SetListIndex(int index);

  void OnUserText(const std::string& text);
  void OnUserSelect(int index);
  // The user opened the list; raised before it shows, so the handler can fill it.
  void OnUserDropDown() { Raise(DropDown); }

  Event Change;
  Event Click;
  Event DropDown;

 private:
  std::string text_;
};

// A plain list box (one column of texts; a tab character aligns a second
// column at the control's tab stops).
class ListBox : public ListControl {
 public:
  using ListControl::ListControl;
  ControlKind Kind() const override { return ControlKind::ListBox; }

  // Setting the selected item raises Click.
  void SetListIndex(int index);
  // The user selected item `index`: raises Click when the selection changed.
  void OnUserSelect(int index);
  Event Click;
};

class CheckBox : public Label {
 public:
  using Label::Label;
  ControlKind Kind() const override { return ControlKind::CheckBox; }
  // 0 unchecked, 1 checked.
  int Value() const { return value_; }
  // Raises Click when the value changes.
  void SetValue(int value);
  // The user set the value: Click, then UserClick.
  void OnUserValue(int value);
  // Click follows every change of the value, the program's included: the
  // window's own field rules listen there. UserClick follows only the
  // user's toggle: a handler that acts on the program beyond its window
  // (the running line, the ledger) listens there, so filling a window from
  // its load code never runs it.
  Event Click;
  Event UserClick;

 private:
  int value_ = 0;
};

// One of a group of choices: the option buttons with the same container
// (frame, tab strip or the form itself) form a group in which at most one
// is set. Setting one clears the others of its group.
class OptionButton : public Label {
 public:
  using Label::Label;
  ControlKind Kind() const override { return ControlKind::OptionButton; }
  bool Value() const { return value_; }
  // true selects this option, clears its partners and raises Click when it
  // was not selected; false clears it without an event.
  void SetValue(bool value);
  // The user selected this option: the same, without echoing it back.
  void OnUserClick();
  Event Click;

 private:
  void ClearPartners();
  bool value_ = false;
};

// A picture showing one icon resource of the program; 0 shows nothing.
class Image : public Control {
 public:
  using Control::Control;
  ControlKind Kind() const override { return ControlKind::Image; }
  int Picture() const { return picture_; }
  void SetPicture(int iconNumber);
  void OnUserClick() { Raise(Click); }
  Event Click;

 private:
  int picture_ = 0;
};

// A periodic timer: raises Tick every Interval milliseconds while enabled.
class Timer : public Control {
 public:
  Timer(std::string name, int id, int intervalMs);
  ControlKind Kind() const override { return ControlKind::Timer; }
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  void OnTick() { Raise(Tick); }
  Event Tick;

 private:
  int interval_;
};

// An item of a menu; an item with children is a (pop-up) menu of its own.
// The caption "-" makes a separator.
class MenuItem : public Label {
 public:
  using Label::Label;
  ControlKind Kind() const override { return ControlKind::MenuItem; }
  void Add(MenuItem& child) { children_.push_back(&child); }
  const std::vector<MenuItem*>& Children() const { return children_; }
  void OnUserClick() { Raise(Click); }
  Event Click;

 private:
  std::vector<MenuItem*> children_;
};

// A row of tabs; the pages are frames the Click handler moves or shows.
// Tabs count from 1, as the designs number them.
class TabStrip : public Control {
 public:
  using Control::Control;
  ControlKind Kind() const override { return ControlKind::TabStrip; }

  // Appends a tab; the first tab added is the selected one.
  void AddTab(const std::string& caption);
  int TabCount() const { return static_cast<int>(tabs_.size()); }
  // The caption of tab `index`; "" for a tab that does not exist.
  const std::string& TabCaption(int index) const;
  void SetTabCaption(int index, const std::string& caption);

  // Selected tab, 1 to TabCount; 0 while there are no tabs. Setting it
  // raises Click, also when that tab was selected already, so the handler
  // can lay out the pages.
  int SelectedTab() const { return selected_; }
  void SetSelectedTab(int index);
  // The user chose tab `index`: raises Click when the selection changed.
  void OnUserSelect(int index);
  Event Click;

 private:
  std::vector<std::string> tabs_;
  int selected_ = 0;
};

// A list view in report style: column headers over rows of cells (the
// first cell is the item's text, the others its sub-items).
class ListView : public Control {
 public:
  using Row = std::vector<std::string>;
  using Control::Control;
  ControlKind Kind() const override { return ControlKind::ListView; }

  void AddColumn(const std::string& header, int widthTwips);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // The header and width (twips) of the zero-based column `index`; "" and 0
  // for a column that does not exist.
  const std::string& ColumnHeader(int index) const;
  int ColumnWidth(int index) const;

  // Appends a row; cells beyond the columns are ignored, missing ones empty.
  void AddRow(const Row& cells);
  // Inserts a row before the zero-based `index` (0 puts it at the top).
  void InsertRow(int index, const Row& cells);
  // Replaces every row at once: the real control is filled once, not row by row.
  void SetRows(std::vector<Row> rows);
  // Replaces every row with `count` rows whose cells are made only when
  // asked for: row i's are cellsOf(i). A virtual list view asks only for the
  // rows it draws, so a long list costs what is seen of it. `cellsOf` must
  // hold until the rows are next replaced.
  using RowSource = std::function<Row(int row)>;
  void SetRows(int count, RowSource cellsOf);
  void Clear();
  int RowCount() const { return source_ ? sourcedCount_ : static_cast<int>(rows_.size()); }
  // Every row's cells (a row source makes them all).
  std::vector<Row> Rows() const;
  // The text of a cell, "" for a missing one.
  const std::string& Cell(int row, int column) const;

  // The user clicked the header of the zero-based column `column`:
  // ColumnClick is raised with it.
  void OnUserColumnClick(int column);
  std::function<void(int column)> ColumnClick;

 private:
  struct Column {
    std::string header;
    int width;
  };
  // Rows from a source become rows of their own before one is added.
  void OwnRows();

  std::vector<Column> columns_;
  std::vector<Row> rows_;
  RowSource source_;
  int sourcedCount_ = 0;
  // The source's last row asked for: its cells are asked for one by one.
  mutable int cachedRow_ = -1;
  mutable Row cachedCells_;
};

// A vertical scroll bar standing for a number between Min (top) and Max
// (bottom); Min may be the larger one. The down arrow steps toward Max.
class VScrollBar : public Control {
 public:
  using Control::Control;
  ControlKind Kind() const override { return ControlKind::VScrollBar; }

  int Min() const { return min_; }
  int Max() const { return max_; }
  // Sets both ends; a value outside them is brought inside (raising Change).
  void SetRange(int min, int max);
  int Value() const { return value_; }
  // Sets the value, brought inside the range; raises Change when it differs.
  void SetValue(int value);
  // The user scrolled to `value`: stored (brought inside the range) and
  // Change raised when it differs, not echoed back.
  void OnUserValue(int value);
  // One step from `value` toward Max (`lines` > 0) or Min (< 0), within the range.
  int Stepped(int value, int lines) const;
  Event Change;

 private:
  int Clamped(int value) const;
  int min_ = 0;
  int max_ = 32767;
  int value_ = 0;
};

// A bar chart drawn by the program: one bar per slot, each a fraction of the
// chart's height, with a label under it (empty for none) and the text shown
// when the pointer rests on it; the top of the scale is named by TopLabel.
// Without bars the chart shows Note instead.
class Chart : public Control {
 public:
  struct Bar {
    double Fraction = 0;  // 0..1 of the height; 1 is the tallest
    std::string Label;
    std::string Tip;
  };
  struct Data {
    std::vector<Bar> Bars;
    std::string TopLabel;
    std::string Note;
  };
  using Control::Control;
  ControlKind Kind() const override { return ControlKind::Chart; }

  const Data& Contents() const { return data_; }
  void SetContents(Data data);

 private:
  Data data_;
};

}  // namespace corvane::forms
