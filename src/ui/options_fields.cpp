// frmOptions: the tab pages, the numeric fields and their scroll bars, the
// check boxes that enable groups of fields, the browse buttons, the
// monitoring switch, and the Statistics, Help and Cancel buttons.
#include <iterator>

#include "settings/entry_name.h"
#include "ui/options_form.h"

namespace corvane {

namespace {

constexpr int kPageLeft = 80;
// Enough characters for more than the prefilled "http://".
constexpr size_t kUsableUrlLength = 8;
const char* const kCustomProgram = "C:\\Program Files\\NetZero\\nzStart.exe";
const char* const kListFilter = "comma separated values (*.csv)|*.csv|all files (*.*)|*.*";
const char* const kProgramFilter = "executable(*.exe)|*.exe|all files (*.*)|*.*";

}  // namespace

void OptionsForm::tbsOptions_Click() {
  const int selected = tbsOptions.SelectedTab();
  for (int tab = 1; tab <= static_cast<int>(fra.size()); ++tab) {
    forms::Frame& page = fra[static_cast<size_t>(tab - 1)];
    page.SetLeft(kPageLeft);
    page.SetVisible(tab == selected);
    page.SetEnabled(tab == selected);
  }
  switch (selected) {
    case 1:
      fraSelectEntry.SetVisible(true);
      break;
    case 2:
      if (txtUserName.Enabled()) txtUserName.SetFocus();
      if (txtPhoneList.Enabled()) txtPhoneList.SetFocus();
      break;
    case 4: {
      SettingsStore& store = services_.store;
      const std::string& customKey = store.CustomEntryKey;
      if (!customKey.empty()) {
        const uint8_t icon = ReadByte(store.ReadRegValue(store.SettingsRoot + customKey, "Icon"), 0);
        if (icon != 0) imgIcon[1].SetPicture(icon);
        // A save without a new choice keeps the stored icon.
        CustomIcon = icon;
        txtNZentry.SetText(customKey.substr(1));
        txtNZlocation.SetText(store.ReadRegValue(store.SettingsRoot + customKey, "Location"));
      } else {
        imgIcon[1].SetPicture(8);
        if (services_.files.FileExists(kCustomProgram)) {
          txtNZentry.SetText("NetZero");
          txtNZlocation.SetText(kCustomProgram);
        }
      }
      break;
    }
    default:
      break;
  }
  ShowSaveCaption();
}

void OptionsForm::ShowRangeError(int low, int high) {
  services_.messages.Show("The valid range is " + std::to_string(low) + " - " + std::to_string(high),
                          kRangeMessageTitle, MsgIcon::None, MsgButtons::Ok);
}

void OptionsForm::NumericText_Change(const NumericField& field) {
  const TypedTextOutcome outcome = JudgeTypedText(field.rule, field.box.Text(), field.bar.Value());
  if (outcome.scrollValue) field.bar.SetValue(*outcome.scrollValue);
  if (outcome.rangeMessage) ShowRangeError(field.rule.messageLow, field.rule.messageHigh);
  if (outcome.boxText) field.box.SetText(*outcome.boxText);
}

void OptionsForm::NumericScroll_Change(const NumericField& field) {
  const int wrapped = WrappedScrollValue(field.rule, field.bar.Value());
  if (wrapped != field.bar.Value()) {
    field.bar.SetValue(wrapped);  // its own Change writes the text
    return;
  }
  field.box.SetText(ScrollValueText(field.rule, wrapped));
}

void OptionsForm::OnTime_Change(const NumericField& onTime, const NumericField& offTime) {
  if (onTime.box.Text().empty()) {
    offTime.box.SetText(kNotConnectedText);
    offTime.bar.SetValue(100);
  }
  NumericText_Change(onTime);
}

void OptionsForm::EnableGroup(std::initializer_list<forms::Control*> controls, bool enabled,
                              forms::Color disabledBack) {
  for (forms::Control* control : controls) {
    control->SetEnabled(enabled);
    if (control->Kind() == forms::ControlKind::TextBox) {
      control->SetBackColor(enabled ? forms::kColorWindow : disabledBack);
    }
  }
}

void OptionsForm::chkAutoDisconnect_Click() {
  EnableGroup({&vsbAhrs, &vsbAmin, &txtAhrs, &txtAmin, &lblAfter, &lblAhrs, &lblAmin},
              chkAutoDisconnect.Value() == 1, forms::kColorInactiveCaptionText);
}

void OptionsForm::chkAutoReconnect_Click() {
  EnableGroup({&vsbOnTimeEx1, &vsbOffTimeEx1, &vsbOnTimeEx2, &vsbOffTimeEx2, &txtOnTimeEx1, &txtOffTimeEx1,
               &txtOnTimeEx2, &txtOffTimeEx2, &lblOnTime1, &lblOnHrs1, &lblDialIn1, &lblOffMin1, &lblOnTime2,
               &lblOnHrs2, &lblDialIn2, &lblOffMin2},
              chkAutoReconnect.Value() == 1, forms::kColorInactiveCaptionText);
}

void OptionsForm::chkRedial_Click() {
  EnableGroup({&vsb1, &vsb2, &vsb3, &TxtRedial, &txtMinutes, &txtSeconds}, chkRedial.Value() == 1,
              forms::kColorInactiveCaptionText);
}

void OptionsForm::chkList_Click() {
  if (chkList.Value() != 1) return;
  chkSingle.SetValue(0);
  EnableGroup({&txtPhoneList, &txtUserList, &cmdBrowse[0], &cmdBrowse[1]}, true, forms::kColorMenu);
  for (forms::TextBox* box : {&txtPhoneNumber, &txtUserName, &txtPassword}) box->SetText("");
  EnableGroup({&txtPhoneNumber, &txtUserName, &txtPassword}, false, forms::kColorMenu);
}

void OptionsForm::chkSingle_Click() {
  if (chkSingle.Value() != 1) return;
  chkList.SetValue(0);
  EnableGroup({&txtPhoneList, &txtUserList, &cmdBrowse[0], &cmdBrowse[1]}, false, forms::kColorMenu);
  for (forms::TextBox* box : {&txtPhoneList, &txtUserList}) box->SetText("");
  EnableGroup({&txtUserName, &txtPassword, &txtPhoneNumber}, true, forms::kColorMenu);
}

// Puts back the number the number file replaced. The address stays: the
// user decides about the file itself.
void OptionsForm::cmdPreviousNumber_Click() { txtPhoneNumber.SetText(previousNumber_); }

void OptionsForm::txtURL_Change() {
  const bool usable = txtURL.Text().size() >= kUsableUrlLength;
  optDisconnect.SetEnabled(usable);
  optNextTime.SetEnabled(usable);
}

void OptionsForm::txtNZentry_Change() {
  tbsOptions.SetTabCaption(kCustomTab, txtNZentry.Text());
  ShowSaveCaption();
}

void OptionsForm::cmdBrowse_Click(int index) {
  struct Browse {
    const char* title;
    const char* filter;
    const char* extension;
    forms::TextBox OptionsForm::*field;
  };
  static const Browse kBrowse[] = {
      {"Open phone list from:", kListFilter, "csv", &OptionsForm::txtPhoneList},
      {"Open users list from:", kListFilter, "csv", &OptionsForm::txtUserList},
      {"Select file location:", kProgramFilter, "exe", &OptionsForm::txtNZlocation},
      {"Select file location:", kProgramFilter, "exe", &OptionsForm::txtBrowser},
      {"Program to run when connected:", kProgramFilter, "exe", &OptionsForm::txtConnectAction},
      {"Program to run when the line has ended:", kProgramFilter, "exe", &OptionsForm::txtDisconnectAction},
  };
  if (index < 1 || index > static_cast<int>(std::size(kBrowse))) return;
  const Browse& browse = kBrowse[index - 1];
  std::string chosen;
  // A cancelled dialog leaves the field as it was.
  if (services_.fileDialog.ChooseFileToOpen({browse.title, browse.filter, browse.extension, "", ""}, chosen)) {
    (this->*browse.field).SetText(chosen);
  }
}

// Runs on the user's toggle only. It acts on the live line only when the
// edited entry is the running one; any other entry's box takes effect when
// that entry is saved.
void OptionsForm::chkMonitorTime_Click() {
  if (!EditsRunningEntry() || !services_.line.IsConnected()) return;
  if (chkMonitorTime.Value() == 0) {
    const MsgResult answer = services_.messages.Show(
        "This will interrupt the online time monitoring\r\nfor active '" + services_.line.RunningEntryName() +
            "' connection. Proceed?",
        "Active Internet Connection", MsgIcon::Question, MsgButtons::YesNoDefaultNo);
    if (answer != MsgResult::Yes) {
      chkMonitorTime.SetValue(1);
      return;
    }
    if (callbacks_.interruptOnlineTime) callbacks_.interruptOnlineTime();
    return;
  }
  if (callbacks_.restartOnlineTime) callbacks_.restartOnlineTime();
}

bool OptionsForm::EditsRunningEntry() const {
  const std::string& running = services_.line.RunningEntryName();
  return !running.empty() && EqualsIgnoringCase(EditedEntryName, running);
}

void OptionsForm::cmdShowStats_Click() {
  const std::string& current = services_.currentEntryName;
  if (!current.empty()) {
    if (EditedEntryName != current) {
      services_.messages.Show("Statistics can be shown only for the current entry when online.", "Corvane",
                              MsgIcon::Information, MsgButtons::Ok);
    }
    if (callbacks_.showStatistics) callbacks_.showStatistics(current);
  } else if (!EditedEntryName.empty()) {
    if (callbacks_.showStatistics) callbacks_.showStatistics(EditedEntryName);
  }
}

// The help belongs to this window: it stays above it and goes with it.
void OptionsForm::cmdHelp_Click() { services_.forms.ShowModelessOver(frmHelp, *this); }

void OptionsForm::cmdCancel_Click() { Unload(); }

}  // namespace corvane
