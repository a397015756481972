// Dial start: hooking the progress messages, preparing an attempt with the
// login rotation, and issuing the asynchronous dial.
#include <algorithm>
#include <cmath>
#include <random>

#include "app/connection.h"
#include "app/dialer_captions.h"
#include "app/dialer_form.h"
#include "dial/dialup_service.h"
#include "dial/phonebook_entry.h"
#include "settings/password.h"
#include "system/message_box_port.h"

namespace corvane {

namespace {

// The first login of a run is the one after a random start, so several
// users of the same list don't all begin with login 1.
int32_t RandomStart(std::mt19937& generator, int32_t userCount) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  return static_cast<int32_t>(std::floor(unit(generator) * userCount + 1));
}

void ShowDialingError(MessageBoxPort& messages, const std::string& text) {
  messages.Show(text, "Dialing Error", MsgIcon::Exclamation, MsgButtons::Ok);
}

std::string TooLongText(const std::string& what, size_t limit) {
  return "The " + what + " is too long. It can have at most " + std::to_string(limit) + " characters.";
}

}  // namespace

// False, after telling the user why, when the number or a login cannot be
// dialled as it is: longer than the service's dial record holds (it would
// be cut without a word), or a stored password this computer cannot
// unscramble (the options window is opened on its logins).
bool Connection::CheckDialTexts() {
  const EntrySettings& entry = entry_;
  MessageBoxPort& messages = ports_.Messages;
  if (entry.PhoneNumber.size() > kMaxDialPhoneNumber) {
    ShowDialingError(messages, TooLongText("phone number", kMaxDialPhoneNumber));
    return false;
  }
  if (entry.UseList == 1) {
    const DialSession& session = session_;
    const size_t logins = std::min(session.UserNames.size(), session.UserPasswords.size());
    for (size_t i = 1; i < logins; ++i) {
      if (session.UserNames[i].size() > kMaxDialUserName || session.UserPasswords[i].size() > kMaxDialPassword) {
        ShowDialingError(messages, "Login " + std::to_string(i) +
                                  " of the user list is too long. A user name or password can have at most " +
                                  std::to_string(kMaxDialUserName) + " characters.");
        return false;
      }
    }
    return true;
  }
  if (entry.UserName.size() > kMaxDialUserName) {
    ShowDialingError(messages, TooLongText("user name", kMaxDialUserName));
    return false;
  }
  std::optional<std::string> password = DecodePassword(entry.Password, entry, store_);
  if (!password.has_value()) {
    ShowDialingError(messages, "The stored password cannot be unscrambled on this computer.\r\n"
                               "Please enter it again in 'Options'.");
    if (windows_.showOptions) windows_.showOptions(DialerForm::kLoginTab);
    return false;
  }
  const size_t passwordLength = password->size();
  WipeText(*password);
  if (passwordLength > kMaxDialPassword) {
    ShowDialingError(messages, TooLongText("password", kMaxDialPassword));
    return false;
  }
  return true;
}

// Prepares the window and starts one attempt (next login in list mode).
void Connection::PrepareAndDial() {
  DialSession& session = session_;
  EntrySettings& entry = entry_;
  DialerForm& dialer = *view_;

  // The status takes the whole row the number field had.
  dialer.lblMess.Move(dialer.lblMess.Left(), dialer.lblMess.Top(), DialerForm::kStatusWidth,
                      dialer.lblMess.Height());
  dialer.lblMess.SetCaption("Status:  Opening port...");
  dialer.Image1.SetVisible(true);
  dialer.Image2.SetVisible(false);
  dialer.cmdShowOnTime.SetVisible(true);

  if (entry.UseList == 1) {
    if (session.UserCount > 0) {
      if (session.UserIndex == 0) session.UserIndex = RandomStart(random_, session.UserCount);
      session.UserIndex = session.UserIndex < session.UserCount ? session.UserIndex + 1 : 1;
    } else {
      // No readable user list: dial without a login rather than with a stale one.
      session.UserIndex = 0;
    }
    dialer.cmdCancel.SetVisible(false);
    dialer.SetCaption("Dialing: " + session.LocationName + "  " + entry.PhoneNumber + ListModeSuffix());
    const auto index = static_cast<size_t>(session.UserIndex);
    const bool known = session.UserIndex > 0 && index < session.UserNames.size() &&
                       index < session.UserPasswords.size();
    WipeText(entry.Password);
    entry.UserName = known ? session.UserNames[index] : std::string();
    entry.Password = known ? session.UserPasswords[index] : std::string();
  }

  session.ConnectionHandle = DialEntry();
  if (session.ConnectionHandle != 0) {
    const std::string& line = entry.UseList == 1 ? dialer.cmbList.Text() : dialer.txtCombo.Text();
    store_.SaveRegValue(RunningEntryKey(), "LastDialedLocation", line);
    entry.LastDialedLocation = line;
  }

  dialer.cmdDial.SetCaption(kCaptionCancel);
  dialer.cmdCancel.SetVisible(false);
  dialer.cmbList.SetVisible(false);
  dialer.txtCombo.SetVisible(false);
  dialer.lblMess.SetVisible(true);
  ReportRefusedDial();
}

// Dials the program's phonebook entry with the running entry's number,
// login and password; the new connection handle, 0 when nothing was dialled.
// A dial issued is in flight until its progress says how it ended.
RasHandle Connection::DialEntry() {
  const EntrySettings& entry = entry_;
  DialUpService& service = ports_.DialUp;

  DialParams params;
  params.EntryName = kPhonebookEntryName;
  params.PhoneNumber = entry.PhoneNumber;
  params.UserName = entry.UserName;
  // A password this installation cannot unscramble is never dialled, not
  // even empty: the refused logins would follow one another until the
  // provider locks the account. CheckDialTexts has told the user.
  std::optional<std::string> password = DecodePassword(entry.Password, entry, store_);
  if (!password.has_value()) return 0;
  params.Password = *password;
  WipeText(*password);
  service.BuildDialParams(params);
  WipeText(params.Password);

  if (phase_ == Phase::Ending) return 0;

  // Every dial's progress reaches the dial-event procedure, whichever
  // command issued it (Dial, Redial, a hand-off), and a new dial is no
  // longer under a Disconnect chosen before it.
  if (session_.DialEventMessage == 0) session_.DialEventMessage = service.DialEventMessage();
  session_.Hooked = 1;
  disconnectRequested_ = false;
  RasHandle handle = 0;
  lastResult_ = service.Dial("", view_->WindowHandle(), handle);
  session_.RefusedWith = lastResult_;
  session_.EndedHandle = 0;
  session_.EndedFromStatus = 0;
  SetPhase(Phase::Dialling);
  return handle;
}

// A dial the service refused at once is never reported by a progress
// message: handles that refusal as the failure of the attempt (once its
// caller has set up the window).
void Connection::ReportRefusedDial() {
  if (session_.RefusedWith == 0) return;
  // As the service reports a failure in the first state; the failure
  // procedure reads RefusedWith to stop rather than retry a refused request.
  OnDialEvent(0, session_.RefusedWith);
  session_.RefusedWith = 0;
}

}  // namespace corvane
