// Feeds arbitrary bytes to the reader of a level's radio text file, points a radio message
// at every block it found (by the name in other letters' case) and one at a block that is
// not there, and plays each message page by page as the panel does, turning the page at
// once instead of waiting out its time. Checks: every line of a block is there, without
// blanks at its ends, no header and no line break in it; no more text is kept than the
// file held; a message points at the last block of its name or, without one, at none; a
// running page lasts a whole tick or more, and a message that has stopped did so on a
// page without time (at most a few pages of each are turned: a line may hold hundreds).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "campaign/ticker_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/level_data_state.hpp"
#include "world/radio.hpp"
#include "world/radio_state.hpp"
#include "world/radio_text_file.hpp"

namespace {

constexpr size_t kMeldungen = 8;
constexpr int kSeiten = 6;

void Pruefe(bool ok) {
  if (!ok) std::abort();
}

bool OhneUmbruch(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

void PruefeBloecke(size_t size) {
  size_t text = 0;
  for (const FunkText& block : FunkTexte) {
    Pruefe(OhneUmbruch(block.Name));
    text += block.Name.size() + 2;  // with its brackets
    for (const std::string& zeile : block.Zeilen) {
      Pruefe(!zeile.empty() && zeile.front() != ' ' && zeile.back() != ' ' && zeile.front() != '[');
      Pruefe(OhneUmbruch(zeile));
      text += zeile.size();
    }
  }
  Pruefe(text <= size);
}

void PruefeVerweise() {
  for (const Funkmeldung& m : Funkmeldungen) {
    int32_t letzter = -1;
    for (size_t b = 0; b < FunkTexte.size(); ++b)
      if (SameText(FunkTexte[b].Name, m.TextBlock)) letzter = static_cast<int32_t>(b);
    Pruefe(m.FunkTextIndex == letzter);
  }
}

// The message's first pages, each turned as soon as it has begun.
void Spielen(int32_t nr) {
  ResetRadio();
  AddFunktion(nr);
  if (FunkStatus.Aktiv == VBFalse) return;
  for (int seite = 0; seite < kSeiten && FunkStatus.Aktiv != VBFalse; ++seite) {
    FunkStatus.RestTicks = 0;
    SpielFunkmeldung();
    const FunkText& block = FunkTexte[static_cast<size_t>(Funkmeldungen[static_cast<size_t>(nr)].FunkTextIndex)];
    Pruefe(FunkStatus.Zeile >= 0 && FunkStatus.Zeile <= std::max(block.ZeilenMax(), 0));
    Pruefe(FunkStatus.RestTicks == FunkStatus.SeitenLaenge);
    Pruefe((FunkStatus.SeitenLaenge > 0) == (FunkStatus.Aktiv != VBFalse));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool einmal = [] {
    Rendern = false;  // nothing is drawn
    SoundAn = false;  // and no clip is loaded
    return true;
  }();
  (void)einmal;
  ResetTicker();
  ResetPlayedRadioMessages();
  RndReset();

  FunkTexte = LeseFunkTexte(std::span<const uint8_t>(data, size));
  PruefeBloecke(size);

  Funkmeldungen.clear();
  for (size_t b = 0; b < FunkTexte.size() && b < kMeldungen; ++b)
    Funkmeldungen.push_back(Funkmeldung{.TextBlock = UCase(FunkTexte[b].Name), .MaxAnzahl = 1});
  Funkmeldungen.push_back(Funkmeldung{.TextBlock = "kein solcher Block"});
  VerbindeFunkTexte(Funkmeldungen, FunkTexte);
  PruefeVerweise();

  for (size_t nr = 0; nr < Funkmeldungen.size(); ++nr) Spielen(static_cast<int32_t>(nr));
  return 0;
}
