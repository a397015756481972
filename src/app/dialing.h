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

// Prepares the window and starts one attempt (next login in list mode).
void PrepareAndDial(AppContext& ctx);

// Dials `entryName` with the entry's number, login and password; the new
// connection handle, 0 when nothing was dialled.
uintptr_t DialEntry(AppContext& ctx, const std::string& phonebook, const std::string& entryName);

// The status text of a connection state; empty for an unknown state.
std::string DialStateText(uint32_t state);

// One progress message: status, details log, connect actions, and what
// follows a failed attempt.
void OnDialEvent(AppContext& ctx, uint32_t message, uint32_t state, int32_t error);

}  // namespace corvane
