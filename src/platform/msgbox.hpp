#pragma once
// Message boxes, with the button, icon and default-button values and the answers of the
// Windows message box, which the game's code is written against.
#include <string>

namespace platform {

namespace mb {
constexpr int OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512;
// Answers.
constexpr int Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
}  // namespace mb

// Shows a modal box and returns the answer. Text and title are UTF-8. A box closed
// without an answer returns Cancel, No or Abort, whichever its buttons have (Ok for a
// box with only OK). Without a display the question goes to stderr and the default
// button is the answer.
int MessageBox(const std::string& textUtf8, const std::string& titleUtf8, int style);

// The answers of a box's buttons, left to right; returns how many there are (1 to 3).
int ButtonAnswers(int style, int out[3]);

// The answer that the default button gives.
int DefaultAnswer(int style);
// The answer of a box closed without pressing a button.
int DismissAnswer(int style);

}  // namespace platform
