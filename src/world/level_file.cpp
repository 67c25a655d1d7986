#include "world/level_file.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

#include "campaign/game_loop_state.hpp"
#include "platform/fs.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "world/weather_state.hpp"

namespace levelfile {

std::string MapText(std::span<const uint8_t> b) {
  return TrimBlanks(UmlauteAusschreiben(std::string_view(reinterpret_cast<const char*>(b.data()), b.size())));
}

void Leser::Flag(int16_t& v) {
  const int16_t x = in_.Int16();
  if (Ok()) v = VBBool(x != 0);
}

void Leser::LongAlsSingle(float& v) {
  const int32_t x = in_.Int32();
  if (Ok()) v = static_cast<float>(x);
}

void Leser::Energie(float& v) {
  const int32_t x = in_.Int32();
  if (Ok()) v = static_cast<float>(static_cast<double>(x) * hpFaktor_);
}

void Leser::PText(std::string& v) {
  const int32_t n = in_.Int32();
  if (Ok() && n < 0) Fail();
  if (!Ok()) return;
  std::span<const uint8_t> b = in_.Block(static_cast<size_t>(n));
  if (Ok()) v.assign(b.begin(), b.end());
}

void Leser::MText(std::string& v) {
  const int32_t n = in_.Int32();
  if (Ok() && n < 1) Fail();
  if (!Ok()) return;
  std::span<const uint8_t> b = in_.Block(static_cast<size_t>(n));
  if (Ok()) v = MapText(b);
}

void Leser::M30(std::string& v) {
  std::span<const uint8_t> b = in_.Block(kM30);
  if (Ok()) v = MapText(b);
}

size_t Leser::Zahl(size_t, size_t minBytes) {
  const int32_t bound = in_.Int32();
  if (!Ok() || bound < 0) return 0;
  const int64_t n = static_cast<int64_t>(bound) + 1;
  if (n > kListenGrenze || static_cast<uint64_t>(n) > in_.Remaining() / minBytes) {
    Fail();
    return 0;
  }
  return static_cast<size_t>(n);
}

namespace {

void Hinweis(Leveldaten& d, std::string text) {
  if (d.Hinweise.size() < kHinweisGrenze)
    d.Hinweise.push_back("Level file: " + std::move(text));
  else
    ++d.HinweiseUebrig;
}

// A reference `index` into a catalogue of `anzahl` entries: one outside it is noted and
// becomes `ersatz`. -1 is "none" and passes; so does any negative value where negative
// means none.
void Verweis(Leveldaten& d, int32_t& index, size_t anzahl, const std::string& wo, const char* was,
             bool negativKeiner = false, int32_t ersatz = -1) {
  if (index == -1 || (index < 0 && negativKeiner)) return;
  if (index >= 0 && static_cast<size_t>(index) < anzahl) return;
  Hinweis(d, wo + " names " + was + " " + std::to_string(index) + ", which does not exist");
  index = ersatz;
}

// What the file does not hold: a component and a template as they are placed, energy
// and score full, alive, the route at its start.
void Ladewerte(Leveldaten& d) {
  for (GegnerTyp& t : d.GegnerTypen) {
    for (Feindkomponente& k : t.Komponenten) {
      k.Lebt = VBTrue;
      k.Punkte = CLng(k.HP);
      k.Speed = 1.0f;
    }
    t.Punkte = CLng(t.HP);
  }
}

void SalvenKuerzen(Leveldaten& d) {
  for (size_t g = 0; g < d.ErzeugerTypen.size(); ++g) {
    std::vector<ErzeugerSalve>& salven = d.ErzeugerTypen[g].Salven;
    if (salven.size() <= static_cast<size_t>(SalvenGrenze)) continue;
    Hinweis(d, "generator " + std::to_string(g) + " has " + std::to_string(salven.size()) +
                   " salvo entries; those after the first " + std::to_string(SalvenGrenze) + " are dropped");
    salven.resize(SalvenGrenze);
  }
}

void EreignisVerweise(Leveldaten& d) {
  for (size_t k = 0; k < d.Ebenen.size(); ++k) {
    std::vector<LevelEreignis>& liste = d.Ebenen[k].Ereignisse;
    for (size_t i = 0; i < liste.size(); ++i) {
      LevelEreignis& e = liste[i];
      const std::string wo = "layer " + std::to_string(k) + " event " + std::to_string(i);
      if (k == 4) {
        if (e.Typ == 0) {
          Verweis(d, e.P1, d.GegnerTypen.size(), wo, "template");
          Verweis(d, e.P2, d.Routen.size(), wo, "route");
        } else if (e.Typ == 1) {
          Verweis(d, e.P1, d.Sounds.size(), wo, "sound");
        } else if (e.Typ == 2) {
          Verweis(d, e.P1, d.Funkmeldungen.size(), wo, "radio message");
        }
      } else if (e.Typ == 0) {
        Verweis(d, e.P1, d.SpriteDefs.size(), wo, "sprite");
      } else if (e.Typ == 1) {
        Verweis(d, e.P2, d.AnimaTypen.size(), wo, "animation");
      }
    }
  }
}

void Verweise(Leveldaten& d) {
  const size_t sprites = d.SpriteDefs.size(), routen = d.Routen.size(), erzeuger = d.ErzeugerTypen.size();
  for (size_t t = 0; t < d.GegnerTypen.size(); ++t) {
    std::vector<Feindkomponente>& komponenten = d.GegnerTypen[t].Komponenten;
    for (size_t c = 0; c < komponenten.size(); ++c) {
      Feindkomponente& k = komponenten[c];
      const std::string wo = "template " + std::to_string(t) + " component " + std::to_string(c);
      Verweis(d, k.Sprite, sprites, wo, "sprite");
      Verweis(d, k.RouteNr, routen, wo, "route");
      Verweis(d, k.Erzeuger, erzeuger, wo, "generator", false, KeinErzeuger);
    }
  }
  for (size_t a = 0; a < d.AnimaTypen.size(); ++a)
    for (size_t p = 0; p < d.AnimaTypen[a].Teile.size(); ++p)
      Verweis(d, d.AnimaTypen[a].Teile[p].Sprite, sprites,
              "animation " + std::to_string(a) + " part " + std::to_string(p), "sprite");
  for (size_t g = 0; g < d.ErzeugerTypen.size(); ++g) {
    std::vector<ErzeugerSalve>& salven = d.ErzeugerTypen[g].Salven;
    for (size_t s = 0; s < salven.size(); ++s) {
      const std::string wo = "generator " + std::to_string(g) + " salvo " + std::to_string(s);
      Verweis(d, salven[s].RouteNr, routen, wo, "route");
      Verweis(d, salven[s].PlatztErzeuger, erzeuger, wo, "generator");
      Verweis(d, salven[s].SchussTyp, d.SchussTypen.size(), wo, "shot type");
    }
  }
  for (size_t s = 0; s < d.SchussTypen.size(); ++s) {
    const std::string wo = "shot type " + std::to_string(s);
    Verweis(d, d.SchussTypen[s].Sprite, sprites, wo, "sprite");
    Verweis(d, d.SchussTypen[s].Sound, d.Sounds.size(), wo, "sound", true);
  }
  EreignisVerweise(d);
}

}  // namespace

Ergebnis Lese(std::span<const uint8_t> bytes, Leveldaten& d, int32_t letzterSpieler) {
  const size_t kopf = std::min(bytes.size(), kVersionLaenge);
  if (kopf > 0 && std::memcmp(bytes.data(), kVersion, kopf) != 0) return Ergebnis::FalscheVersion;
  if (bytes.size() < kVersionLaenge) return Ergebnis::Beschaedigt;

  platform::ByteReader in(bytes.subspan(kVersionLaenge));
  Leser leser(in, letzterSpieler * 0.5 + 1);
  Felder(leser, d);
  if (!leser.Ok()) return Ergebnis::Beschaedigt;

  Ladewerte(d);
  SalvenKuerzen(d);
  Verweise(d);
  return Ergebnis::Geladen;
}

std::string Meldung(Ergebnis e, const std::string& sprache) {
  if (e == Ergebnis::FalscheVersion) return "'V. 0.15' - Level im Editor laden, neu abspeichern und packen";
  if (e != Ergebnis::Beschaedigt) return "";
  if (sprache == "D") return "Leveldatei besch\xE4" "digt";
  if (sprache == "R") return Cyr("Файл уровня повреждён");
  return "Level file damaged";
}

void Uebernimm(Leveldaten&& d) {
  HintergrundName = std::move(d.Hintergrund);
  SpriteDefs = std::move(d.SpriteDefs);
  GegnerTypen = std::move(d.GegnerTypen);
  Routen = std::move(d.Routen);
  Ebenen = std::move(d.Ebenen);
  AnimaTypen = std::move(d.AnimaTypen);
  ErzeugerTypen = std::move(d.ErzeugerTypen);
  SchussTypen = std::move(d.SchussTypen);
  LevelSoundDateien = std::move(d.Sounds);
  LevelSoundMap.assign(LevelSoundDateien.size(), 0);
  FunkTextBasis = std::move(d.FunkTextBasis);
  Funkmeldungen = std::move(d.Funkmeldungen);
  FunkTexte.clear();
  LevelLaenge = d.LevelLaenge;
  Wasserstand = d.Wasserstand;
  RegenAnzahl = d.RegenAnzahl;
  Schwerkraft = d.Schwerkraft;
  MusikDatei = std::move(d.MusikDatei);
  WasserName = std::move(d.WasserName);
  WasserDaten = d.WasserDaten;
  for (const std::string& h : d.Hinweise) DebugLogWennAn(h);
  if (d.HinweiseUebrig > 0)
    DebugLogWennAn("Level file: " + std::to_string(d.HinweiseUebrig) + " more notes of the same kind");
}

}  // namespace levelfile

levelfile::Ergebnis LeseLeveldatei(std::span<const uint8_t> bytes) {
  levelfile::Leveldaten d;
  const levelfile::Ergebnis e = levelfile::Lese(bytes, d, LetzterSpieler);
  if (e == levelfile::Ergebnis::Geladen) {
    levelfile::Uebernimm(std::move(d));
    return e;
  }
  DebugLogWennAn("Level file not loaded: " + levelfile::Meldung(e, "E"));
  MsgBox(levelfile::Meldung(e, Sprache), mb::OkOnly, "", Sprache == "R" ? 1251 : 1252);
  Spielstatus = 10;
  return e;
}

levelfile::Ergebnis LeseLeveldatei(const std::string& Datei) {
  std::vector<uint8_t> bytes;
  // A file that cannot be read, or one too large for any level, counts as damaged.
  if (!platform::fs::ReadAll(Datei, bytes, levelfile::kDateiGrenze)) bytes.clear();
  return LeseLeveldatei(bytes);
}
