#include "platform/dialog.hpp"

#include <cstdio>

#include "platform/backend.hpp"

namespace platform {

std::string DialogReport::Field(const std::string& label) const {
  for (const auto& [l, text] : fields)
    if (l == label) return text;
  return {};
}

bool AnnounceDialog(const DialogReport& report) { return backend::AnnounceDialog(report); }

void ReportDialogOnStderr(const DialogReport& report) {
  std::string out = "== " + report.caption + " ==\n";
  for (const auto& [label, text] : report.fields) {
    // Continuation lines are indented under their label; empty ones stay empty.
    std::string body;
    size_t start = 0;
    for (;;) {
      size_t end = text.find('\n', start);
      std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      body += start == 0 ? line : "\n" + (line.empty() ? line : "  " + line);
      if (end == std::string::npos) break;
      start = end + 1;
    }
    out += label.empty() ? body + "\n" : label + " " + body + "\n";
  }
  std::fputs(out.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace platform
