#pragma once
// The DirectX error dialog: a small window of our own, drawn with the text layer, showing
// the title line, the error name and code, and a details box (the description, the
// message of the pending error and the caller's text) that the "Details" button shows
// and hides. Where no window can be opened its fields go to stderr; the headless backend
// records them.
#include <cstdint>
#include <string>

#include "platform/window.hpp"

// Sizes in twips (15 to the pixel), as the form was designed.
constexpr int32_t kDXErrBreite = 6225;          // client width
constexpr int32_t kDXErrHoeheDetails = 3945;    // outer height with the details box
constexpr int32_t kDXErrHoeheOhne = 2625;       // outer height without it
constexpr int32_t kDXErrTitelleiste = 375;      // the caption bar within the outer height
constexpr int32_t kTwipsProPixel = 15;

struct DXErrDispForm {
  bool Geladen = false;  // made on first use, forgotten when closed (not when hidden)
  bool Sichtbar = false;
  std::string Caption = "DirectX 7 Error";
  // The controls' texts; the labels' stored texts until ShowDXError replaces them.
  std::string DirectX7Err;
  std::string ErrorID = "Error ID:";
  std::string ErrorCode = "Error Code:";
  std::string OkayBTN = "Okay";
  std::string DetailsBTN = "No Details <<";
  std::string DXErrorDesc = "Description:";
  std::string MSDescription;  // lines separated by CR LF
  // Code page of the details' lines after the first (the description, which is ASCII or
  // Cyrillic): the language's.
  int DetailsCodePage = 1252;
  int32_t Height = kDXErrHoeheDetails;  // outer height, twips

  // The window and what the mouse and keyboard are doing to the buttons.
  platform::HWnd Fenster = 0;
  int Gedrueckt = 0;  // 0 none, 1 Okay, 2 Details: held down by the mouse
  int Fokus = 1;      // the button Enter and Space press
  // The details box scrolls when its text is longer than it: the first line shown, and
  // the wrapped lines there are and fit.
  int32_t Rollen = 0;
  int32_t ZeilenGesamt = 0;
  int32_t ZeilenSichtbar = 0;
};
inline DXErrDispForm DXErrDispFRM;

// Makes the form on first use (the details box open) and keeps it until it is closed.
void DXErrDispFRM_Load();
// Shows or hides the details box: the button's caption and the dialog's height change.
void DXErrDispFRM_DetailsBTN_Click();
// Hides the dialog, which ends its modal display.
void DXErrDispFRM_OkayBTN_Click();
// Shows the dialog modally and pumps the window messages until it is hidden or closed.
void DXErrDispFRM_ShowModal();
