#pragma once
// Message boxes with texts in the game's code pages.
#include <string>

#include "platform/msgbox.hpp"

namespace mb = platform::mb;

// Shows a message box; text and title are Windows-1252 (or 1251 when `codePage` says so).
// Returns the answer (mb::Ok, mb::Yes, ...).
int MsgBox(const std::string& text, int style, const std::string& title = "", int codePage = 1252);

// A Russian text written in UTF-8 in the source, as the game stores it (Windows-1251).
std::string Cyr(const char* utf8);
