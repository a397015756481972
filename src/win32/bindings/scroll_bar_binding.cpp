// Vertical scroll bars (a SCROLLBAR control with SBS_VERT): range and value,
// Change when the user scrolls (WM_VSCROLL). The real bar's range runs from
// the smaller end to the larger; when the model's Min is the larger (Min at
// the top), positions are mirrored, so the top always shows Min.
#include "win32/bindings/kind_bindings.h"

#include <algorithm>

namespace corvane {

namespace {

// Line and page steps: the classic defaults (SmallChange = LargeChange = 1).
constexpr int kLineStep = 1;
constexpr int kPageStep = 1;

class VScrollBarBinding : public ControlBinding {
 public:
  VScrollBarBinding(forms::VScrollBar& bar, BindingHost& host) : ControlBinding(bar, host), bar_(bar) {}

  void PushAll() override { PushBar(); }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Range || property == forms::Prop::Value) PushBar();
  }
  void OnScroll(int code) override {
    int value = bar_.Value();
    switch (code) {
      case SB_LINEDOWN:
        value = bar_.Stepped(value, kLineStep);
        break;
      case SB_LINEUP:
        value = bar_.Stepped(value, -kLineStep);
        break;
      case SB_PAGEDOWN:
        value = bar_.Stepped(value, kPageStep);
        break;
      case SB_PAGEUP:
        value = bar_.Stepped(value, -kPageStep);
        break;
      case SB_TOP:
        value = bar_.Min();
        break;
      case SB_BOTTOM:
        value = bar_.Max();
        break;
      case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (HWND item = Item(); item != nullptr && GetScrollInfo(item, SB_CTL, &info)) value = Mirrored(info.nTrackPos);
        break;
      }
      default:  // SB_THUMBTRACK, SB_ENDSCROLL: Change comes with the thumb's release
        return;
    }
    bar_.OnUserValue(value);
    // The bar does not move itself, and the handler may have set another value.
    PushBar();
  }

 private:
  // Model value <-> position on the real bar (the same mapping both ways).
  int Mirrored(int value) const {
    return bar_.Min() <= bar_.Max() ? value : bar_.Min() + bar_.Max() - value;
  }

  void PushBar() {
    HWND item = Item();
    if (item == nullptr) return;
    BindingHost::PushScope push(Host());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    info.nMin = std::min(bar_.Min(), bar_.Max());
    info.nMax = std::max(bar_.Min(), bar_.Max());
    info.nPage = 0;
    info.nPos = Mirrored(bar_.Value());
    SetScrollInfo(item, SB_CTL, &info, TRUE);
  }

  forms::VScrollBar& bar_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindVScrollBar(forms::VScrollBar& bar, BindingHost& host) {
  return std::make_unique<VScrollBarBinding>(bar, host);
}

}  // namespace corvane
