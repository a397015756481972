// frmHelp: caption, the help text in Courier New, and the resize rule.
#include "ui/help_form.h"

#include <algorithm>

#include "ui/bring_to_front.h"
#include "ui/help_text.h"

namespace corvane {

namespace {

constexpr int kWidth = 9600;
constexpr int kHeight = 7200;
constexpr int kMarginAcross = 80;
constexpr int kMarginDown = 415;

}  // namespace

HelpForm::HelpForm() : Form("frmHelp", IDD_HELP) {
  SetCaption("Options Help");
  Move(0, 0, kWidth, kHeight);
  txtHelp.SetFont({"Courier New", 9.0f, false});
  txtHelp.Move(40, 40, kWidth - 400, kHeight - 900);
  Register(txtHelp);
}

void HelpForm::Form_Load() {
  BringToFront(*this);
  // Filled once the box has the focus: a box focused with its text in it
  // shows the whole text selected and scrolled to its end.
  txtHelp.SetText(kOptionsHelpText);
}

void HelpForm::Form_Resize() {
  txtHelp.Move(txtHelp.Left(), txtHelp.Top(), std::max(0, ScaleWidth() - kMarginAcross),
               std::max(0, ScaleHeight() - kMarginDown));
}

}  // namespace corvane
