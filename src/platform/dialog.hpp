#pragma once
// Dialogs the program draws itself in windows of its own. Where no such window can show,
// the dialog's content goes elsewhere as plain text: the headless backend records it for
// the tests, and without a display it is written to stderr.
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct DialogReport {
  std::string caption;  // UTF-8
  // The dialog's fields in reading order: a label ("Error Code:", may be empty) and the
  // text it shows (UTF-8, lines separated by "\n").
  std::vector<std::pair<std::string, std::string>> fields;
  // The text of the field with this label; empty when there is none.
  std::string Field(const std::string& label) const;
};

// Announces a modal dialog. True: the caller opens its window and runs it. False: the
// backend took the report instead and the dialog counts as closed.
bool AnnounceDialog(const DialogReport& report);
// The report on stderr, for a dialog whose window could not be opened.
void ReportDialogOnStderr(const DialogReport& report);

}  // namespace platform
