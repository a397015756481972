// What the windows that show the running connection may read of it: whether
// the line is up or waits to reconnect, which entry it belongs to, and its
// handle. They never change it.
#pragma once

#include <cstdint>
#include <string>

#include "dial/dialup_service.h"
#include "settings/entry_settings.h"

namespace corvane {

class LiveConnection {
 public:
  virtual ~LiveConnection() = default;

  // A line is up: dialled and connected, or the custom entry's seen.
  virtual bool IsConnected() const = 0;
  // A dropped line waits out its reconnect pause.
  virtual bool LineDropped() const = 0;
  // Seconds left of that pause, as the supervisor last computed them.
  virtual float ReconnectCountdown() const = 0;
  // The running connection: the dialled one, or the one a custom entry's
  // provider program made; 0 when there is none.
  virtual RasHandle RunningConnection() const = 0;
  // The entry the connection runs, and its record as the connection uses
  // it (saving that entry in the options window is the one way to change it).
  virtual const std::string& RunningEntryName() const = 0;
  virtual const EntrySettings& RunningEntry() const = 0;
  // The phone-list line picked in the dialer window for the running entry
  // (empty without one); the next dial uses it.
  virtual std::string ChosenPhoneLine() const = 0;
  // The running line's bytes sent and received as last read (its record
  // for the connection log keeps them); only while IsConnected means a line.
  virtual uint64_t LineBytes() const = 0;
  // Seconds until the line is hung up for being idle, while such a
  // countdown runs; negative otherwise.
  virtual double IdleSecondsLeft() const = 0;
  // What the running line has cost so far under its entry's tariff, every
  // started unit whole; 0 without a tariff or a monitored line.
  virtual int64_t LineCost() const = 0;
};

}  // namespace corvane
