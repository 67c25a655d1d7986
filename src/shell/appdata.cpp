#include "shell/appdata.hpp"

#include "platform/codepage.hpp"
#include "platform/fs.hpp"
#include "platform/process.hpp"
#include "run/program_state.hpp"
#include "shell/config.hpp"
#include "shell/err.hpp"
#include "shell/msgbox.hpp"

namespace {

std::string WithSlash(std::string s) {
  if (!platform::fs::EndsInSeparator(s)) s += '\\';
  return s;
}

// Creates `path` and any missing folders above it.
void CreateFolderTree(const std::string& path) {
  std::string resolved = platform::fs::Resolve(path);
  for (size_t i = 1; i <= resolved.size(); ++i)
    if (i == resolved.size() || resolved[i] == '/') platform::fs::MakeDir(resolved.substr(0, i));
}

}  // namespace

bool CreateAppDataFolder(const std::string& AppName, const std::string& ExtraFolder, bool AddSlash, int32_t CSIDL,
                         bool UseAppData) {
  try {
    std::string special = GetSpecialFolder(CSIDL);
    std::string candidate = special + "\\" + AppName;
    CheckWindowsVersion();
    if (!FolderExists(candidate, false) && (UseAppData || IsWindows6OrLater)) {
      // Without a special folder there is nowhere to create it (never the file-system root).
      if (!special.empty()) CreateFolderTree(candidate);
      if (special.empty() || !platform::fs::DirExists(candidate))
        throw Err{514, "Unable to create AppData Folder."};
    }
    std::string daten = (UseAppData || IsWindows6OrLater) ? candidate : platform::fs::ProgramFolder();
    if (!daten.empty() && daten.back() == '/' && daten.size() > 1) daten.pop_back();
    DatenOrdner = daten;
    if (!ExtraFolder.empty()) {
      std::string extra = DatenOrdner + "\\" + ExtraFolder;
      if (!platform::fs::DirExists(extra)) {
        platform::fs::MakeDir(extra);
        if (!platform::fs::DirExists(extra)) throw Err{515, "Unable to create m_ExtraFolder"};
      }
      SaveOrdner = extra;
    }
    if (AddSlash) {
      DatenOrdner = WithSlash(DatenOrdner);
      if (!ExtraFolder.empty()) SaveOrdner = WithSlash(SaveOrdner);
    }
    return true;
  } catch (const Err& e) {
    const std::string crlf = "\r\n";
    MsgBox("An Error occurred in Function CreateAppDataFolder:   " + crlf + crlf + "Return value\t: False" + crlf +
               "Error number\t: " + std::to_string(e.Nummer) + crlf + "Error description\t: " + e.Beschreibung +
               "   " + crlf + "Error source\t: CreateAppDataFolder",
           mb::Critical);
    return false;
  }
}

bool FolderExists(const std::string& Path, bool FilesOnly) {
  if (Path.empty()) return false;
  if (platform::fs::FileExists(Path)) return true;
  return !FilesOnly && platform::fs::DirExists(Path);
}

bool CheckWindowsVersion() {
  int32_t major, minor, low, high;
  bool nt;
  GetWindowsVersion(major, minor, low, high, nt);
  IsWindows6OrLater = major >= 6;
  return IsWindows6OrLater;
}

bool DpiNeedsMessage(int32_t dpi) { return dpi >= 97 && dpi <= 119; }

void GetWindowsVersion(int32_t& Major, int32_t& Minor, int32_t& BuildLow, int32_t& BuildHigh, bool& IsNT) {
  unsigned v = platform::GetVersionWord();
  Major = static_cast<int32_t>(v & 0xFF);
  Minor = static_cast<int32_t>((v >> 8) & 0xFF);
  BuildLow = static_cast<int32_t>((v >> 16) & 0xFF);
  BuildHigh = static_cast<int32_t>((v >> 24) & 0xFF);
  IsNT = (v & 0x80000000u) == 0;
  // A desktop without a logical DPI setting (0) never asks.
  if (DpiNeedsMessage(platform::ScreenLogicalDpi()))
    MsgBox("Using non standard DPI scaling i.e. > 96 and < 120, will likely give undesirable results.",
           mb::Exclamation);
}

std::string GetSpecialFolder(int32_t CSIDL) {
  if (CSIDL != CSIDL_APPDATA) return "";
  return StripNull(platform::fs::UserDataBase());
}

std::string StripNull(const std::string& Text) {
  size_t nul = Text.find('\0');
  return nul == std::string::npos ? Text : Text.substr(0, nul);
}

LogTeil LogPfad(std::string_view pfad) { return {LogTeil::Art::Pfad, pfad}; }

bool AlsBakSichern(const std::string& datei, const char* anlass) {
  const std::string sicherung = datei + ".bak";
  if (!platform::fs::Rename(datei, sicherung)) return false;
  DebugLog({anlass, LogPfad(sicherung)});
  return true;
}
LogTeil LogSystemtext(std::string_view text) { return {LogTeil::Art::Systemtext, text}; }

std::string LogTeil::Utf8() const {
  switch (art_) {
    case Art::Pfad:
      return platform::fs::Resolve(text_);
    case Art::Systemtext:
      return text_;
    case Art::Spieltext:
      break;
  }
  const int seite = Sprache == "R" ? platform::CodePageCyrillic : platform::CodePageWestern;
  return platform::CodePageToUtf8(text_, seite);
}

void DebugLogWennAn(const std::string& Text) {
  if (DebugModus) DebugLog(Text);
}

void DebugLogWennAn(std::initializer_list<LogTeil> Teile) {
  if (DebugModus) DebugLog(Teile);
}

void DebugLog(const std::string& Text) { DebugLog({LogTeil(Text)}); }

namespace {

// The log held back at a start, and the lines waiting meanwhile.
struct Zurueckgehalten {
  bool an = false;
  std::string zeilen;
};
Zurueckgehalten g_zurueck;

}  // namespace

void DebugLog(std::initializer_list<LogTeil> Teile) {
  std::string line;
  for (const LogTeil& t : Teile) line += t.Utf8();
  line += "\r\n";
  if (g_zurueck.an)
    g_zurueck.zeilen += line;
  else
    platform::fs::Append(DatenOrdner + DebugDatei, line.data(), line.size());
}

void DebugLogZurueckhalten() { g_zurueck.an = true; }
void DebugLogLoslassen() { g_zurueck.an = false; }

void DebugLogNachholen() {
  std::string zeilen;
  zeilen.swap(g_zurueck.zeilen);
  if (!zeilen.empty()) platform::fs::Append(DatenOrdner + DebugDatei, zeilen.data(), zeilen.size());
}
