// Dial start: hooking the progress messages, preparing an attempt with the
// login rotation, and issuing the asynchronous dial.
#include <algorithm>
#include <cmath>
#include <random>

#include "app/app_context.h"
#include "app/dialer_captions.h"
#include "app/dialing.h"
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

std::string UserIdSuffix(const AppContext& ctx) {
  return "   UserID(" + std::to_string(ctx.Session.UserIndex) + ")";
}

void ShowDialingError(AppContext& ctx, const std::string& text) {
  ctx.Platform.Messages.Show(text, "Dialing Error", MsgIcon::Exclamation, MsgButtons::Ok);
}

std::string TooLongText(const std::string& what, size_t limit) {
  return "The " + what + " is too long. It can have at most " + std::to_string(limit) + " characters.";
}

}  // namespace

bool CheckDialTexts(AppContext& ctx) {
  const EntrySettings& entry = ctx.Entry;
  if (entry.PhoneNumber.size() > kMaxDialPhoneNumber) {
    ShowDialingError(ctx, TooLongText("phone number", kMaxDialPhoneNumber));
    return false;
  }
  if (entry.UseList == 1) {
    const DialSession& session = ctx.Session;
    const size_t logins = std::min(session.UserNames.size(), session.UserPasswords.size());
    for (size_t i = 1; i < logins; ++i) {
      if (session.UserNames[i].size() > kMaxDialUserName || session.UserPasswords[i].size() > kMaxDialPassword) {
        ShowDialingError(ctx, "Login " + std::to_string(i) +
                                  " of the user list is too long. A user name or password can have at most " +
                                  std::to_string(kMaxDialUserName) + " characters.");
        return false;
      }
    }
    return true;
  }
  if (entry.UserName.size() > kMaxDialUserName) {
    ShowDialingError(ctx, TooLongText("user name", kMaxDialUserName));
    return false;
  }
  std::optional<std::string> password = DecodePassword(entry.Password, entry, ctx.Store);
  if (!password.has_value()) {
    ShowDialingError(ctx, "The stored password cannot be unscrambled on this computer.\r\n"
                          "Please enter it again in 'Options'.");
    ctx.frmDialer.ShowOptionsWindow(DialerForm::kLoginTab);
    return false;
  }
  const size_t passwordLength = password->size();
  WipeText(*password);
  if (passwordLength > kMaxDialPassword) {
    ShowDialingError(ctx, TooLongText("password", kMaxDialPassword));
    return false;
  }
  return true;
}

void HookDialEvents(AppContext& ctx) {
  DialSession& session = ctx.Session;
  if (session.DialEventMessage == 0) session.DialEventMessage = ctx.Platform.DialUp.DialEventMessage();
  session.Hooked = 1;
}

void UnhookDialEvents(AppContext& ctx) { ctx.Session.Hooked = 0; }

void PrepareAndDial(AppContext& ctx) {
  DialSession& session = ctx.Session;
  EntrySettings& entry = ctx.Entry;
  DialerForm& dialer = ctx.frmDialer;

  session.RetryPending = 0;
  // The status takes the whole row the number field had.
  dialer.lblMess.Move(dialer.lblMess.Left(), dialer.lblMess.Top(), DialerForm::kStatusWidth,
                      dialer.lblMess.Height());
  dialer.lblMess.SetCaption("Status:  Opening port...");
  dialer.Image1.SetVisible(true);
  dialer.Image2.SetVisible(false);
  dialer.cmdShowOnTime.SetVisible(true);

  if (entry.UseList == 1) {
    if (session.UserCount > 0) {
      if (session.UserIndex == 0) session.UserIndex = RandomStart(ctx.Random, session.UserCount);
      session.UserIndex = session.UserIndex < session.UserCount ? session.UserIndex + 1 : 1;
    } else {
      // No readable user list: dial without a login rather than with a stale one.
      session.UserIndex = 0;
    }
    dialer.cmdCancel.SetVisible(false);
    dialer.SetCaption("Dialing: " + session.LocationName + "  " + entry.PhoneNumber + UserIdSuffix(ctx));
    const auto index = static_cast<size_t>(session.UserIndex);
    const bool known = session.UserIndex > 0 && index < session.UserNames.size() &&
                       index < session.UserPasswords.size();
    WipeText(entry.Password);
    entry.UserName = known ? session.UserNames[index] : std::string();
    entry.Password = known ? session.UserPasswords[index] : std::string();
  }

  session.ConnectionHandle = DialEntry(ctx, "", kPhonebookEntryName);
  // The timer also performs the re-dials the dial-event procedure hands
  // over, so it runs whether or not online time is monitored.
  if (session.ConnectionHandle != 0) dialer.Timer1.SetEnabled(true);
  if (session.ConnectionHandle != 0) {
    const std::string& line = entry.UseList == 1 ? dialer.cmbList.Text() : dialer.txtCombo.Text();
    ctx.Store.SaveRegValue(ctx.Store.SettingsRoot + ctx.CurrentEntryName, "LastDialedLocation", line);
  }

  dialer.cmdDial.SetCaption(kCaptionCancel);
  dialer.cmdCancel.SetVisible(false);
  dialer.cmbList.SetVisible(false);
  dialer.txtCombo.SetVisible(false);
  dialer.lblMess.SetVisible(true);
  ReportRefusedDial(ctx);
}

uintptr_t DialEntry(AppContext& ctx, const std::string& phonebook, const std::string& entryName) {
  DialSession& session = ctx.Session;
  const EntrySettings& entry = ctx.Entry;
  DialUpService& service = ctx.Platform.DialUp;

  DialParams params;
  params.EntryName = entryName;
  params.PhoneNumber = entry.PhoneNumber;
  params.UserName = entry.UserName;
  // A password this installation cannot unscramble is never dialled, not
  // even empty: the refused logins would follow one another until the
  // provider locks the account. CheckDialTexts has told the user.
  std::optional<std::string> password = DecodePassword(entry.Password, entry, ctx.Store);
  if (!password.has_value()) return 0;
  params.Password = *password;
  WipeText(*password);
  service.BuildDialParams(params);
  WipeText(params.Password);

  if (session.CancelRequested == 1) return 0;
  session.CancelRequested = 0;
  session.BusyRedialPending = 0;

  RasHandle handle = 0;
  ctx.LastResult = service.Dial(phonebook, ctx.frmDialer.WindowHandle(), handle);
  session.RefusedWith = ctx.LastResult;
  session.EndedHandle = 0;
  session.EndedFromStatus = 0;
  return handle;
}

void ReportRefusedDial(AppContext& ctx) {
  DialSession& session = ctx.Session;
  if (session.RefusedWith == 0) return;
  // As the service reports a failure in the first state; the failure
  // procedure reads RefusedWith to stop rather than retry a refused request.
  OnDialEvent(ctx, session.DialEventMessage, 0, session.RefusedWith);
  session.RefusedWith = 0;
}

}  // namespace corvane
