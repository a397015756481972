// The dialer window's dial commands: Dial (which reads Cancel during a
// dial) and Cancel (which reads Redial after the redials ended).
#include "app/connection.h"
#include "app/dialer_captions.h"
#include "app/dialer_form.h"
#include "system/message_box_port.h"
#include "ui/bring_to_front.h"

namespace corvane {

void Connection::DialClicked() {
  DialerForm& view = *view_;
  if (view.cmdDial.Caption() != kCaptionDial) {
    EndLine(ConnectionEnd::User);
    EndProgram();
    return;
  }
  // A dial starts from nothing live: a reconnect wait ends here too, even
  // when the number turns out to be missing.
  SetPhase(Phase::Idle);
  FindPhoneNumber();
  if (entry_.PhoneNumber.empty()) {
    ports_.Messages.Show("Missing phone number.", "Dialing Error", MsgIcon::Exclamation, MsgButtons::Ok);
    return;
  }
  if (!CheckDialTexts() || !DialPastAllowanceAllowed()) return;
  view.cmdInfo.SetVisible(false);
  BringToFront(view);
  dialAnimationFrame_ = 4;
  PrepareAndDial();
}

void Connection::CancelClicked() {
  DialerForm& view = *view_;
  const std::string caption = view.cmdCancel.Caption();
  if (caption != kCaptionRedial) {
    if (caption == kCaptionCancel) EndLine(ConnectionEnd::User);
    EndProgram();
    return;
  }
  RedialButton();
}

// The Redial button after the redials ended: the same number and login
// again, with the counts started afresh.
void Connection::RedialButton() {
  DialerForm& view = *view_;
  view.SetCaption("Redialing: " + session_.LocationName + "  " + entry_.PhoneNumber + ListModeSuffix());
  view.cmdCancel.SetVisible(false);
  if (view.cmdInfo.Caption() == kCaptionOptions) view.cmdInfo.SetVisible(false);
  if (view.Height() > DialerForm::kDetailsShownAbove) {
    view.cmdInfo.SetCaption(kCaptionHideDetails);
    view.cmdInfo.SetVisible(true);
    view.cmdInfo.Move(view.cmdInfo.Left(), view.cmdInfo.Top(), DialerForm::kInfoWidthRedial,
                      view.cmdInfo.Height());
  }
  view.txtErr.SetText("");
  view.Image1.SetVisible(true);
  view.Image2.SetVisible(false);
  session_.RedialCount = 0;
  session_.RetryCount = 0;
  session_.ConnectionHandle = DialEntry();
  ReportRefusedDial();
}

}  // namespace corvane
