// Typed controls: property setters and the events they raise.
#include "forms/controls.h"

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

void ComboBox::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Notify(Prop::Text);
  Raise(Change);
}

void ComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  Notify(Prop::ItemAdded);
}

void ComboBox::Clear() {
  if (items_.empty() && listIndex_ == -1) return;
  items_.clear();
  listIndex_ = -1;
  Notify(Prop::Items);
}

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return;
  listIndex_ = index;
  Notify(Prop::ListIndex);
  if (index >= 0) {
    text_ = items_[static_cast<size_t>(index)];
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
  if (index < 0 || index >= ListCount()) return;
  listIndex_ = index;
  text_ = items_[static_cast<size_t>(index)];
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

}  // namespace corvane::forms
