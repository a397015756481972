// Dial start: hooking the progress messages, preparing an attempt with the
// login rotation, and issuing the asynchronous dial.
#include <cmath>
#include <random>

#include "app/app_context.h"
#include "app/dialer_captions.h"
#include "app/dialing.h"
#include "dial/dialup_service.h"
#include "dial/phonebook_entry.h"
#include "settings/password.h"

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

}  // namespace

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
}

uintptr_t DialEntry(AppContext& ctx, const std::string& phonebook, const std::string& entryName) {
  DialSession& session = ctx.Session;
  const EntrySettings& entry = ctx.Entry;
  DialUpService& service = ctx.Platform.DialUp;

  DialParams params;
  params.EntryName = entryName;
  params.PhoneNumber = entry.PhoneNumber;
  params.UserName = entry.UserName;
  // A password this installation cannot unscramble is sent empty: the
  // service then refuses the login and the user sees why.
  std::optional<std::string> password = DecodePassword(entry.Password, entry, ctx.Store);
  if (password.has_value()) params.Password = *password;
  service.BuildDialParams(params);
  WipeText(params.Password);
  if (password.has_value()) WipeText(*password);

  if (session.CancelRequested == 1) return 0;
  session.CancelRequested = 0;
  session.BusyRedialPending = 0;

  RasHandle handle = 0;
  ctx.LastResult = service.Dial(phonebook, ctx.frmDialer.WindowHandle(), handle);
  return handle;
}

}  // namespace corvane
