// The user's actions on connect and disconnect: what they learn of the
// line (environment variables, never spliced into their command line, so a
// number from the number file cannot become a command), and their start,
// which never holds up the connection or the booking.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/line_actions.h"
#include "stats/connection_record.h"
#include "system/process_port.h"

namespace corvane {

// The names of the variables an action finds.
inline constexpr const char* kActionEventVariable = "CORVANE_EVENT";  // "connect" or "disconnect"
inline constexpr const char* kActionEntryVariable = "CORVANE_ENTRY";
inline constexpr const char* kActionNumberVariable = "CORVANE_NUMBER";
inline constexpr const char* kActionLoginVariable = "CORVANE_LOGIN";
inline constexpr const char* kActionSpeedVariable = "CORVANE_SPEED";  // bits per second at connect
inline constexpr const char* kActionSecondsVariable = "CORVANE_SECONDS";
inline constexpr const char* kActionSentVariable = "CORVANE_BYTES_SENT";
inline constexpr const char* kActionReceivedVariable = "CORVANE_BYTES_RECEIVED";
inline constexpr const char* kActionEndedByVariable = "CORVANE_ENDED_BY";  // as the connection log names it

// The line that came up: its entry (as the user knows it), number, login
// and connect speed.
std::vector<EnvironmentVariable> ConnectActionVariables(const std::string& entryName, const std::string& number,
                                                        const std::string& login, uint32_t bitsPerSecond);

// The line that ended, from its booked record: the connect variables, then
// its seconds, traffic and how it ended.
std::vector<EnvironmentVariable> DisconnectActionVariables(const ConnectionRecord& ended);

// Starts `action` with `variables`. Empty when it started (or none is
// set); otherwise the line for the details log.
std::string StartLineAction(ProcessPort& processes, const LineAction& action,
                            const std::vector<EnvironmentVariable>& variables);

}  // namespace corvane
