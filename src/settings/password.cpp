// Password scrambling with the installation key ("Product" of the settings root).
#include "settings/password.h"

#include <cstddef>

namespace corvane {

namespace {

constexpr unsigned kOffset = 66;
constexpr unsigned kMaxByte = 255;

const char* const kNoKeyText = "Please reinstall Corvane";
const char* const kNoKeyTitle = "Data cannot be saved";
const char* const kCannotHoldTitle = "Data cannot be saved";

unsigned Code(char c) { return static_cast<unsigned char>(c); }

// The installation key written twice in a row: the pad of the scrambling.
std::string ReadPad(SettingsStore& store) {
  std::string key = store.ReadRegValue(store.SettingsRoot, "Product");
  std::string pad = key + key;
  WipeText(key);
  return pad;
}

}  // namespace

void WipeText(std::string& text) {
  volatile char* bytes = text.data();
  for (size_t i = 0; i < text.size(); ++i) bytes[i] = '\0';
  text.clear();
}

std::optional<std::string> EncodePassword(const std::string& typed, SettingsStore& store,
                                          MessageBoxPort& messages) {
  if (typed.empty()) return typed;

  std::string pad = ReadPad(store);
  if (pad.empty()) {
    messages.Show(kNoKeyText, kNoKeyTitle, MsgIcon::Critical, MsgButtons::Ok);
    return std::nullopt;
  }

  // Refuse what the scrambling cannot hold rather than storing a text that
  // would never unscramble to what the user typed.
  if (typed.size() > pad.size()) {
    const std::string text = "The password is too long to be stored safely. Please use at most " +
                             std::to_string(pad.size()) + " characters.";
    WipeText(pad);
    messages.Show(text, kCannotHoldTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    return std::nullopt;
  }
  std::string scrambled(typed.size(), '\0');
  for (size_t i = 0; i < typed.size(); ++i) {
    const unsigned code = Code(typed[i]) + Code(pad[i]) + kOffset;
    if (code > kMaxByte) {
      WipeText(pad);
      WipeText(scrambled);
      messages.Show(
          "The password contains a character that cannot be stored safely. Please use letters, "
          "digits and common punctuation only.",
          kCannotHoldTitle, MsgIcon::Exclamation, MsgButtons::Ok);
      return std::nullopt;
    }
    scrambled[i] = static_cast<char>(code);
  }
  WipeText(pad);
  return scrambled;
}

std::optional<std::string> DecodePassword(const std::string& stored, const EntrySettings& entry,
                                          SettingsStore& store) {
  if (entry.UseList == 1) return stored;
  if (stored.empty()) return stored;

  std::string pad = ReadPad(store);
  if (stored.size() > pad.size()) {
    WipeText(pad);
    return std::nullopt;
  }
  std::string plain(stored.size(), '\0');
  for (size_t i = 0; i < stored.size(); ++i) {
    const unsigned taken = Code(pad[i]) + kOffset;
    // A byte at or below its pad byte + 66 was not scrambled with this key
    // (a NUL would also cut the password short at the dial-up service).
    if (Code(stored[i]) <= taken) {
      WipeText(pad);
      WipeText(plain);
      return std::nullopt;
    }
    plain[i] = static_cast<char>(Code(stored[i]) - taken);
  }
  WipeText(pad);
  return plain;
}

}  // namespace corvane
