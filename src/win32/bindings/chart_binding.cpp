// Charts: bars drawn with GDI into a static control the binding subclasses,
// in the system's colours (so high contrast shows them) and sized from the
// control's font and the window's DPI. Each bar's column is a tool of a
// tooltip of the binding's own, which shows the bar's tip while the pointer
// rests on it.
#include "win32/bindings/kind_bindings.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "win32/unique_handle.h"

namespace corvane {

namespace {

// A device context of a window, released when it goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A painting of a window between BeginPaint and EndPaint.
class Painting {
 public:
  explicit Painting(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~Painting() { EndPaint(window_, &paint_); }
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// An object selected into a device context for the scope: the one it
// replaced goes back at the end.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Where the parts of the chart lie in the control, pixels.
struct ChartLayout {
  RECT plot{};     // the bars' area; bars stand on its bottom
  int gutter = 0;  // the scale's labels, left of the plot
  int slot = 0;    // one bar's share of the plot's width
  int line = 1;    // the axis lines' width
  int textHeight = 0;

  RECT Column(int index) const {
    return {plot.left + index * slot, plot.top, plot.left + (index + 1) * slot, plot.bottom};
  }
};

class ChartBinding : public ControlBinding {
 public:
  ChartBinding(forms::Chart& chart, BindingHost& host) : ControlBinding(chart, host), chart_(chart) {}
  ~ChartBinding() override { Unhook(); }

  void PushAll() override {
    HWND item = Item();
    if (item == nullptr) return;
    // Owned by no window: the binding alone destroys it, so it is never
    // destroyed twice.
    tip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr,
                               nullptr));
    hooked_ = SetWindowSubclass(item, ChartProc, 0, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    Refresh();
  }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Bars) Refresh();
  }
  void OnDpiChanged() override { Refresh(); }
  void OnDestroy() override {
    Unhook();
    tip_.reset();
  }

 private:
  static LRESULT CALLBACK ChartProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                    DWORD_PTR self) {
    auto* binding = reinterpret_cast<ChartBinding*>(self);
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills every pixel
      case WM_PAINT:
        binding->Paint(item);
        return 0;
      case WM_SIZE:
        binding->PlaceTools(item);
        break;
      case WM_NCDESTROY:
        binding->Unhook();
        break;
      default:
        break;
    }
    return DefSubclassProc(item, message, wParam, lParam);
  }

  void Unhook() {
    if (!hooked_) return;
    hooked_ = false;
    if (HWND item = Item()) RemoveWindowSubclass(item, ChartProc, 0);
  }

  void Refresh() {
    HWND item = Item();
    if (item == nullptr) return;
    PlaceTools(item);
    InvalidateRect(item, nullptr, FALSE);
  }

  HFONT Font(HWND item) const {
    auto font = reinterpret_cast<HFONT>(SendMessageA(item, WM_GETFONT, 0, 0));
    return font != nullptr ? font : reinterpret_cast<HFONT>(SendMessageA(Host().Window(), WM_GETFONT, 0, 0));
  }

  // The scale's labels set the gutter, the font the room under the bars.
  ChartLayout Layout(HWND item, HDC dc) const {
    ChartLayout layout;
    RECT client{};
    GetClientRect(item, &client);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    layout.textHeight = static_cast<int>(metrics.tmHeight);
    layout.line = std::max(1, MulDiv(1, static_cast<int>(Host().Dpi()), 96));
    const int pad = std::max(2, static_cast<int>(metrics.tmAveCharWidth));
    const std::string& top = chart_.Contents().TopLabel;
    SIZE topSize{};
    GetTextExtentPoint32A(dc, top.c_str(), static_cast<int>(top.size()), &topSize);
    layout.gutter = topSize.cx + pad;
    layout.plot = {client.left + pad + layout.gutter, client.top + layout.textHeight / 2 + pad, client.right - pad,
                   client.bottom - pad - layout.textHeight};
    const int bars = static_cast<int>(chart_.Contents().Bars.size());
    const int width = std::max(0, static_cast<int>(layout.plot.right - layout.plot.left));
    layout.slot = bars > 0 ? width / bars : 0;
    layout.plot.right = layout.plot.left + layout.slot * bars;
    if (layout.plot.bottom < layout.plot.top) layout.plot.bottom = layout.plot.top;
    return layout;
  }

  // One tool per bar's column, so the tip is there over short bars too.
  void PlaceTools(HWND item) {
    if (!tip_) return;
    while (SendMessageA(tip_.get(), TTM_GETTOOLCOUNT, 0, 0) > 0) {
      TTTOOLINFOA tool{};
      tool.cbSize = sizeof(tool);
      if (SendMessageA(tip_.get(), TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)) == FALSE) break;
      SendMessageA(tip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    WindowDc dc(item);
    Selected font(dc.get(), Font(item));
    const ChartLayout layout = Layout(item, dc.get());
    const std::vector<forms::Chart::Bar>& bars = chart_.Contents().Bars;
    for (size_t index = 0; index < bars.size(); ++index) {
      TTTOOLINFOA tool{};
      tool.cbSize = sizeof(tool);
      tool.uFlags = TTF_SUBCLASS;
      tool.hwnd = item;
      tool.uId = index;
      tool.rect = layout.Column(static_cast<int>(index));
      tool.lpszText = const_cast<char*>(bars[index].Tip.c_str());
      SendMessageA(tip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }

  void Paint(HWND item) {
    Painting paint(item);
    HDC dc = paint.get();
    Selected font(dc, Font(item));
    RECT client{};
    GetClientRect(item, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const forms::Chart::Data& data = chart_.Contents();
    if (data.Bars.empty()) {
      std::string note = data.Note;
      DrawTextA(dc, note.c_str(), static_cast<int>(note.size()), &client,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
      return;
    }
    const ChartLayout layout = Layout(item, dc);
    const int height = layout.plot.bottom - layout.plot.top;
    const int gap = std::max(1, layout.slot / 5);
    int labelsEnd = layout.plot.left - layout.gutter;
    for (size_t index = 0; index < data.Bars.size(); ++index) {
      const forms::Chart::Bar& bar = data.Bars[index];
      const RECT column = layout.Column(static_cast<int>(index));
      // A day with any time at all shows at least a sliver.
      int barHeight = static_cast<int>(std::lround(std::clamp(bar.Fraction, 0.0, 1.0) * height));
      if (bar.Fraction > 0 && barHeight == 0) barHeight = 1;
      RECT shape{column.left + gap / 2, column.bottom - barHeight, column.right - (gap - gap / 2), column.bottom};
      if (shape.right <= shape.left) shape.right = shape.left + 1;
      FillRect(dc, &shape, GetSysColorBrush(COLOR_HIGHLIGHT));
      if (bar.Label.empty()) continue;
      SIZE size{};
      GetTextExtentPoint32A(dc, bar.Label.c_str(), static_cast<int>(bar.Label.size()), &size);
      const int left = (column.left + column.right - size.cx) / 2;
      if (left <= labelsEnd) continue;  // no room beside the last label
      TextOutA(dc, left, layout.plot.bottom + layout.line, bar.Label.c_str(), static_cast<int>(bar.Label.size()));
      labelsEnd = left + size.cx;
    }
    // The axes: the scale on the left, the days along the bottom.
    const RECT baseline{layout.plot.left, layout.plot.bottom, layout.plot.right, layout.plot.bottom + layout.line};
    const RECT scale{layout.plot.left - layout.line, layout.plot.top, layout.plot.left, layout.plot.bottom + layout.line};
    FillRect(dc, &baseline, GetSysColorBrush(COLOR_WINDOWTEXT));
    FillRect(dc, &scale, GetSysColorBrush(COLOR_WINDOWTEXT));
    RECT topLabel{client.left, layout.plot.top - layout.textHeight / 2, layout.plot.left - layout.line * 3,
                  layout.plot.top + layout.textHeight};
    DrawTextA(dc, data.TopLabel.c_str(), static_cast<int>(data.TopLabel.size()), &topLabel,
              DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    RECT zeroLabel{client.left, layout.plot.bottom - layout.textHeight / 2, layout.plot.left - layout.line * 3,
                   layout.plot.bottom + layout.textHeight};
    DrawTextA(dc, "0", 1, &zeroLabel, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  }

  forms::Chart& chart_;
  UniqueWindow tip_;
  bool hooked_ = false;
};

}  // namespace

std::unique_ptr<ControlBinding> BindChart(forms::Chart& chart, BindingHost& host) {
  return std::make_unique<ChartBinding>(chart, host);
}

}  // namespace corvane
