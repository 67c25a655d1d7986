// Feeds arbitrary bytes to the level-file reader and the radio-text parser, and checks that
// what a successful read leaves is safe for the rest of the level world: every list as
// long as its bound says, every reference inside its catalogue or "none".
#include <cstdint>
#include <cstdlib>
#include <span>

#include "world/level_file.hpp"
#include "world/radio_text_file.hpp"

namespace {

void Pruefe(bool ok) {
  if (!ok) std::abort();
}

bool Im(int32_t index, size_t anzahl) { return index == -1 || (index >= 0 && static_cast<size_t>(index) < anzahl); }

void PruefeLevel(const levelfile::Leveldaten& d) {
  const size_t sprites = d.SpriteDefs.size(), routen = d.Routen.size(), erzeuger = d.ErzeugerTypen.size();
  for (const GegnerTyp& t : d.GegnerTypen)
    for (const Feindkomponente& k : t.Komponenten) {
      Pruefe(Im(k.Sprite, sprites) && Im(k.RouteNr, routen));
      Pruefe(Im(k.Erzeuger, erzeuger) || k.Erzeuger == KeinErzeuger);
      Pruefe(k.TrefferAufGegner == 0 || k.TrefferAufGegner == -1);
    }
  for (const Route& r : d.Routen)
    for (const RoutenBefehl& b : r.Befehle) Pruefe(b.A.size() == b.B.size());
  for (const AnimaTypDaten& a : d.AnimaTypen)
    for (const AnimaTeilTyp& t : a.Teile) Pruefe(!t.Keys.empty() && Im(t.Sprite, sprites));
  for (const ErzeugerTypDaten& e : d.ErzeugerTypen) {
    Pruefe(e.SalvenMax() < SalvenGrenze);
    for (const ErzeugerSalve& s : e.Salven)
      Pruefe(Im(s.RouteNr, routen) && Im(s.PlatztErzeuger, erzeuger) && Im(s.SchussTyp, d.SchussTypen.size()));
  }
  for (const SchussTypDaten& s : d.SchussTypen) Pruefe(Im(s.Sprite, sprites) && (s.Sound < 0 || Im(s.Sound, d.Sounds.size())));
  for (size_t k = 0; k < d.Ebenen.size(); ++k)
    for (const LevelEreignis& e : d.Ebenen[k].Ereignisse) {
      if (k == 4 && e.Typ == 0) Pruefe(Im(e.P1, d.GegnerTypen.size()) && Im(e.P2, routen));
      if (k == 4 && e.Typ == 1) Pruefe(Im(e.P1, d.Sounds.size()));
      if (k == 4 && e.Typ == 2) Pruefe(Im(e.P1, d.Funkmeldungen.size()));
      if (k != 4 && e.Typ == 0) Pruefe(Im(e.P1, sprites));
      if (k != 4 && e.Typ == 1) Pruefe(Im(e.P2, d.AnimaTypen.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  for (const FunkText& block : LeseFunkTexte(bytes))
    for (const std::string& zeile : block.Zeilen) Pruefe(!zeile.empty() && zeile.front() != ' ' && zeile.back() != ' ');

  levelfile::Leveldaten d;
  if (levelfile::Lese(bytes, d, size % 2) != levelfile::Ergebnis::Geladen) return 0;
  PruefeLevel(d);
  levelfile::Uebernimm(std::move(d));
  return 0;
}
