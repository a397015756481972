// frmMessage: layout, answers and the stored "DoNotAsk" choice.
#include "ui/message_form.h"

#include "settings/settings_store.h"

namespace corvane {

namespace {

// Outer size of the window, twips; the controls below are placed in its
// client area like a system question box: picture at the left, the question
// beside it, the check box under the question, the answers at the bottom
// right.
constexpr int kWidth = 6390;
constexpr int kHeight = 2325;
constexpr int kDefaultWindowIcon = 8;

}  // namespace

MessageForm::MessageForm(SettingsStore& store, const std::string& runningEntryName, const forms::Form& dialer,
                         std::function<void(uint8_t doNotAsk)> doNotAskChosen)
    : Form("frmMessage", IDD_MESSAGE),
      store_(store),
      runningEntryName_(runningEntryName),
      dialer_(dialer),
      doNotAskChosen_(std::move(doNotAskChosen)) {
  SetCaption("Active Internet connection!");
  Move(0, 0, kWidth, kHeight);

  lblMess.SetCaption("Do you want to disconnect the active Internet connection?");
  chkAsk.SetCaption("&Do not ask me again");
  cmdYes.SetCaption("&Yes");
  cmdNo.SetCaption("&No");

  // One line of text level with the middle of the picture, with room for a
  // second line should a wider font need it.
  Image1.Move(240, 240, 480, 480);
  lblMess.Move(960, 375, 5100, 420);
  chkAsk.Move(960, 840, 3240, 255);
  cmdYes.Move(3690, 1380, 1125, 345);
  cmdNo.Move(4935, 1380, 1125, 345);

  for (forms::Control* control :
       std::initializer_list<forms::Control*>{&Image1, &lblMess, &chkAsk, &cmdYes, &cmdNo}) {
    Register(*control);
  }
  cmdYes.Click = [this] { cmdYes_Click(); };
  cmdNo.Click = [this] { cmdNo_Click(); };
}

void MessageForm::Form_Load() {
  // The picture is the connection's own: the dialer window's icon.
  Image1.SetPicture(dialer_.Icon() != 0 ? dialer_.Icon() : kDefaultWindowIcon);
  chkAsk.SetValue(0);
  cmdYes.SetFocus();
}

void MessageForm::cmdYes_Click() {
  SaveDoNotAsk();
  DisconnectDeclined = 0;
  Unload();
}

void MessageForm::cmdNo_Click() {
  SaveDoNotAsk();
  DisconnectDeclined = 1;
  Unload();
}

void MessageForm::SaveDoNotAsk() {
  const uint8_t value = chkAsk.Value() != 0 ? 1 : 0;
  store_.SaveRegValue(store_.SettingsRoot + runningEntryName_, "DoNotAsk", value != 0 ? "1" : "0");
  if (doNotAskChosen_) doNotAskChosen_(value);
}

}  // namespace corvane
