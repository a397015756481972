// The request is written under another name and renamed, so the script never
// reads half a line.
#include "picture_request.h"

#include <fstream>

#include "support/program_under_test.h"

namespace corvane::gallery {

bool RequestPicture(const std::string& folder, const std::string& name, const RECT& area) {
  const std::string request = folder + name + ".rect";
  const std::string draft = request + ".new";
  {
    std::ofstream out(draft, std::ios::trunc);
    out << (area.right - area.left) << 'x' << (area.bottom - area.top) << '+' << area.left << '+' << area.top
        << '\n';
  }
  if (!MoveFileExA(draft.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  const std::string answer = folder + name + ".png";
  return testing::WaitUntil([&] { return GetFileAttributesA(answer.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000);
}

}  // namespace corvane::gallery
