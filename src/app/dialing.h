// Starting a dial from the dialer window, routing the service's progress
// messages to the dial-event procedure, and what each message does.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

class AppContext;

// Lets the service's progress messages reach OnDialEvent.
void HookDialEvents(AppContext& ctx);
void UnhookDialEvents(AppContext& ctx);

// False, after telling the user why, when the number or a login cannot be
// dialled as it is: longer than the service's dial record holds (it would
// be cut without a word), or a stored password this computer cannot
// unscramble (the options window is opened on its logins).
bool CheckDialTexts(AppContext& ctx);

// Prepares the window and starts one attempt (next login in list mode).
void PrepareAndDial(AppContext& ctx);

// Dials `entryName` with the entry's number, login and password; the new
// connection handle, 0 when nothing was dialled.
uintptr_t DialEntry(AppContext& ctx, const std::string& phonebook, const std::string& entryName);

// A dial the service refused at once is never reported by a progress
// message: handles that refusal as the failure of the attempt (once its
// caller has set up the window).
void ReportRefusedDial(AppContext& ctx);

// While a dial runs and its progress messages do not come, asks the service
// how it ended and acts on that as the message would have (each tick).
void WatchSilentDial(AppContext& ctx);

// The status text of a connection state; empty for an unknown state.
std::string DialStateText(uint32_t state);

// One progress message: status, details log, connect actions, and what
// follows a failed attempt.
void OnDialEvent(AppContext& ctx, uint32_t message, uint32_t state, int32_t error);

}  // namespace corvane
