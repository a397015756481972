// ServiceErrorText: a text for every code the stand-in reports, and for the
// other failures a scenario can name.
#include "error_texts.h"

namespace standin {

namespace {

struct Text {
  DWORD code;
  const char* text;
};

const Text kTexts[] = {
    {600, "An operation is pending."},
    {601, "The port handle is not valid."},
    {602, "The port is already open."},
    {603, "The buffer supplied is too small."},
    {604, "Wrong information was specified."},
    {606, "The port is not connected."},
    {608, "The device does not exist."},
    {609, "The device type does not exist."},
    {610, "The buffer supplied is not valid."},
    {615, "The port was not found."},
    {616, "An asynchronous request is pending."},
    {617, "The port or device is already disconnecting."},
    {618, "The port is not open."},
    {619, "The port is disconnected."},
    {621, "The phonebook file cannot be opened."},
    {622, "The phonebook file cannot be loaded."},
    {623, "The phonebook entry cannot be found."},
    {624, "The phonebook file cannot be written."},
    {625, "The phonebook file contains data that is not valid."},
    {628, "The connection was closed."},
    {629, "The connection was closed by the remote computer."},
    {630, "The connection was closed because of a hardware failure."},
    {631, "The connection was closed by the user."},
    {632, "The structure size is not correct."},
    {633, "The modem is already in use or is not set up for dialling out."},
    {635, "An unknown error occurred."},
    {638, "The request has timed out."},
    {645, "An internal authentication error occurred."},
    {646, "The account is not permitted to log on at this time of day."},
    {647, "The account is disabled."},
    {648, "The password for this account has expired."},
    {649, "The account does not have permission to dial in."},
    {650, "The remote access server is not responding."},
    {651, "The modem reported an error."},
    {668, "The connection was lost."},
    {676, "The phone line is busy."},
    {677, "A person answered instead of a modem."},
    {678, "There was no answer."},
    {679, "No carrier was detected."},
    {680, "There was no dial tone."},
    {691, "Access was denied because the user name or password is not valid on the domain."},
    {692, "There was a hardware failure in the modem or another connecting device."},
    {718, "The connection timed out waiting for a valid response from the remote computer."},
    {721, "The remote computer did not respond."},
    {756, "This connection is already being dialled."},
    {797, "The connection could not be made because the modem was not found or was busy."},
};

}  // namespace

const char* ServiceErrorText(DWORD code) {
  for (const Text& text : kTexts) {
    if (text.code == code) return text.text;
  }
  return nullptr;
}

}  // namespace standin
