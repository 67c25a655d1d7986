#include "player/beam.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/force.hpp"
#include "engine/keys.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "player/players.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace beam {

void ComboAus(int32_t p) {
  ComboFaktor[p] = 1.0f;
  ComboTreffer[p] = 0;
  ComboBonus[p] = 0;
}

void Viereck(int32_t Bild, double Links, double Oben, double Rechts, double Unten, const Farbe& f, float A,
             bool ABOne) {
  SetUpRect(Bild, static_cast<float>(Links), static_cast<float>(Oben), static_cast<float>(Rechts),
            static_cast<float>(Unten));
  SetUpColor(Bild, f.R, f.G, f.B, A);
  Render(Bild, ABOne);
}

}  // namespace beam

using namespace beam;

namespace {

constexpr int32_t kPowerDauer = 500;     // frames of the power mode
constexpr double kExponent = 1.6f;       // the single-precision 1.6, widened
constexpr float kRingStart = 30;
constexpr Farbe kRingFarbe{1, 1, 0.3f};
constexpr Farbe kPunktFarbe{1, 1, 0.5f};
constexpr Farbe kSchweifFarbe{0.7f, 0.4f, 1.0f};

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

bool Wahr(int16_t flag) { return flag != VBFalse; }

bool Voll(float Ladung) { return Ladung == kBeamVoll; }

// The ship's position and hit-box offsets, and the box's centre as the game takes it.
struct Kasten {
  double X, Y;
  int32_t Links, Oben, Rechts, Unten;
  double MitteX() const { return X + Links + IDiv(Rechts - Links, 2); }
  double MitteY() const { return Y + Oben + IDiv(Unten - Oben, 2); }
};

Kasten Schiffskasten(int32_t p) {
  const SchiffDaten& b = Schiff[p];
  return {Spieler[p].X, Spieler[p].Y, b.BoxLinks, b.BoxOben, b.BoxRechts, b.BoxUnten};
}

// ---- Keys --------------------------------------------------------------------------------

// The mode key and the change of mode it brings; a flying beam keeps its mode until it
// ends. In toggle operation each press switches; in hold operation the key selects mode 1
// while it is down, taking effect on the next frame.
void Moduswahl(int32_t p, int32_t k, BeamStatus& B) {
  const bool taste = TasteBeamWechsel(k);
  if (!ForceModus) {
    if (taste && !BeamVerlauf.WechselGehalten[p]) {
      Klang(SndPressQ);
      B.Modus = 1 - B.Modus;
    }
    BeamVerlauf.WechselGehalten[p] = taste;
  }
  if (B.Modus != B.AktivModus && !Wahr(B.Fliegt)) {
    if (SoundAn) StopSound(SndCharge[B.AktivModus]);
    B.AktivModus = static_cast<int16_t>(1 - B.AktivModus);
    B.Ladung = 0;
  }
  if (ForceModus) B.Modus = taste ? 1 : 0;
}

// Firing the guns or leaving the player's control lets go of the charge.
bool LadeTaste(int32_t p, int32_t k) {
  if (TasteSchießen(k) || Spieler[p].Status != 0) return false;
  return TasteBeam(k) || (ForceModus && TasteBeamWechsel(k));
}

// ---- Charging and release ------------------------------------------------------------------

// The charge sound rises with the charge; mode 0 plays it on two copies.
void Ladeklang(const BeamStatus& B) {
  if (!SoundAn) return;
  const bool voll = Voll(B.Ladung);
  const bool angriff = B.AktivModus == 0;
  const int32_t f = angriff ? (voll ? 30000 : CLng(double{B.Ladung} * 120 + 10000))
                            : (voll ? 18000 : CLng(double{B.Ladung} * 100 + 1000));
  for (int n = angriff ? 2 : 1; n > 0; --n) PlaySound(SndCharge[B.AktivModus], 1, std::nullopt, SoundLautstaerke, f);
}

void Laden(int32_t p, BeamStatus& B) {
  if (Wahr(B.Fliegt)) return;
  B.Ladung = static_cast<float>(double{B.Ladung} + 0.9);
  if (B.Ladung > kBeamVoll) {
    B.Ladung = kBeamVoll;
  } else {
    Spieler[p].Schaden = CLng(static_cast<double>(Spieler[p].Schaden) + 19);
  }
  B.LadungAbschuss = B.Ladung;
  Ladeklang(B);
}

void SchweifeLeeren() {
  for (BeamSpur& s : BeamVerlauf.BeamSchweif) {
    s.X.fill(-1.0f);
    s.Y.fill(-1.0f);
  }
}

// The release: sound, rumble, damage and shake, the start point at the nose, and in mode 0
// the flash at the ship, in mode 1 at full charge the power mode.
void Abschuss(int32_t p, BeamStatus& B) {
  const SpielerDaten& s = Spieler[p];
  const bool voll = Voll(B.Ladung);
  const bool angriff = B.AktivModus == 0;
  if (SoundAn) {
    StopSound(SndCharge[B.AktivModus]);
    if ((angriff && B.Ladung > 9.0f) || (!angriff && voll))
      for (int n = 0; n < 2; ++n) Klang(SndBeam[B.AktivModus]);
  }
  AddForce(1, 5, p);
  B.Fliegt = VBTrue;
  SchweifeLeeren();

  if (voll) {
    B.Schaden = CLng(static_cast<double>(s.Waffenstufe) * 8500 + (Schiff[p].Typ == 1 ? 1500 : 0));
    if (angriff) Erschuetterung = CLng(static_cast<double>(Erschuetterung) + 10);
  } else {
    B.Schaden = CLng(std::pow(double{B.Ladung}, kExponent) * s.Waffenstufe);
    if (angriff) Erschuetterung = CLng(double{B.Ladung} / 20 + Erschuetterung);
  }

  const Kasten k = Schiffskasten(p);
  B.X = static_cast<float>(k.X + k.Rechts);
  B.Y = static_cast<float>(k.MitteY());
  B.StartX = B.X;
  B.StartY = B.Y;
  B.LadungAbschuss = B.Ladung;
  B.Ladung = 0;

  if (angriff) {
    B.Breite = B.LadungAbschuss / 3;
    Add1BigPartikel(s.X + 5, s.Y + 5, -4, 0, 1, 1, 1, 54, 0, voll ? 10 : 5, 11, 0);
  } else if (voll) {
    B.Schaden = HintergrundModus;
    if (LetzterSpieler == 0) HintergrundModus = 0;
    B.Powermodus = VBTrue;
  }
}

// ---- After-glow --------------------------------------------------------------------------

// The fading bar of a type-0 beam; the helix strands drain one point a frame.
void Nachleuchten(int32_t p, BeamStatus& B) {
  if (B.Nachleuchten <= 0) return;
  ComboAus(p);
  if (Rendern) Strahlkoerper(p, static_cast<float>(B.Nachleuchten) / 10);
  --B.Nachleuchten;
  for (BeamSpur& s : BeamVerlauf.BeamSchweif)
    SchweifZeichnen(-1, -1, std::span<float>(s.X), std::span<float>(s.Y), 15, B.Breite / 2, kSchweifFarbe.R,
                    kSchweifFarbe.G, kSchweifFarbe.B, true, true);
}

// ---- Mode 1 ---------------------------------------------------------------------------------

// The white flash over the play area as the power mode begins: up over ten frames, down
// over ten.
void Blitzlicht(int32_t PowerZeit) {
  if (!Rendern || PowerZeit >= 20) return;
  const float a = PowerZeit < 10 ? static_cast<float>(PowerZeit) / 10 : 2 - static_cast<float>(PowerZeit) / 10;
  SetUpColor(TexWeiss, 1, 1, 1, a);
  ShowSpriteRect(TexWeiss, 0, 0, kSpielfeldBreite, kSpielfeldHoehe, true);
}

// Frames 1..500 keep the meter full and give energy back; the background mode saved at the
// release returns at 500; after that the meter drains until the next charge may start.
void Powermodus(int32_t p, BeamStatus& B) {
  BeamVerlaufDaten& v = BeamVerlauf;
  if (v.RingRadius > -2) {
    v.RingRadius -= 1;
    v.RingSichtbar = false;
  }
  B.PowerZeit = CLng(static_cast<double>(B.PowerZeit) + 1);
  Blitzlicht(B.PowerZeit);
  if (B.PowerZeit == kPowerDauer) {
    HintergrundModus = B.Schaden;
    B.Powermodus = VBFalse;
    ComboAus(p);
  }
  if (B.PowerZeit <= kPowerDauer) {
    Spieler[p].Energie = static_cast<float>(double{Spieler[p].Energie} + 0.03);
    B.Ladung = B.LadungAbschuss;
    return;
  }
  B.Ladung = static_cast<float>(double{B.Ladung} - 0.2);
  if (B.Ladung <= 0) {
    B.Fliegt = VBFalse;
    B.Ladung = B.LadungAbschuss = 0;
    B.PowerZeit = 0;
  }
}

// Sparks crossing the ship's hit box while mode 1 charges: one bolt, and one more for
// every 60 of charge.
void Ladeblitze(const BeamStatus& B, const Kasten& k) {
  const int32_t n = IDiv(CLng(B.Ladung), 60) + 1;
  const double links = k.X + k.Links, oben = k.Y + k.Oben;
  const double breite = k.Rechts - k.Links, hoehe = k.Unten - k.Oben;
  for (int32_t i = 0; i < n; ++i) {
    const double x1 = links + breite * Rnd();
    const double y1 = oben + hoehe * Rnd();
    const double x2 = links + breite * Rnd();
    const double y2 = oben + hoehe * Rnd();
    Blitz(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), 5, 5, 10,
          0.6f, 0.6f, 1.0f, std::nullopt, true);
  }
}

// The charge ring: an ellipse of streaks turning about the ship, with a dot on each; the
// fuller the charge, the more of them.
void Ring(const BeamStatus& B) {
  const BeamVerlaufDaten& v = BeamVerlauf;
  const double r = v.RingRadius, cx = v.MitteX, cy = v.MitteY;
  const RECT rechteck{CLng(cx - 1.5 * r), CLng(cy - r), CLng(cx + 1.5 * r), CLng(cy + r)};
  SetUpColor(TexKreis2, kPunktFarbe.R, kPunktFarbe.G, kPunktFarbe.B, 0.4f);
  const RECT strich = SurfaceGueltig(TexStrich, "SpielBeam") ? Surfaces[TexStrich].SrcRect : RECT{};
  // A step of 0 would never get round.
  const int32_t schritt = std::max(1, CLng(178 - double{B.LadungAbschuss}));
  for (int32_t a = 0; a <= 360; a += schritt) {
    SetUpGeom(TexStrich, strich, rechteck, kRingFarbe.R, kRingFarbe.G, kRingFarbe.B, 0.2f, CLng(a - double{B.Breite}));
    Render(TexStrich, false);
    const int32_t w = CLng(a + double{B.Breite});
    const double px = SinusB(w) * r * 1.5 + cx, py = CosinusB(w) * r + cy;
    SetUpRect(TexKreis2, static_cast<float>(px - 5), static_cast<float>(py - 5), static_cast<float>(px),
              static_cast<float>(py));
    Render(TexKreis2, false);
  }
}

void Modus1(int32_t p, BeamStatus& B) {
  BeamVerlaufDaten& v = BeamVerlauf;
  const Kasten k = Schiffskasten(p);
  if (Wahr(B.Fliegt)) {
    if (B.LadungAbschuss >= kBeamVoll) {
      Powermodus(p, B);
    } else {
      // A release below full only lets the ring collapse: the beam ends on its ninth shrink.
      v.RingRadius -= 4;
      v.RingSichtbar = true;
      if (v.RingRadius < -2) {
        B.Fliegt = VBFalse;
        B.Ladung = B.LadungAbschuss = 0;
      }
    }
  } else if (B.Ladung > 0) {
    Ladeblitze(B, k);
    v.RingRadius = kRingStart;
    v.RingSichtbar = true;
  } else {
    v.RingSichtbar = false;
  }
  v.MitteX = static_cast<float>(k.MitteX());
  v.MitteY = static_cast<float>(k.MitteY());
  if (!v.RingSichtbar) return;
  B.Breite += 9;
  if (B.Breite > 359) B.Breite = static_cast<float>(Mod(CLng(B.Breite), 360));
  if (Rendern) Ring(B);
}

// ---- Mode 0 ---------------------------------------------------------------------------------

void Modus0(int32_t p, const BeamStatus& B) {
  if (Wahr(B.Fliegt)) {
    Strahlflug(p);
  } else if (B.Ladung > 0) {
    Ladeleuchten(p);
  }
}

// ---- Charge overlay -----------------------------------------------------------------------

// One bar of the overlay across the screen from `oben` to `unten`, showing half of the
// picture: its corners `e1` and `e2` take the picture's middle and are put back to `v`
// afterwards. Closing, it carries a line of the whole picture on its edge `kante`.
void Halbbalken(int32_t oben, int32_t unten, size_t e1, size_t e2, float v, const Farbe& f, float a, bool schliesst,
                int32_t kante) {
  std::array<D3DTLVERTEX, 4>& ecken = Surfaces[TexBalken].Vertex;
  SetUpRect(TexBalken, 0, static_cast<float>(oben), kBildschirmBreite, static_cast<float>(unten));
  ecken[e1].tv = ecken[e2].tv = 0.5f;
  SetUpColor(TexBalken, f.R, f.G, f.B, a);
  Render(TexBalken, false);
  ecken[e1].tv = ecken[e2].tv = v;
  if (schliesst) Viereck(TexBalken, 0, kante - 5, kBildschirmBreite, kante + 5, f, a, false);
}

// Two bars darken (mode 0) or brighten (mode 1) the screen above and below the ship as the
// charge grows; over the last ten of it they slide onto the ship and vanish.
void Ladebalken(int32_t p, const BeamStatus& B) {
  if (!(B.Ladung > 0 && B.Ladung < kBeamVoll) || !Rendern) return;
  if (!SurfaceGueltig(TexBalken, "SpielBeam")) return;
  const Kasten k = Schiffskasten(p);
  const float m = static_cast<float>(B.AktivModus);
  const Farbe f{m, m, m};
  const float a = B.Ladung / 200;
  const bool schliesst = B.Ladung > 155;
  const double anteil = (double{B.Ladung} - 155) / 10;
  // The upper bar shows the lower half of the picture (its top corners move), the lower
  // bar the upper half.
  const int32_t oberUnten = CLng(k.Y + k.Oben - 10);
  const int32_t oberOben = schliesst ? CLng(anteil * oberUnten) : 0;
  Halbbalken(oberOben, oberUnten, 1, 3, 0, f, a, schliesst, oberOben);
  const int32_t unterOben = CLng(k.Y + k.Unten + 10);
  const int32_t unterUnten = schliesst ? CLng((1 - anteil) * (kSpielfeldHoehe - unterOben) + unterOben) : kSpielfeldHoehe;
  Halbbalken(unterOben, unterUnten, 0, 2, 1, f, a, schliesst, unterUnten);
}

void Spielerbeam(int32_t p) {
  BeamStatus& B = Beam[p];
  const int32_t k = p + LetzterSpieler;
  // A dead ship's beam waits, undrawn, for the respawn.
  if (Spieler[p].Tod != 0) return;
  BeamWerteKlemmen(B);

  Moduswahl(p, k, B);
  BeamVerlauf.LadeTaste = LadeTaste(p, k);
  if (BeamVerlauf.LadeTaste) {
    Laden(p, B);
  } else if (!Wahr(B.Fliegt) && B.Ladung > 0) {
    Abschuss(p, B);
  }
  Nachleuchten(p, B);
  if (B.AktivModus == 1) {
    Modus1(p, B);
  } else {
    Modus0(p, B);
  }
  Ladebalken(p, B);
}

}  // namespace

void SpielBeam() {
  const Trefferdurchgang durchgang;
  const int32_t letzter = LetzterSpielerIndex();
  for (int32_t p = 0; p <= letzter; ++p) Spielerbeam(p);
}
