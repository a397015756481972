// DefaultBrowserPath.
#include "ui/default_browser.h"

#include "settings/settings_store.h"

namespace corvane {

namespace {

constexpr const char* kProbeFile = "dummy.html";
// The shell's codes up to this one are errors (e.g. 31: no association).
constexpr long kShellLastError = 32;

}  // namespace

std::string DefaultBrowserPath(ShellPort& shell) {
  const std::string folder = shell.TempFolder();
  // Without a temporary folder the probe would land in whatever the current
  // folder happens to be; there is nothing sensible to ask about.
  if (folder.empty()) return {};
  const std::string probe = folder + kProbeFile;
  shell.CreateEmptyFile(probe);
  std::string program;
  const long code = shell.FindExecutableFor(kProbeFile, folder, program);
  shell.RemoveFile(probe);
  // A failed search may leave anything in the buffer; only a found program counts.
  if (code <= kShellLastError) return {};
  return StripNull(program);
}

}  // namespace corvane
