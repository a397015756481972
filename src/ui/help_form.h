// frmHelp: the options help text in a fixed-pitch box that fills the window.
#pragma once

#include "forms/form.h"
#include "ui/options_ids.h"

namespace corvane {

class HelpForm : public forms::Form {
 public:
  HelpForm();

  forms::TextBox txtHelp{"txtHelp", IDC_HELP_TXTHELP};

  // Brings the window to the top.
  void Form_Load() override;
  // The text box fills the window but for a margin of 80 twips across and
  // 415 down.
  void Form_Resize() override;
};

}  // namespace corvane
