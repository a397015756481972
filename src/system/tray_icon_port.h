// The dialer window's one icon in the notification area: added when a
// connection is made, changed while it waits to reconnect or when its
// tooltip is rebuilt, deleted when the program ends. While it is shown it
// can tell the user something that needs no answer in a balloon.
#pragma once

#include <cstddef>
#include <string>

namespace corvane {

// Modify's icon number that keeps the picture shown now.
inline constexpr int kTrayKeepIcon = 0;

// The tooltip holds this many characters; longer texts are cut.
inline constexpr size_t kTrayTipChars = 63;

// A balloon's title and text hold this many characters; longer ones are cut.
inline constexpr size_t kBalloonTitleChars = 63;
inline constexpr size_t kBalloonTextChars = 255;

class TrayIconPort {
 public:
  virtual ~TrayIconPort() = default;

  // Puts the icon showing icon resource `iconNumber` with tooltip `tip` into
  // the notification area. True when the shell took it.
  virtual bool Add(int iconNumber, const std::string& tip) = 0;

  // Changes the icon's picture (kTrayKeepIcon: unchanged) and tooltip.
  // True when the shell took it; false when no icon is shown.
  virtual bool Modify(int iconNumber, const std::string& tip) = 0;

  // Removes the icon. True when the shell removed it.
  virtual bool Delete() = 0;

  // Shows a notification from the icon: a balloon, which newer Windows shows
  // as a toast, with `title` and `text` (each cut to the shell's length).
  // True when the shell took it; false when no icon is shown.
  virtual bool ShowBalloon(const std::string& title, const std::string& text) = 0;
};

}  // namespace corvane
