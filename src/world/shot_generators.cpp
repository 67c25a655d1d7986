// The shot generators: started by enemies, by route command 8 and by bursting shots, each
// runs the salvo entries of its definition once per frame and makes the shots.
#include <algorithm>

#include "engine/surfaces.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "world/collision.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots.hpp"
#include "world/level_data_state.hpp"

namespace {

const ErzeugerTypDaten* Definition(int32_t Nr) {
  return Nr >= 0 && Nr <= ErzeugerTypenMax() ? &ErzeugerTypen[static_cast<size_t>(Nr)] : nullptr;
}

// The salvo entries a generator runs: those of its definition, at most as many as it
// keeps state for.
int32_t LetzterEintrag(const ErzeugerTypDaten& d) { return std::min(d.SalvenMax(), ErzeugerEintraege - 1); }

bool Freistehend(const SchussErzeugerDaten& e) { return e.FeindNR < 0; }

// The component a bound generator fires from, or null when it is gone: its enemy is no
// longer there, or the component has been destroyed.
const Feindkomponente* Besitzer(const SchussErzeugerDaten& e) {
  if (e.FeindNR > GegnerListe.Kapazitaet) return nullptr;
  const Gegner& g = GegnerListe[e.FeindNR];
  if (g.Aktiv == VBFalse) return nullptr;
  if (e.FeindNRKomponente < 0 || e.FeindNRKomponente > g.Typ.KomponentenMax()) return nullptr;
  const Feindkomponente& k = g.Typ.Komponenten[static_cast<size_t>(e.FeindNRKomponente)];
  return k.Lebt != VBFalse ? &k : nullptr;
}

struct Punkt {
  float x, y;
};

// Where salvo entry `s` starts its shot. A bound generator fires from the centre of its
// component's current picture; a turret fires from the edge of the picture its angle
// points to.
Punkt Muendung(const SchussErzeugerDaten& e, const ErzeugerTypDaten& d, const ErzeugerSalve& s,
               const Feindkomponente* k) {
  if (k == nullptr) return {static_cast<float>(double{e.X} + s.OffsetX), static_cast<float>(double{e.Y} + s.OffsetY)};
  const Gegner& g = GegnerListe[e.FeindNR];
  const SurfaceInfo* bild = FrameBild(k->Sprite, k->AniA);
  const int32_t w = bild ? bild->SrcRect.Right - bild->SrcRect.Left : 0;
  const int32_t h = bild ? bild->SrcRect.Bottom - bild->SrcRect.Top : 0;
  double mx = double{g.X} + k->OffsetX + IDiv(w, 2) + s.OffsetX;
  double my = double{g.Y} + k->OffsetY + IDiv(h, 2) + s.OffsetY;
  if (d.Drehturm != VBFalse && bild != nullptr) {
    const int32_t a = CLng(k->Drehung);
    mx -= IDiv(CLng(static_cast<float>(bild->Width) * CosinusB(a)), 2);
    my -= IDiv(CLng(static_cast<float>(bild->Height) * SinusB(a)), 2);
  }
  return {static_cast<float>(mx), static_cast<float>(my)};
}

bool AlleVerbraucht(const SchussErzeugerDaten& e, const ErzeugerTypDaten& d) {
  for (int32_t k = 0; k <= LetzterEintrag(d); ++k)
    if (e.Rest[k] >= 0) return false;
  return true;
}

// Fires what salvo entry `n` has due this frame. False when the generator has fired its
// last shot and is gone.
bool Salve(int32_t Index, SchussErzeugerDaten& e, const ErzeugerTypDaten& d, int32_t n, const Feindkomponente* k) {
  const ErzeugerSalve& s = d.Salven[static_cast<size_t>(n)];
  while (e.Countdown[n] <= 0 && e.Rest[n] >= 0) {
    const Punkt m = Muendung(e, d, s, k);
    AddGegnerS(e.Schusszaehler, e.Nr, n, m.x, m.y, e.VeskNr);
    ++e.Schusszaehler;
    if (--e.Rest[n] < 0) {
      if (AlleVerbraucht(e, d)) {
        KillGegnerSchussErzeuger(Index);
        return false;
      }
      break;
    }
    // An interval of 0 fires the entry's next shot in this same frame.
    e.Countdown[n] = s.Abstand;
  }
  --e.Countdown[n];
  return true;
}

void Erzeugen(int32_t Index) {
  SchussErzeugerDaten& e = SchussErzeuger[Index];
  const ErzeugerTypDaten* d = Definition(e.Nr);
  const Feindkomponente* k = Freistehend(e) ? nullptr : Besitzer(e);
  if (d == nullptr || (!Freistehend(e) && k == nullptr)) {
    KillGegnerSchussErzeuger(Index);
    return;
  }
  for (int32_t n = 0; n <= LetzterEintrag(*d); ++n)
    if (!Salve(Index, e, *d, n, k)) return;
}

}  // namespace

void AddGegnerSchussErzeuger(int32_t Nr, int32_t FeindNR, int32_t FeindNRKomponente, int16_t KeinFeindBezug,
                             int32_t VeskNr) {
  const ErzeugerTypDaten* d = Definition(Nr);
  if (d == nullptr) return;
  const bool frei = KeinFeindBezug != VBFalse;
  if (!frei && (FeindNR < 0 || FeindNR > GegnerListe.Kapazitaet)) return;
  const int32_t k = SchussErzeuger.Claim();
  if (k < 0) return;
  SchussErzeugerDaten& e = SchussErzeuger[k];
  if (frei) {
    e.FeindNR = -1;
    e.FeindNRKomponente = -1;
    e.X = static_cast<float>(FeindNR);
    e.Y = static_cast<float>(FeindNRKomponente);
  } else {
    e.FeindNR = FeindNR;
    e.FeindNRKomponente = FeindNRKomponente;
  }
  e.Schusszaehler = 0;
  e.Nr = Nr;
  e.VeskNr = VeskNr;
  // The entries the definition does not have count as used up from the start.
  e.Rest.fill(-1);
  e.Countdown.fill(0);
  for (int32_t n = 0; n <= LetzterEintrag(*d); ++n) {
    e.Rest[n] = d->Salven[static_cast<size_t>(n)].Anzahl;
    e.Countdown[n] = d->Salven[static_cast<size_t>(n)].Verzoegerung;
  }
}

void SpielGegnerSchussErzeugen() {
  for (int32_t k = 0; k <= SchussErzeuger.Max; ++k)
    if (SchussErzeuger[k].Aktiv != VBFalse) Erzeugen(k);
}

void KillGegnerSchussErzeuger(int32_t Index) { SchussErzeuger.Kill(Index); }
