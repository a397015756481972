// The dialer window's dial commands: Dial (which reads Cancel during a
// dial), Cancel (which reads Redial after the redials ended) and the tray
// menu's Disconnect.
#include "app/app_context.h"
#include "app/dialer_captions.h"
#include "app/dialing.h"
#include "app/number_sources.h"
#include "dial/dialup_service.h"
#include "dial/hang_up.h"
#include "dial/phonebook_entry.h"
#include "forms/form_host.h"
#include "system/message_box_port.h"
#include "ui/bring_to_front.h"

namespace corvane {

void DialerForm::cmdDial_Click() {
  DialSession& session = ctx_.Session;
  if (cmdDial.Caption() != kCaptionDial) {
    session.CancelRequested = 1;
    HangUpConnection(ctx_.Platform.DialUp, session.ConnectionHandle, ctx_.LastResult);
    Unload();
    return;
  }
  session.IsConnected = 0;
  ctx_.Supervisor.LineDropped = 0;
  FindPhoneNumber(ctx_);
  if (ctx_.Entry.PhoneNumber.empty()) {
    ctx_.Platform.Messages.Show("Missing phone number.", "Dialing Error", MsgIcon::Exclamation, MsgButtons::Ok);
    return;
  }
  if (!CheckDialTexts(ctx_)) return;
  cmdInfo.SetVisible(false);
  BringToFront(*this);
  HookDialEvents(ctx_);
  PrepareAndDial(ctx_);
  ctx_.Supervisor.DialAnimationFrame = 4;
}

void DialerForm::cmdCancel_Click() {
  DialSession& session = ctx_.Session;
  if (cmdCancel.Caption() != kCaptionRedial) {
    session.CancelRequested = 1;
    if (cmdCancel.Caption() == kCaptionCancel) {
      HangUpConnection(ctx_.Platform.DialUp, session.ConnectionHandle, ctx_.LastResult);
    }
    Unload();
    return;
  }
  std::string caption = "Redialing: " + session.LocationName + "  " + ctx_.Entry.PhoneNumber;
  if (ctx_.Entry.UseList == 1) caption += "   UserID(" + std::to_string(session.UserIndex) + ")";
  SetCaption(caption);
  cmdCancel.SetVisible(false);
  if (cmdInfo.Caption() == kCaptionOptions) cmdInfo.SetVisible(false);
  if (Height() > kDetailsShownAbove) {
    cmdInfo.SetCaption(kCaptionHideDetails);
    cmdInfo.SetVisible(true);
    cmdInfo.Move(cmdInfo.Left(), cmdInfo.Top(), kInfoWidthRedial, cmdInfo.Height());
  }
  txtErr.SetText("");
  Image1.SetVisible(true);
  Image2.SetVisible(false);
  session.RedialCount = 0;
  session.RetryCount = 0;
  session.ConnectionHandle = DialEntry(ctx_, "", kPhonebookEntryName);
  ReportRefusedDial(ctx_);
}

void DialerForm::mnuDisconnect_Click() {
  // While waiting to reconnect the item reads "&Connect": the user wants the
  // line back now rather than after the pause.
  if (ctx_.Supervisor.LineDropped == 1) {
    ReconnectNow();
    return;
  }
  DisconnectActiveLine();
}

bool DialerForm::DisconnectActiveLine() {
  DialSession& session = ctx_.Session;
  const uint8_t wasHooked = session.Hooked;
  session.DisconnectRequested = 1;
  UnhookDialEvents(ctx_);
  std::vector<ActiveConnection> connections;
  const int count = ctx_.Platform.DialUp.EnumActiveConnections(connections);
  // A service that cannot list its connections still knows the one this
  // program dialled: the user asked for it to go, so it goes.
  const bool listed = count != kConnectionsUnknown;
  if (listed && (count == 0 || connections.empty())) return true;
  const RasHandle line = listed ? connections.back().Handle : session.ConnectionHandle;
  // The answer counts only when the question was asked now: "Do not ask me
  // again" after a No must not block every later disconnect.
  if (ctx_.Entry.DoNotAsk == 0) {
    ctx_.Platform.Forms.ShowModal(ctx_.frmMessage);
    if (ctx_.frmMessage.DisconnectDeclined == 1) {
      // The user keeps the line: nothing of the disconnect may linger, or a
      // later drop would end the program instead of reconnecting.
      session.DisconnectRequested = 0;
      session.Hooked = wasHooked;
      return false;
    }
  }
  HangUpConnection(ctx_.Platform.DialUp, line, ctx_.LastResult);
  session.CancelRequested = 1;
  Unload();
  return true;
}

}  // namespace corvane
