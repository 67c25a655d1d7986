#include "platform/msgbox.hpp"

#include "platform/backend.hpp"

namespace platform {
int ButtonAnswers(int style, int out[3]) {
  switch (style & 0x0F) {
    case mb::OkCancel: out[0] = mb::Ok; out[1] = mb::Cancel; return 2;
    case mb::AbortRetryIgnore: out[0] = mb::Abort; out[1] = mb::Retry; out[2] = mb::Ignore; return 3;
    case mb::YesNoCancel: out[0] = mb::Yes; out[1] = mb::No; out[2] = mb::Cancel; return 3;
    case mb::YesNo: out[0] = mb::Yes; out[1] = mb::No; return 2;
    case mb::RetryCancel: out[0] = mb::Retry; out[1] = mb::Cancel; return 2;
    default: out[0] = mb::Ok; return 1;
  }
}

int DefaultAnswer(int style) {
  int answers[3];
  int n = ButtonAnswers(style, answers);
  int index = (style & 0xF00) / 256;
  return answers[index < n ? index : 0];
}

int DismissAnswer(int style) {
  switch (style & 0x0F) {
    case mb::OkCancel:
    case mb::YesNoCancel:
    case mb::RetryCancel: return mb::Cancel;
    case mb::AbortRetryIgnore: return mb::Abort;
    case mb::YesNo: return mb::No;
    default: return mb::Ok;
  }
}

int MessageBox(const std::string& textUtf8, const std::string& titleUtf8, int style) {
  return backend::ShowMessageBox(textUtf8, titleUtf8, style);
}

}  // namespace platform
