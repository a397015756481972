// The running connection as the statistics windows see it: answers set by
// the test.
#pragma once

#include <string>

#include "stats/live_connection.h"

namespace corvane::testing {

class FakeLiveConnection : public LiveConnection {
 public:
  bool IsConnected() const override { return isConnected != 0; }
  bool LineDropped() const override { return lineDropped != 0; }
  float ReconnectCountdown() const override { return reconnectCountdown; }
  RasHandle RunningConnection() const override { return handle; }
  const std::string& RunningEntryName() const override { return entryName; }
  const EntrySettings& RunningEntry() const override { return entry; }
  std::string ChosenPhoneLine() const override { return phoneLine; }
  uint64_t LineBytes() const override { return lineBytes; }
  double IdleSecondsLeft() const override { return idleSecondsLeft; }
  int64_t LineCost() const override { return lineCost; }

  uint8_t isConnected = 0;
  uint8_t lineDropped = 0;
  float reconnectCountdown = 0;
  RasHandle handle = 0x5150;
  std::string entryName = "Work";
  EntrySettings entry;
  std::string phoneLine;
  uint64_t lineBytes = 0;
  double idleSecondsLeft = -1;
  int64_t lineCost = 0;
};

}  // namespace corvane::testing
