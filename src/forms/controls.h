// The typed controls a form model is made of. Setting a property as the
// program does raises the control's event synchronously, as the classic form
// runtimes did (a changed text raises Change, a changed check box Click); the
// binder reports what the user did through the OnUser* calls, which raise the
// same events without echoing the value back to the real control.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace corvane::forms {

using Event = std::function<void()>;

// Raises `event` when a handler is connected.
inline void Raise(const Event& event) {
  if (event) event();
}

class Label : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 private:
  std::string caption_;
};

class Frame : public Label {
 public:
  using Label::Label;
};

class CommandButton : public Label {
 public:
  using Label::Label;
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

class ComboBox : public Control {
 public:
  using Control::Control;
  const std::string& Text() const { return text_; }
  // Replaces the edit text; raises Change when it differs.
  void SetText(const std::string& text);

  void AddItem(const std::string& item);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int index) const { return items_.at(static_cast<size_t>(index)); }
  const std::vector<std::string>& Items() const { return items_; }

  // Zero-based selected item, -1 for none. Selecting an item puts it into
  // the text and raises Click.
  int ListIndex() const { return listIndex_; }
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
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

class CheckBox : public Label {
 public:
  using Label::Label;
  // 0 unchecked, 1 checked.
  int Value() const { return value_; }
  // Raises Click when the value changes.
  void SetValue(int value);
  void OnUserValue(int value);
  Event Click;

 private:
  int value_ = 0;
};

// A picture showing one icon resource of the program; 0 shows nothing.
class Image : public Control {
 public:
  using Control::Control;
  int Picture() const { return picture_; }
  void SetPicture(int iconNumber);

 private:
  int picture_ = 0;
};

// A periodic timer: raises Tick every Interval milliseconds while enabled.
class Timer : public Control {
 public:
  Timer(std::string name, int id, int intervalMs);
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
  void Add(MenuItem& child) { children_.push_back(&child); }
  const std::vector<MenuItem*>& Children() const { return children_; }
  void OnUserClick() { Raise(Click); }
  Event Click;

 private:
  std::vector<MenuItem*> children_;
};

}  // namespace corvane::forms
