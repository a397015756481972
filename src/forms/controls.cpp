// Typed controls: property setters and the events they raise.
#include "forms/controls.h"

#include <algorithm>
#include <utility>

#include "forms/form.h"

namespace corvane::forms {

void Label::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Notify(Prop::Text);
}

void CommandButton::SetPicture(int iconNumber) {
  if (picture_ == iconNumber) return;
  picture_ = iconNumber;
  Notify(Prop::Picture);
}

void TextBox::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Notify(Prop::Text);
  Raise(Change);
}

void TextBox::OnUserText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Raise(Change);
}

void ListControl::AddItem(std::string_view item) {
  items_.Add(item);
  Notify(Prop::ItemAdded);
}

void ListControl::SetItems(ItemList items) {
  items_ = std::move(items);
  listIndex_ = -1;
  Notify(Prop::Items);
}

void ListControl::Clear() {
  if (items_.Count() == 0 && listIndex_ == -1) return;
  items_.Clear();
  listIndex_ = -1;
  Notify(Prop::Items);
}

void ComboBox::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Notify(Prop::Text);
  Raise(Change);
}

void ComboBox::SetListIndex(int index) {
  if (index != -1 && !HasItem(index)) return;
  listIndex_ = index;
  Notify(Prop::ListIndex);
  if (index >= 0) {
    text_ = items_.At(index);
    Notify(Prop::Text);
  }
  Raise(Click);
}

void ComboBox::OnUserText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  listIndex_ = -1;
  Raise(Change);
}

void ComboBox::OnUserSelect(int index) {
  if (!HasItem(index)) return;
  listIndex_ = index;
  text_ = items_.At(index);
  Raise(Click);
}

void CheckBox::SetValue(int value) {
  if (value_ == value) return;
  value_ = value;
  Notify(Prop::Value);
  Raise(Click);
}

void CheckBox::OnUserValue(int value) {
  if (value_ == value) return;
  value_ = value;
  Raise(Click);
  Raise(UserClick);
}

void ListBox::SetListIndex(int index) {
  if (index != -1 && !HasItem(index)) return;
  listIndex_ = index;
  Notify(Prop::ListIndex);
  Raise(Click);
}

void ListBox::OnUserSelect(int index) {
  if ((index != -1 && !HasItem(index)) || index == listIndex_) return;
  listIndex_ = index;
  Raise(Click);
}

void OptionButton::SetValue(bool value) {
  if (value_ == value) return;
  value_ = value;
  Notify(Prop::Value);
  if (!value) return;
  ClearPartners();
  Raise(Click);
}

void OptionButton::OnUserClick() {
  if (value_) return;
  value_ = true;
  ClearPartners();
  Raise(Click);
}

void OptionButton::ClearPartners() {
  Form* form = OwnerForm();
  if (form == nullptr) return;
  for (Control* control : form->Controls()) {
    if (control == this || control->Kind() != ControlKind::OptionButton || control->Container() != Container()) {
      continue;
    }
    auto* partner = static_cast<OptionButton*>(control);
    if (!partner->value_) continue;
    partner->value_ = false;
    partner->Notify(Prop::Value);
  }
}

void Image::SetPicture(int iconNumber) {
  if (picture_ == iconNumber) return;
  picture_ = iconNumber;
  Notify(Prop::Picture);
}

Timer::Timer(std::string name, int id, int intervalMs) : Control(std::move(name), id), interval_(intervalMs) {
  SetEnabled(false);
}

void Timer::SetInterval(int milliseconds) {
  if (interval_ == milliseconds) return;
  interval_ = milliseconds;
  Notify(Prop::Timer);
}

void TabStrip::AddTab(const std::string& caption) {
  tabs_.push_back(caption);
  if (selected_ == 0) selected_ = 1;
  Notify(Prop::Tabs);
}

const std::string& TabStrip::TabCaption(int index) const {
  static const std::string kNoTab;
  return index >= 1 && index <= TabCount() ? tabs_[static_cast<size_t>(index - 1)] : kNoTab;
}

void TabStrip::SetTabCaption(int index, const std::string& caption) {
  if (index < 1 || index > TabCount() || tabs_[static_cast<size_t>(index - 1)] == caption) return;
  tabs_[static_cast<size_t>(index - 1)] = caption;
  Notify(Prop::Tabs);
}

void TabStrip::SetSelectedTab(int index) {
  if (index < 1 || index > TabCount()) return;
  selected_ = index;
  Notify(Prop::SelectedTab);
  Raise(Click);
}

void TabStrip::OnUserSelect(int index) {
  if (index < 1 || index > TabCount() || index == selected_) return;
  selected_ = index;
  Raise(Click);
}

void ListView::AddColumn(const std::string& header, int widthTwips) {
  columns_.push_back({header, widthTwips});
  Notify(Prop::Columns);
}

const std::string& ListView::ColumnHeader(int index) const {
  static const std::string kNoColumn;
  return index >= 0 && index < ColumnCount() ? columns_[static_cast<size_t>(index)].header : kNoColumn;
}

int ListView::ColumnWidth(int index) const {
  return index >= 0 && index < ColumnCount() ? columns_[static_cast<size_t>(index)].width : 0;
}

void ListView::AddRow(const Row& cells) {
  OwnRows();
  rows_.push_back(cells);
  Notify(Prop::ItemAdded);
}

void ListView::InsertRow(int index, const Row& cells) {
  if (index >= RowCount()) {
    AddRow(cells);
    return;
  }
  OwnRows();
  rows_.insert(rows_.begin() + std::max(index, 0), cells);
  Notify(Prop::Items);
}

void ListView::SetRows(std::vector<Row> rows) {
  source_ = nullptr;
  rows_ = std::move(rows);
  Notify(Prop::Items);
}

void ListView::SetRows(int count, RowSource cellsOf) {
  rows_.clear();
  source_ = std::move(cellsOf);
  sourcedCount_ = source_ ? std::max(count, 0) : 0;
  cachedRow_ = -1;
  Notify(Prop::Items);
}

void ListView::OwnRows() {
  if (!source_) return;
  rows_ = Rows();
  source_ = nullptr;
}

std::vector<ListView::Row> ListView::Rows() const {
  if (!source_) return rows_;
  std::vector<Row> rows;
  rows.reserve(static_cast<size_t>(sourcedCount_));
  for (int row = 0; row < sourcedCount_; ++row) rows.push_back(source_(row));
  return rows;
}

void ListView::OnUserColumnClick(int column) {
  if (ColumnClick && column >= 0 && column < ColumnCount()) ColumnClick(column);
}

void ListView::Clear() {
  if (RowCount() == 0) return;
  rows_.clear();
  source_ = nullptr;
  Notify(Prop::Items);
}

const std::string& ListView::Cell(int row, int column) const {
  static const std::string kEmpty;
  if (row < 0 || row >= RowCount() || column < 0) return kEmpty;
  if (source_ && row != cachedRow_) {
    cachedCells_ = source_(row);
    cachedRow_ = row;
  }
  const Row& cells = source_ ? cachedCells_ : rows_[static_cast<size_t>(row)];
  return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : kEmpty;
}

void VScrollBar::SetRange(int min, int max) {
  if (min_ == min && max_ == max) return;
  min_ = min;
  max_ = max;
  Notify(Prop::Range);
  SetValue(value_);
}

void VScrollBar::SetValue(int value) {
  value = Clamped(value);
  if (value_ == value) return;
  value_ = value;
  Notify(Prop::Value);
  Raise(Change);
}

void VScrollBar::OnUserValue(int value) {
  value = Clamped(value);
  if (value_ == value) return;
  value_ = value;
  Raise(Change);
}

int VScrollBar::Stepped(int value, int lines) const {
  return Clamped(max_ >= min_ ? value + lines : value - lines);
}

int VScrollBar::Clamped(int value) const {
  return std::clamp(value, std::min(min_, max_), std::max(min_, max_));
}

void Chart::SetContents(Data data) {
  data_ = std::move(data);
  Notify(Prop::Bars);
}

}  // namespace corvane::forms
