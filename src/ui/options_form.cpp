// frmOptions: captions, layout and event wiring. The entry's life cycle is
// in options_entry.cpp, saving in options_saving.cpp, the field rules in
// options_fields.cpp.
#include "ui/options_form.h"

#include <utility>

namespace corvane {

namespace {

// Outer size of the window, twips.
constexpr int kWidth = 7200;
constexpr int kHeight = 7140;
// The pages sit in the tab strip below its row of tabs.
constexpr int kPageTop = 400;
constexpr int kPageWidth = 6680;
constexpr int kPageHeight = 4240;
constexpr int kDefaultIcon = 8;

const char* const kAboutText =
    "Corvane\r\n"
    "Dial-up connection manager\r\n"
    "\r\n"
    "Dials your Internet provider from a desktop shortcut, redials a busy\r\n"
    "line, reconnects a lost one, and keeps count of your online time\r\n"
    "month by month.\r\n"
    "\r\n"
    "Copyright Tamberlo.";

}  // namespace

OptionsForm::OptionsForm(OptionsServices services, OptionsCallbacks callbacks)
    : Form("frmOptions", IDD_OPTIONS), services_(std::move(services)), callbacks_(std::move(callbacks)) {
  SetCaption("Corvane - Options");
  Move(0, 0, kWidth, kHeight);

  for (const char* caption : {"&General", "&Login", "&Automate", "", "A&bout", "L&imits", "Ac&tions"}) tbsOptions.AddTab(caption);
  fraSelectEntry.SetCaption("Create/Edit dialing entry:");
  cmdRemove.SetCaption("&Remove Entry");
  cmdShowStats.SetCaption("&Show online time stats");
  cmdHelp.SetCaption("&Help");
  cmdOK.SetCaption("&OK");
  cmdCancel.SetCaption("&Cancel");
  imgIcon[0].SetPicture(kDefaultIcon);
  imgIcon[1].SetPicture(kDefaultIcon);

  chkLoad.SetCaption("Load &Corvane at Windows startup");
  chkMonitorTime.SetCaption("&Monitor online time");
  chkRedial.SetCaption("&Enable Automatic Redial:");
  lblRedial.SetCaption("Redial:");
  lblTimes.SetCaption("times,  every");
  lblMinutes.SetCaption("minutes");
  lblSeconds.SetCaption("seconds");

  chkSingle.SetCaption("Use &single username/password");
  lblPhoneNumber.SetCaption("Phone Number:");
  lblUserName.SetCaption("User login name:");
  lblPassword.SetCaption("Password:");
  chkList.SetCaption("&Use list");
  lblPhoneList.SetCaption("Phone list:");
  lblUserList.SetCaption("Users list:");
  for (forms::CommandButton& browse : cmdBrowse) browse.SetCaption("...");

  chkAutoDisconnect.SetCaption("Auto disconnect:");
  lblAfter.SetCaption("After:");
  lblAhrs.SetCaption("hrs");
  lblAmin.SetCaption("min");
  chkAutoReconnect.SetCaption("Auto reconnect on lost connection");
  lblOnTime1.SetCaption("Total online time is >");
  lblOnTime2.SetCaption("Total online time is <");
  for (forms::Label* label : {&lblOnHrs1, &lblOnHrs2}) label->SetCaption("hrs");
  for (forms::Label* label : {&lblDialIn1, &lblDialIn2}) label->SetCaption("dial in:");
  for (forms::Label* label : {&lblOffMin1, &lblOffMin2}) label->SetCaption("min");
  chkBrowser.SetCaption("When connected start selected &browser:");
  lblURL.SetCaption("File location (URL):");
  cmdPreviousNumber.SetCaption("Use the previous number");
  optNextTime.SetCaption("U&se the new phone number to dial next time");
  optDisconnect.SetCaption("Hang &up and call again using new phone number");

  lblNZentry.SetCaption("Entry name:");
  lblNZlocation.SetCaption("Location of executable file:");
  Text2.SetCaption("Click the picture to customize the Systray icon for this entry.");
  lblAbout.SetCaption(kAboutText);

  // Design values: the scroll ranges reach one step beyond the valid values.
  for (const NumericField& field : NumericFields()) field.bar.SetRange(field.rule.scrollMin, field.rule.scrollMax);
  vsb1.SetValue(3);
  vsb2.SetValue(2);
  vsb3.SetValue(1);
  for (forms::TextBox* box : {&txtAhrs, &txtAmin, &txtOnTimeEx1, &txtOffTimeEx1}) box->SetText("0");
  txtOffTimeEx2.SetText(kNotConnectedText);

  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &tbsOptions, &fra[0], &fra[1], &fra[2], &fra[3], &fra[4], &fraSelectEntry, &cmbSelEntry, &cmdRemove,
           &cmdShowStats, &imgIcon[0], &cmdHelp, &cmdOK, &cmdCancel,
           &Frame1, &chkLoad, &chkMonitorTime, &FraRedial, &chkRedial, &lblRedial, &TxtRedial, &vsb1, &lblTimes,
           &txtMinutes, &vsb2, &lblMinutes, &txtSeconds, &vsb3, &lblSeconds,
           &fraSingle, &chkSingle, &lblPhoneNumber, &txtPhoneNumber, &lblUserName, &txtUserName, &lblPassword,
           &txtPassword, &fraLists, &chkList, &lblPhoneList, &txtPhoneList, &cmdBrowse[0], &lblUserList,
           &txtUserList, &cmdBrowse[1],
           &fraAutoDisconnect, &chkAutoDisconnect, &lblAfter, &txtAhrs, &vsbAhrs, &lblAhrs, &txtAmin, &vsbAmin,
           &lblAmin, &fraAutoReconnect, &chkAutoReconnect, &lblOnTime1, &txtOnTimeEx1, &vsbOnTimeEx1,
           &lblOnHrs1, &lblDialIn1, &txtOffTimeEx1, &vsbOffTimeEx1, &lblOffMin1, &lblOnTime2, &txtOnTimeEx2,
           &vsbOnTimeEx2, &lblOnHrs2, &lblDialIn2, &txtOffTimeEx2, &vsbOffTimeEx2, &lblOffMin2, &chkBrowser,
           &txtBrowser, &cmdBrowse[3], &lblURL, &txtURL, &lblPreviousNumber,
           &cmdPreviousNumber, &optNextTime, &optDisconnect,
           &lblNZentry, &txtNZentry, &lblNZlocation, &txtNZlocation, &cmdBrowse[2], &imgIcon[1], &Text2,
           &lblAbout, &fra[5], &fraAllowance, &lblAllowTime, &txtAllowHours, &vsbAllowHours, &lblAllowHrs,
           &lblAllowData, &txtAllowMegabytes, &vsbAllowMegabytes, &lblAllowMB, &lblWarnAt, &txtWarnPercent,
           &vsbWarnPercent, &lblWarnPercent, &chkAllowHangUp, &fraUsed, &lblUsed, &fra[6], &fraIdle, &lblIdleAfter,
           &txtIdleMinutes, &vsbIdleMinutes, &lblIdleMin, &lblIdleBelow, &txtIdleThreshold, &vsbIdleThreshold,
           &lblIdleBytes, &fraActions, &lblOnConnect, &txtConnectAction, &cmdBrowse[4], &lblConnectArgs,
           &txtConnectArgs, &lblOnDisconnect, &txtDisconnectAction, &cmdBrowse[5], &lblDisconnectArgs,
           &txtDisconnectArgs}) {
    Register(*control);
  }
  SetUpLimitsPage();
  SetUpActionsPage();
  LayOut();
  ConnectEvents();
}

std::array<OptionsForm::NumericField, 14> OptionsForm::NumericFields() {
  return {{{txtAhrs, vsbAhrs, kHoursRule},
           {txtAmin, vsbAmin, kMinutesOfHourRule},
           {TxtRedial, vsb1, kRedialCountRule},
           {txtMinutes, vsb2, kRedialMinutesRule},
           {txtSeconds, vsb3, kRedialSecondsRule},
           {txtOnTimeEx1, vsbOnTimeEx1, kOnTimeRule},
           {txtOnTimeEx2, vsbOnTimeEx2, kOnTimeRule},
           {txtOffTimeEx1, vsbOffTimeEx1, kOffTimeRule},
           {txtOffTimeEx2, vsbOffTimeEx2, kOffTimeRule},
           {txtAllowHours, vsbAllowHours, kHoursRule},
           {txtAllowMegabytes, vsbAllowMegabytes, kAllowanceMegabytesRule},
           {txtWarnPercent, vsbWarnPercent, kWarnPercentRule},
           {txtIdleMinutes, vsbIdleMinutes, kIdleMinutesRule},
           {txtIdleThreshold, vsbIdleThreshold, kIdleThresholdRule}}};
}

void OptionsForm::LayOut() {
  // Twips, each relative to its container.
  fraSelectEntry.Move(120, 60, 6840, 1080);
  cmbSelEntry.Move(180, 330, 2760, 315);
  imgIcon[0].Move(3060, 270, 480, 480);
  cmdRemove.Move(3720, 240, 2940, 360);
  cmdShowStats.Move(3720, 630, 2940, 360);

  tbsOptions.Move(120, 1260, 6840, kPageTop + kPageHeight + 120);
  for (forms::Frame& page : fra) page.Move(80, kPageTop, kPageWidth, kPageHeight);

  cmdHelp.Move(120, 6060, 1215, 375);
  cmdOK.Move(3360, 6060, 2040, 375);
  cmdCancel.Move(5520, 6060, 1440, 375);

  // General
  Frame1.Move(120, 60, 6440, 960);
  chkLoad.Move(240, 270, 5800, 285);
  chkMonitorTime.Move(240, 600, 5800, 285);
  FraRedial.Move(120, 1140, 6440, 1200);
  chkRedial.Move(240, 270, 4200, 285);
  lblRedial.Move(240, 735, 660, 255);
  TxtRedial.Move(900, 690, 555, 315);
  vsb1.Move(1455, 690, 255, 315);
  lblTimes.Move(1800, 735, 1260, 255);
  txtMinutes.Move(3060, 690, 555, 315);
  vsb2.Move(3615, 690, 255, 315);
  lblMinutes.Move(3930, 735, 720, 255);
  txtSeconds.Move(4680, 690, 555, 315);
  vsb3.Move(5235, 690, 255, 315);
  lblSeconds.Move(5550, 735, 780, 255);

  // Login
  fraSingle.Move(120, 60, 6440, 1800);
  chkSingle.Move(240, 270, 4800, 285);
  lblPhoneNumber.Move(240, 705, 1620, 255);
  txtPhoneNumber.Move(1920, 660, 4320, 315);
  lblUserName.Move(240, 1095, 1620, 255);
  txtUserName.Move(1920, 1050, 4320, 315);
  lblPassword.Move(240, 1485, 1620, 255);
  txtPassword.Move(1920, 1440, 4320, 315);
  fraLists.Move(120, 1980, 6440, 1440);
  chkList.Move(240, 270, 4800, 285);
  lblPhoneList.Move(240, 705, 1620, 255);
  txtPhoneList.Move(1920, 660, 3720, 315);
  cmdBrowse[0].Move(5760, 660, 480, 315);
  lblUserList.Move(240, 1095, 1620, 255);
  txtUserList.Move(1920, 1050, 3720, 315);
  cmdBrowse[1].Move(5760, 1050, 480, 315);

  // Automate
  fraAutoDisconnect.Move(120, 0, 6440, 660);
  chkAutoDisconnect.Move(240, 285, 1860, 285);
  lblAfter.Move(2160, 315, 600, 255);
  txtAhrs.Move(2760, 270, 555, 315);
  vsbAhrs.Move(3315, 270, 255, 315);
  lblAhrs.Move(3660, 315, 420, 255);
  txtAmin.Move(4140, 270, 555, 315);
  vsbAmin.Move(4695, 270, 255, 315);
  lblAmin.Move(5040, 315, 480, 255);
  fraAutoReconnect.Move(120, 720, 6440, 1320);
  chkAutoReconnect.Move(240, 270, 4800, 285);
  const int rows[] = {600, 960};
  forms::Label* onLabels[] = {&lblOnTime1, &lblOnTime2};
  forms::TextBox* onBoxes[] = {&txtOnTimeEx1, &txtOnTimeEx2};
  forms::VScrollBar* onBars[] = {&vsbOnTimeEx1, &vsbOnTimeEx2};
  forms::Label* hrsLabels[] = {&lblOnHrs1, &lblOnHrs2};
  forms::Label* dialLabels[] = {&lblDialIn1, &lblDialIn2};
  forms::TextBox* offBoxes[] = {&txtOffTimeEx1, &txtOffTimeEx2};
  forms::VScrollBar* offBars[] = {&vsbOffTimeEx1, &vsbOffTimeEx2};
  forms::Label* minLabels[] = {&lblOffMin1, &lblOffMin2};
  for (size_t row = 0; row < 2; ++row) {
    const int top = rows[row];
    onLabels[row]->Move(240, top + 45, 2040, 255);
    onBoxes[row]->Move(2280, top, 555, 315);
    onBars[row]->Move(2835, top, 255, 315);
    hrsLabels[row]->Move(3180, top + 45, 420, 255);
    dialLabels[row]->Move(3660, top + 45, 780, 255);
    offBoxes[row]->Move(4440, top, 555, 315);
    offBars[row]->Move(4995, top, 255, 315);
    minLabels[row]->Move(5340, top + 45, 480, 255);
  }
  chkBrowser.Move(240, 2130, 5800, 285);
  txtBrowser.Move(240, 2445, 5520, 315);
  cmdBrowse[3].Move(5880, 2445, 480, 315);
  lblURL.Move(240, 2895, 1800, 255);
  txtURL.Move(2040, 2850, 4320, 315);
  lblPreviousNumber.Move(240, 3255, 3540, 255);
  cmdPreviousNumber.Move(3900, 3210, 2460, 315);
  optNextTime.Move(240, 3600, 6120, 285);
  optDisconnect.Move(240, 3900, 6120, 285);

  // Custom entry
  lblNZentry.Move(240, 345, 2280, 255);
  txtNZentry.Move(2520, 300, 3240, 315);
  lblNZlocation.Move(240, 795, 3600, 255);
  txtNZlocation.Move(240, 1080, 5520, 315);
  cmdBrowse[2].Move(5880, 1080, 480, 315);
  imgIcon[1].Move(240, 1620, 480, 480);
  Text2.Move(900, 1620, 5400, 480);

  // About
  lblAbout.Move(240, 300, 6200, 3000);

  // Limits
  fraAllowance.Move(120, 60, 6440, 2040);
  const int limitRows[] = {360, 780, 1200};
  forms::Label* rowLabels[] = {&lblAllowTime, &lblAllowData, &lblWarnAt};
  forms::TextBox* rowBoxes[] = {&txtAllowHours, &txtAllowMegabytes, &txtWarnPercent};
  forms::VScrollBar* rowBars[] = {&vsbAllowHours, &vsbAllowMegabytes, &vsbWarnPercent};
  forms::Label* unitLabels[] = {&lblAllowHrs, &lblAllowMB, &lblWarnPercent};
  for (size_t row = 0; row < 3; ++row) {
    const int top = limitRows[row];
    rowLabels[row]->Move(240, top + 45, 1560, 255);
    rowBoxes[row]->Move(1800, top, 795, 315);
    rowBars[row]->Move(2595, top, 255, 315);
    unitLabels[row]->Move(2940, top + 45, 3360, 255);
  }
  chkAllowHangUp.Move(240, 1620, 5800, 285);
  fraUsed.Move(120, 2220, 6440, 1080);
  lblUsed.Move(240, 330, 6000, 600);

  // Actions: the idle rows as the Limits page's, then each action's
  // program (with its Browse button) over its arguments.
  fraIdle.Move(120, 60, 6440, 1140);
  const int idleRows[] = {330, 720};
  forms::Label* idleLabels[] = {&lblIdleAfter, &lblIdleBelow};
  forms::TextBox* idleBoxes[] = {&txtIdleMinutes, &txtIdleThreshold};
  forms::VScrollBar* idleBars[] = {&vsbIdleMinutes, &vsbIdleThreshold};
  forms::Label* idleUnits[] = {&lblIdleMin, &lblIdleBytes};
  for (size_t row = 0; row < 2; ++row) {
    const int top = idleRows[row];
    idleLabels[row]->Move(240, top + 45, 1560, 255);
    idleBoxes[row]->Move(1800, top, 795, 315);
    idleBars[row]->Move(2595, top, 255, 315);
    idleUnits[row]->Move(2940, top + 45, 3360, 255);
  }
  fraActions.Move(120, 1320, 6440, 1980);
  const int actionRows[] = {330, 1110};
  forms::Label* actionLabels[] = {&lblOnConnect, &lblOnDisconnect};
  forms::TextBox* programBoxes[] = {&txtConnectAction, &txtDisconnectAction};
  forms::Label* argumentLabels[] = {&lblConnectArgs, &lblDisconnectArgs};
  forms::TextBox* argumentBoxes[] = {&txtConnectArgs, &txtDisconnectArgs};
  for (size_t row = 0; row < 2; ++row) {
    const int top = actionRows[row];
    actionLabels[row]->Move(240, top + 45, 1560, 255);
    programBoxes[row]->Move(1800, top, 3960, 315);
    cmdBrowse[4 + row].Move(5880, top, 480, 315);
    argumentLabels[row]->Move(240, top + 435, 1560, 255);
    argumentBoxes[row]->Move(1800, top + 390, 3960, 315);
  }
}

void OptionsForm::ConnectEvents() {
  tbsOptions.Click = [this] { tbsOptions_Click(); };
  cmbSelEntry.DropDown = [this] { cmbSelEntry_DropDown(); };
  cmbSelEntry.Change = [this] { cmbSelEntry_Change(); };
  cmbSelEntry.Click = [this] { cmbSelEntry_Click(); };
  imgIcon[0].Click = [this] { imgIcon_Click(0); };
  imgIcon[1].Click = [this] { imgIcon_Click(1); };
  cmdRemove.Click = [this] { cmdRemove_Click(); };
  cmdShowStats.Click = [this] { cmdShowStats_Click(); };
  cmdHelp.Click = [this] { cmdHelp_Click(); };
  cmdOK.Click = [this] { cmdOK_Click(); };
  cmdCancel.Click = [this] { cmdCancel_Click(); };
  chkAutoDisconnect.Click = [this] { chkAutoDisconnect_Click(); };
  chkAutoReconnect.Click = [this] { chkAutoReconnect_Click(); };
  chkRedial.Click = [this] { chkRedial_Click(); };
  chkList.Click = [this] { chkList_Click(); };
  chkSingle.Click = [this] { chkSingle_Click(); };
  chkMonitorTime.UserClick = [this] { chkMonitorTime_Click(); };
  txtURL.Change = [this] { txtURL_Change(); };
  cmdPreviousNumber.Click = [this] { cmdPreviousNumber_Click(); };
  txtNZentry.Change = [this] { txtNZentry_Change(); };
  for (int index = 1; index <= static_cast<int>(cmdBrowse.size()); ++index) {
    cmdBrowse[static_cast<size_t>(index - 1)].Click = [this, index] { cmdBrowse_Click(index); };
  }
  for (const NumericField& field : NumericFields()) {
    field.box.Change = [this, field] { NumericText_Change(field); };
    field.bar.Change = [this, field] { NumericScroll_Change(field); };
  }
  // An emptied on-time box means no limit for its row.
  const auto fields = NumericFields();
  txtOnTimeEx1.Change = [this, onTime = fields[5], offTime = fields[7]] { OnTime_Change(onTime, offTime); };
  txtOnTimeEx2.Change = [this, onTime = fields[6], offTime = fields[8]] { OnTime_Change(onTime, offTime); };
}

}  // namespace corvane
