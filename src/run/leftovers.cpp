#include "run/leftovers.hpp"

#include <string>
#include <vector>

#include "campaign/highscore.hpp"
#include "campaign/pause_screen.hpp"
#include "campaign/save_games.hpp"
#include "platform/fs.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "world/loading_screen.hpp"

namespace {

namespace fs = platform::fs;

// The last name of a path, a file's or a folder's (its separator at the end left out).
std::string Dateiname(std::string pfad) {
  while (fs::EndsInSeparator(pfad)) pfad.pop_back();
  const size_t trenner = pfad.find_last_of("\\/");
  return trenner == std::string::npos ? pfad : pfad.substr(trenner + 1);
}

// A test for the temporary names of the files `dateien`.
fs::NameTest Ersatzreste(std::vector<std::string> dateien) {
  return [dateien](const std::string& name) {
    for (const std::string& d : dateien)
      if (fs::IsReplacingTemp(name, d)) return true;
    return false;
  };
}

}  // namespace

void ClearLeftovers() {
  if (DatenOrdner.empty()) return;
  fs::RemoveLeftovers(DatenOrdner, "", Ersatzreste({kHighscoreDatei, kScreenshot, kMosaikDatei, kConfigDatei}));
  // The save folder lies in the per-user folder; it is entered only as a real folder.
  const std::string saveOrdner = Dateiname(SaveOrdner);
  if (saveOrdner.empty()) return;
  std::vector<std::string> spielstaende;
  for (int32_t slot = 1; slot <= kSaveSlots; ++slot) spielstaende.push_back(Dateiname(SaveSlotDatei(slot)));
  fs::RemoveLeftovers(DatenOrdner, saveOrdner, Ersatzreste(spielstaende));
}

void ClearLeftoversAtStart(bool alleinImNutzerordner) {
  ClearFoldersOfEndedCopies();
  if (alleinImNutzerordner)
    ClearLeftovers();
  else
    DebugLog("Leftovers of earlier runs kept: another copy of the game may be using them");
  GetTempFolder();
}
