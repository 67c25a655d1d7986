#pragma once
// The per-user folders and the debug log.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

inline std::string DatenOrdner;  // per-user data folder, ends in a separator
inline std::string SaveOrdner;   // its "save" subfolder
inline bool IsWindows6OrLater = false;

// The user's application-data folder (the only folder kind the game asks for).
constexpr int32_t CSIDL_APPDATA = 26;

// Finds or creates the per-user folder `AppName` in the folder of kind `CSIDL`, and its
// subfolder `ExtraFolder`; sets `DatenOrdner` and `SaveOrdner`. On an error shows the
// error box and returns false.
bool CreateAppDataFolder(const std::string& AppName, const std::string& ExtraFolder, bool AddSlash, int32_t CSIDL,
                         bool UseAppData);
bool FolderExists(const std::string& Path, bool FilesOnly);
bool CheckWindowsVersion();
void GetWindowsVersion(int32_t& Major, int32_t& Minor, int32_t& BuildLow, int32_t& BuildHigh, bool& IsNT);
// The folder of kind `CSIDL`, without a trailing separator; empty when there is none.
std::string GetSpecialFolder(int32_t CSIDL);
std::string StripNull(const std::string& Text);
// True for a DPI setting that scales the screen in an unusual way (97 to 119).
bool DpiNeedsMessage(int32_t dpi);

// A piece of a debug-log line. The log is UTF-8, to be read on this system: the game's own
// text comes from its code page (1251 while the language is Russian, else 1252), a path of
// the game is shown as the file system names it, and a text the system gave us (a file
// name read from a folder, the command line, a device's name) is kept as it came.
class LogTeil {
 public:
  LogTeil(std::string text) : text_(std::move(text)) {}
  LogTeil(const char* text) : text_(text) {}
  friend LogTeil LogPfad(std::string_view pfad);
  friend LogTeil LogSystemtext(std::string_view text);
  std::string Utf8() const;

 private:
  enum class Art : uint8_t { Spieltext, Pfad, Systemtext };
  LogTeil(Art art, std::string_view text) : art_(art), text_(text) {}
  Art art_ = Art::Spieltext;
  std::string text_;
};
LogTeil LogPfad(std::string_view pfad);
LogTeil LogSystemtext(std::string_view text);

// Appends one line to "Debug.txt" in the per-user folder. A folder that cannot be
// written never stops the program: the line is lost.
void DebugLog(const std::string& Text);
void DebugLog(std::initializer_list<LogTeil> Teile);
// The same, but only while the debug switch (`DebugModus`) is on, as most log lines are.
void DebugLogWennAn(const std::string& Text);
void DebugLogWennAn(std::initializer_list<LogTeil> Teile);
// The log's file name.
inline const char* const DebugDatei = "Debug.txt";

// What is logged before a run's log is settled (the old log deleted or kept, the first
// lines written) would be lost with the old log, or make a log where none was: it waits.
// A start holds the log back; the log start lets go of it before its first lines, and the
// lines that waited follow those.
void DebugLogZurueckhalten();
void DebugLogLoslassen();  // lines go to the file again; those that waited still wait
void DebugLogNachholen();  // writes the lines that waited

// Keeps `datei` aside as `datei.bak`, one generation: a rename, so the copy is whole or not
// there. Logs `anlass` with the new name; false (and no line) when it could not be moved.
bool AlsBakSichern(const std::string& datei, const char* anlass);
