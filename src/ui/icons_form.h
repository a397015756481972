// frmIcons: the fourteen entry icons (resources 8 to 21); a click chooses
// one and closes the window.
#pragma once

#include <array>
#include <cstdint>

#include "forms/form.h"
#include "ui/options_ids.h"

namespace corvane {

class IconsForm : public forms::Form {
 public:
  IconsForm();

  // img1(1) to img1(14) are img1[0] to img1[13].
  std::array<forms::Image, 14> img1;

  // The icon number chosen by the last show, 0 when the window was closed
  // without a choice.
  uint8_t SelectedIcon = 0;

  void Form_Load() override;
  void img1_Click(int index);
};

}  // namespace corvane
