#include "shell/msgbox.hpp"

#include "platform/codepage.hpp"

int MsgBox(const std::string& text, int style, const std::string& title, int codePage) {
  return platform::MessageBox(platform::CodePageToUtf8(text, codePage), platform::CodePageToUtf8(title, codePage),
                              style);
}

std::string Cyr(const char* utf8) { return platform::Utf8ToCp1251(utf8); }
