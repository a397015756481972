// AppendToDetailsLog.
#include "ui/details_log.h"

namespace corvane {

void AppendToDetailsLog(forms::TextBox& log, const std::string& text) {
  const std::string& kept = log.Text();
  std::string details = kept.empty() ? text : kept + "\r\n" + text;
  if (details.size() > kDetailsLogLimit) {
    // Whole lines go, the oldest first.
    const size_t cut = details.size() - kDetailsLogLimit;
    const size_t lineEnd = details.find("\r\n", cut);
    details.erase(0, lineEnd == std::string::npos ? cut : lineEnd + 2);
  }
  log.SetText(details);
  log.SetSelectionToEnd();
}

}  // namespace corvane
