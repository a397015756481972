// frmIcons: two rows of seven icons.
#include "ui/icons_form.h"

#include <string>
#include <utility>

namespace corvane {

namespace {

constexpr int kFirstIcon = 8;  // img1(i) shows icon resource i + 7
constexpr int kPerRow = 7;
constexpr int kCell = 720;     // twips per icon, the 32-pixel picture and a margin
constexpr int kPicture = 480;
constexpr int kMargin = 120;

template <size_t... I>
std::array<forms::Image, sizeof...(I)> MakeImages(std::index_sequence<I...>) {
  return {{forms::Image{"img1(" + std::to_string(I + 1) + ")", static_cast<int>(IDC_ICONS_IMG1 + I + 1)}...}};
}

}  // namespace

IconsForm::IconsForm() : Form("frmIcons", IDD_ICONS), img1(MakeImages(std::make_index_sequence<14>())) {
  SetCaption("Click On Icon To Select");
  // Outer size: seven cells across and two down, the margins, and the frame
  // and caption of a tool window.
  Move(0, 0, kPerRow * kCell + 2 * kMargin + 120, 2 * kCell + 2 * kMargin + 450);
  for (int i = 0; i < static_cast<int>(img1.size()); ++i) {
    forms::Image& image = img1[static_cast<size_t>(i)];
    image.Move(kMargin + (i % kPerRow) * kCell + (kCell - kPicture) / 2,
               kMargin + (i / kPerRow) * kCell + (kCell - kPicture) / 2, kPicture, kPicture);
    image.Click = [this, i] { img1_Click(i + 1); };
    Register(image);
  }
}

void IconsForm::Form_Load() {
  SelectedIcon = 0;
  for (int i = 1; i <= static_cast<int>(img1.size()); ++i) img1[static_cast<size_t>(i - 1)].SetPicture(i + kFirstIcon - 1);
}

void IconsForm::img1_Click(int index) {
  SelectedIcon = static_cast<uint8_t>(index + kFirstIcon - 1);
  Unload();
}

}  // namespace corvane
