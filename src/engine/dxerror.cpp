#include "engine/dxerror.hpp"

#include "engine/dxerror_dialog.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"

std::string StandardFehlertext(int32_t ErrNumber) {
  switch (ErrNumber) {
    case 0: return "No error number was given.";
    case 5: return "Invalid procedure call or argument.";
    case 6: return "Overflow.";
    case 7: return "Out of memory.";
    case 9: return "Subscript out of range.";
    case 11: return "Division by zero.";
    case 13: return "Type mismatch.";
    case 52: return "Bad file name or number.";
    case 53: return "File not found.";
    case 57: return "Device I/O error.";
    case 61: return "Disk full.";
    case 62: return "Input past end of file.";
    case 70: return "Permission denied.";
    case 75: return "Path/File access error.";
    case 76: return "Path not found.";
    default: return "Unknown error " + std::to_string(ErrNumber) + ".";
  }
}

void ShowDXError(int32_t ErrNumber, int32_t Component, const std::string& Extra, const std::string& ErrDescription) {
  std::string name, beschreibung, code;
  for (const DXFehlerZeile& zeile : DXFehlerListe(Component)) {
    if (zeile.Code == ErrNumber) {
      name = zeile.Name;
      beschreibung = zeile.Beschreibung;
      code = std::to_string(zeile.Code);
      break;
    }
  }
  if (DebugModus) DebugLog("-----CRASH:");

  DXErrDispFRM_Load();
  if (name.empty()) {
    name = kLaufzeitfehlerName;
    beschreibung = StandardFehlertext(ErrNumber);
    code = std::to_string(ErrNumber);
    DXErrDispFRM.DirectX7Err = kLaufzeitfehlerTitel;
  } else {
    DXErrDispFRM.DirectX7Err = kDirectXFehlerTitel;
  }
  // One log entry, three lines: what the dialog shows, the pending error's message and
  // the caller's text.
  if (DebugModus) DebugLog(name + " " + code + " " + beschreibung + "\r\n" + ErrDescription + "\r\n" + Extra);

  DXErrDispFRM.ErrorID = name;
  DXErrDispFRM.MSDescription = beschreibung + "\r\n" + ErrDescription + "\r\n" + Extra;
  DXErrDispFRM.DetailsCodePage = Sprache == "R" ? 1251 : 1252;
  DXErrDispFRM.ErrorCode = code;
  DXErrDispFRM_ShowModal();
}
