// frmDialer: controls, layout and event wiring of the dialer window, and
// the handlers that hand the user's commands to the connection.
#include "app/dialer_form.h"

#include "app/connection.h"
#include "app/dialer_captions.h"

namespace corvane {

namespace {

constexpr int kWidth = 5055;
constexpr int kOnlineTimeIcon = 130;

}  // namespace

DialerForm::DialerForm(Connection& connection, const DialerServices& services, DialerWindows windows)
    : Form("frmDialer", IDD_DIALER), connection_(connection), services_(services), windows_(std::move(windows)) {
  SetCaption("Corvane");
  SetIcon(8);
  Move(0, 0, kWidth, kHeightCompact);

  lblMess.SetCaption("Dial number:");
  txtErr.SetText("");
  cmdShowOnTime.SetToolTipText("Show Online Time statistics");
  cmdShowOnTime.SetPicture(kOnlineTimeIcon);
  SetInfoButton(InfoButton::Options);
  cmdDial.SetCaption(kCaptionDial);
  cmdCancel.SetCaption(kCaptionCancel);
  cmbList.SetVisible(false);
  Image1.SetVisible(false);
  Image2.SetPicture(8);

  mnuSystray.SetCaption("Systray");
  mnuOptions.SetCaption("&Options");
  sep1.SetCaption("-");
  mnuStatistics.SetCaption("&Statistics");
  mnuConnectionLog.SetCaption("Connection &log...");
  sep2.SetCaption("-");
  mnuDisconnect.SetCaption(kCaptionDisconnect);
  sep3.SetCaption("-");
  mnuExit.SetCaption("&Exit");
  for (forms::MenuItem* item :
       {&mnuOptions, &sep1, &mnuStatistics, &mnuConnectionLog, &sep2, &mnuDisconnect, &sep3, &mnuExit}) {
    mnuSystray.Add(*item);
  }

  for (forms::Control* control :
       std::initializer_list<forms::Control*>{&lblMess, &txtCombo, &cmbList, &txtErr, &txtDetails, &Image1, &Image2,
                                              &cmdShowOnTime, &fra, &cmdInfo, &cmdDial, &cmdCancel, &Timer1,
                                              &mnuSystray, &mnuOptions, &sep1, &mnuStatistics, &mnuConnectionLog, &sep2,
                                              &mnuDisconnect, &sep3, &mnuExit}) {
    Register(*control);
  }
  LayOut();
  ConnectEvents();
}

void DialerForm::LayOut() {
  // Twips, relative to the client area (the buttons relative to fra).
  lblMess.Move(120, 150, 1200, 255);
  txtCombo.Move(1350, 105, 2385, 315);
  cmbList.Move(1350, 105, 2385, 315);
  cmdShowOnTime.Move(3810, 90, 375, 345);
  Image1.Move(4320, 60, 480, 480);
  Image2.Move(4320, 60, 480, 480);
  txtErr.Move(120, 450, 4065, 495);
  fra.Move(0, 990, 4935, 390);
  cmdInfo.Move(120, 0, 855, 375);
  cmdDial.Move(1800, 0, 855, 375);
  cmdCancel.Move(3840, 0, 855, 375);
  txtDetails.Move(120, 1500, 4680, 1410);
}

void DialerForm::ConnectEvents() {
  cmbList.DropDown = [this] { cmbList_DropDown(); };
  cmdDial.Click = [this] { cmdDial_Click(); };
  cmdCancel.Click = [this] { cmdCancel_Click(); };
  cmdInfo.Click = [this] { cmdInfo_Click(); };
  cmdShowOnTime.Click = [this] { cmdShowOnTime_Click(); };
  Timer1.Tick = [this] { Timer1_Timer(); };
  mnuOptions.Click = [this] { mnuOptions_Click(); };
  mnuStatistics.Click = [this] { mnuStatistics_Click(); };
  mnuConnectionLog.Click = [this] {
    if (windows_.showConnectionLog) windows_.showConnectionLog();
  };
  mnuDisconnect.Click = [this] { mnuDisconnect_Click(); };
  mnuExit.Click = [this] { mnuExit_Click(); };
}

void DialerForm::Form_Load() { connection_.Start(); }

void DialerForm::Form_QueryUnload(int16_t& cancel, int16_t unloadMode) {
  if (unloadMode == forms::kUnloadAppWindows) connection_.SessionEnding();
  if (unloadMode != forms::kUnloadControlMenu) return;
  if (!connection_.CloseBoxClicked()) cancel = 1;
}

void DialerForm::Form_Unload(int16_t& /*cancel*/) { connection_.End(); }

void DialerForm::Form_WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  connection_.OnDialMessage(message, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
}

void DialerForm::cmdDial_Click() { connection_.DialClicked(); }

void DialerForm::cmdCancel_Click() { connection_.CancelClicked(); }

void DialerForm::Timer1_Timer() { connection_.Tick(); }

void DialerForm::mnuDisconnect_Click() { connection_.DisconnectClicked(); }

void DialerForm::mnuExit_Click() { Unload(); }

}  // namespace corvane
