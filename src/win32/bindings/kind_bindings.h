// The factories of the bindings, one per kind, each in its own file; only
// MakeBinding (control_binding.cpp) calls them.
#pragma once

#include <memory>

#include "win32/bindings/control_binding.h"

namespace corvane {

std::unique_ptr<ControlBinding> BindLabel(forms::Label& label, BindingHost& host);
std::unique_ptr<ControlBinding> BindFrame(forms::Frame& frame, BindingHost& host);
std::unique_ptr<ControlBinding> BindCommandButton(forms::CommandButton& button, BindingHost& host);
std::unique_ptr<ControlBinding> BindTextBox(forms::TextBox& box, BindingHost& host);
std::unique_ptr<ControlBinding> BindComboBox(forms::ComboBox& combo, BindingHost& host);
std::unique_ptr<ControlBinding> BindListBox(forms::ListBox& list, BindingHost& host);
std::unique_ptr<ControlBinding> BindCheckBox(forms::CheckBox& check, BindingHost& host);
std::unique_ptr<ControlBinding> BindOptionButton(forms::OptionButton& option, BindingHost& host);
std::unique_ptr<ControlBinding> BindImage(forms::Image& image, BindingHost& host);
std::unique_ptr<ControlBinding> BindTimer(forms::Timer& timer, BindingHost& host);
std::unique_ptr<ControlBinding> BindMenuItem(forms::MenuItem& item, BindingHost& host);
std::unique_ptr<ControlBinding> BindTabStrip(forms::TabStrip& tabs, BindingHost& host);
std::unique_ptr<ControlBinding> BindListView(forms::ListView& view, BindingHost& host);
std::unique_ptr<ControlBinding> BindVScrollBar(forms::VScrollBar& bar, BindingHost& host);
std::unique_ptr<ControlBinding> BindChart(forms::Chart& chart, BindingHost& host);

}  // namespace corvane
