// The status text the dialer window shows for a state of a dial.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The status text of a connection state; empty for an unknown state.
std::string DialStateText(uint32_t state);

}  // namespace corvane
