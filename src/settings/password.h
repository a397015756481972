// Scrambling of the single-user password with the installation key, so the
// stored text is useless on another computer. Works on the bytes of the
// ANSI text: scrambled code = plain code + key code + 66, with the key
// written twice in a row as the pad.
#pragma once

#include <optional>
#include <string>

#include "settings/entry_settings.h"
#include "settings/settings_store.h"
#include "system/message_box_port.h"

namespace corvane {

// The scrambled form of the password as typed, for storing as "Password".
// An empty text stays empty without reading the key. Every other text is
// scrambled, whatever its first byte: the options window never holds a
// stored password, so a typed "\xE9tude" is a password, not a stored one.
// nullopt = refused after telling the user why, nothing to store: no
// installation key, or a password the scrambling cannot hold (longer than
// twice the key, or a byte that with its key byte and 66 passes 255).
std::optional<std::string> EncodePassword(const std::string& typed, SettingsStore& store,
                                          MessageBoxPort& messages);

// The plain password for dialing. In list mode (entry.UseList = 1) the text
// is already plain and comes back unchanged. nullopt = the text cannot be
// unscrambled with this installation's key (key missing or too short, or a
// byte that was never scrambled with it); nothing is shown.
std::optional<std::string> DecodePassword(const std::string& stored, const EntrySettings& entry,
                                          SettingsStore& store);

// Overwrites the text's bytes before clearing it, for temporaries that held
// a plain password.
void WipeText(std::string& text);

}  // namespace corvane
