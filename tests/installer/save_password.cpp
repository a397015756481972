// Test helper run under Wine: stores a password for an entry as saving the
// entry does, scrambled with this installation's key, so that a test can show
// that what an installation leaves behind still unscrambles it.
// Usage: save_password.exe ENTRY PASSWORD. Exit code 0 when stored.
#include <cstdio>
#include <string>

#include "settings/password.h"
#include "settings/settings_store.h"
#include "win32/win32_registry.h"

namespace {

// A refusal goes to the test's output instead of a box nobody closes.
class PrintedMessages : public corvane::MessageBoxPort {
 public:
  corvane::MsgResult Show(const std::string& text, const std::string& title, corvane::MsgIcon,
                          corvane::MsgButtons) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return corvane::MsgResult::Ok;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: save_password ENTRY PASSWORD\n", stderr);
    return 2;
  }
  corvane::Win32Registry registry;
  corvane::SettingsStore store(registry);
  PrintedMessages messages;
  const auto scrambled = corvane::EncodePassword(argv[2], store, messages);
  if (!scrambled) return 1;
  return store.SaveRegValue(store.SettingsRoot + argv[1], "Password", *scrambled) ? 0 : 1;
}
