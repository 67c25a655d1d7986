#include "campaign/panel.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <string>

#include "campaign/panel_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "player/beam_state.hpp"
#include "player/players.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"
#include "world/pictures_state.hpp"
#include "world/radio.hpp"

namespace {

// ---- Layouts -------------------------------------------------------------------------------

struct Ort {
  int32_t x, y;
};

// Where a player's gauges sit: the score's centre, the energy and beam bars, the speed
// and gun gauges, the secondary weapon and the base of the small weapon row.
struct Anordnung {
  Ort Punkte, Energie, Beam, Speed, Kanone, Zweitwaffe, Reihe;
};

constexpr Anordnung kEinSpieler = {{743, 578}, {152, 556}, {170, 578}, {623, 565}, {587, 566}, {647, 569}, {0, 0}};
constexpr std::array<Anordnung, 2> kZweiSpieler = {{
    {{740, 565}, {158, 548}, {172, 560}, {626, 565}, {582, 566}, {659, 566}, {386, 559}},
    {{740, 581}, {158, 575}, {172, 586}, {626, 581}, {594, 583}, {659, 583}, {386, 577}},
}};

constexpr Ort kLeben = {122, 555};
constexpr int32_t kPanelY = 525;
constexpr int32_t kMaxLadung = 165;
constexpr int32_t kExtraLebenDauer = 50;
constexpr int32_t kSatellitFrames = 8, kSatellitStufen = 3;
// Four pods with their weapon icons: more than three icons would run into the next slot.
constexpr int32_t kMaxIcons = 3;

bool ZweiSpieler() { return LetzterSpieler == 1; }

// ---- Pictures --------------------------------------------------------------------------------

bool Gueltig(int32_t Nr) { return Nr >= 0 && Nr <= SurfacesMax() && Surfaces[Nr].Surface; }

template <size_t N>
int32_t Bild(const std::array<int32_t, N>& handles, int64_t i) {
  return i >= 0 && i < static_cast<int64_t>(N) ? handles[static_cast<size_t>(i)] : -1;
}

RECT Quelle(int32_t Nr) { return Gueltig(Nr) ? Surfaces[Nr].SrcRect : RECT{}; }

// Part `r` of picture `Nr` copied to (x, y), keyed with black unless `schluessel` is off.
// The part is cut to the picture: a bar that would run past its end shows full, one that
// would end before its start shows nothing.
void Kopie(int32_t Nr, int32_t x, int32_t y, RECT r, bool schluessel = true) {
  if (!Gueltig(Nr)) return;
  const RECT& q = Surfaces[Nr].SrcRect;
  r.Left = std::clamp(r.Left, q.Left, q.Right);
  r.Right = std::clamp(r.Right, r.Left, q.Right);
  r.Top = std::clamp(r.Top, q.Top, q.Bottom);
  r.Bottom = std::clamp(r.Bottom, r.Top, q.Bottom);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  const uint32_t flags = platform::DDBLTFAST_WAIT | (schluessel ? platform::DDBLTFAST_SRCCOLORKEY : 0);
  DXCheck(BackBuffer->BltFast(x, y, *Surfaces[Nr].Surface, &r, flags));
}

// A quad of picture `Nr` over the rectangle in one colour.
void Quad(int32_t Nr, float l, float t, float r, float b, float R, float G, float B, float A, bool additiv) {
  if (!Gueltig(Nr)) return;
  SetUpRect(Nr, l, t, r, b);
  SetUpColor(Nr, R, G, B, A);
  Render(Nr, additiv);
}

void Schwarz(float l, float t, float r, float b) { Quad(TexWeiss, l, t, r, b, 0, 0, 0, 1, false); }

// An additive glow of the panel at (x, y), in its own size.
void Glanz(int32_t i, int32_t x, int32_t y) {
  const int32_t Nr = Bild(TexAnzeigeSpec, i);
  if (!Gueltig(Nr)) return;
  SetUpXY(Nr, static_cast<float>(x), static_cast<float>(y));
  Render(Nr, true);
}

bool MitGlanz() { return !ZweiSpieler() && !VoodooModus; }

// The digits of `n`, the last first: `zeichne`(digit, i) with i = 0 for the last. A sign
// has no picture and is passed over. Returns the number of characters.
template <class Zeichne>
int32_t Ziffern(int64_t n, Zeichne zeichne) {
  char text[24];
  const auto [ende, fehler] = std::to_chars(std::begin(text), std::end(text), n);
  const int32_t L = fehler == std::errc() ? static_cast<int32_t>(ende - text) : 0;
  for (int32_t i = 0; i < L; ++i) {
    const char c = text[L - 1 - i];
    if (c >= '0' && c <= '9') zeichne(c - '0', i);
  }
  return L;
}

int32_t Stellen(int64_t n) {
  return Ziffern(n, [](int32_t, int32_t) {});
}

// ---- Extra lives -----------------------------------------------------------------------------

// A life for every threshold the summed hundred-thousands of both scores reach; the next
// threshold is twice as far. One at a time, 50 frames apart.
void ExtraLeben() {
  int64_t k = IDiv(Spieler[0].Punkte, 100000);
  if (ZweiSpieler()) k += IDiv(Spieler[1].Punkte, 100000);
  if (ExtraLebenZeit != 0 || k < ExtraLebenSchwelle) return;
  if (Spieler[0].Leben < INT32_MAX) ++Spieler[0].Leben;
  // Held at the 16-bit maximum: beyond it there is no further life, not an overflow.
  ExtraLebenSchwelle = static_cast<int16_t>(std::clamp(2 * int32_t{ExtraLebenSchwelle}, 1, int32_t{INT16_MAX}));
  ExtraLebenZeit = kExtraLebenDauer;
  if (SoundAn) PlaySound(SndLiveup, 0, std::nullopt, SoundLautstaerke);
}

// The lives count, and while a life has just been given the ring growing out of it and
// the count shrinking back to its size.
void Lebenszahl() {
  const int32_t Nr = Bild(TexLeben, std::clamp(Spieler[0].Leben, 0, 9));
  ShowSprite(Nr, kLeben.x, kLeben.y, false);
  if (MitGlanz()) Glanz(1, 122, 562);
  const int32_t T = ExtraLebenZeit;
  if (T <= 0 || !Gueltig(Nr)) return;
  const RECT q = Surfaces[Nr].SrcRect;
  const float w = static_cast<float>(q.Right - q.Left), h = static_cast<float>(q.Bottom - q.Top);
  const float x = static_cast<float>(kLeben.x), y = static_cast<float>(kLeben.y);
  const float d = static_cast<float>(2 * (25 - T / 2));
  Quad(TexKreis2, x - 2 * d, y - d, x + w + 2 * d, y + h + d, 1, 1, 1, static_cast<float>(T * 0.5 / 50), true);
  if (T > 25) {
    const float e = static_cast<float>((T - 25) * 4);
    ShowSpriteRect(Nr, x - e, y - e, x + w + e, y + h + e, false);
  }
}

void Rahmen() {
  Schwarz(0, 550, 800, 600);
  Schwarz(0, 540, 84, 600);
  if (ZweiSpieler()) Schwarz(150, 545, 230, 600);
  ShowSprite(TexAnzeigeGrund, 0, kPanelY, false);
  Lebenszahl();
}

// ---- One player's gauges ---------------------------------------------------------------------

// The shown score rolls toward the real one: big steps while far off, single points at
// the end.
void Rollen(int32_t p) {
  int32_t& a = AnzeigePunkte[p];
  const int64_t diff = int64_t{Spieler[p].Punkte} - a;
  struct Stufe {
    int64_t ab;  // from this difference on
    int32_t schritt;
  };
  static constexpr std::array<Stufe, 10> kStufen = {{{10001, 5111},
                                                     {1001, 511},
                                                     {101, 51},
                                                     {12, 11},
                                                     {1, 1},
                                                     {-11, -1},
                                                     {-100, -9},
                                                     {-1000, -99},
                                                     {-10000, -999},
                                                     {INT64_MIN, -9999}}};
  if (diff == 0) return;
  for (const Stufe& s : kStufen)
    if (diff >= s.ab) {
      a = static_cast<int32_t>(a + s.schritt);
      return;
    }
}

void Punkte(int32_t p, Ort o) {
  const int64_t n = AnzeigePunkte[p];
  const int32_t L = Stellen(n);
  Ziffern(n, [&](int32_t z, int32_t i) { ShowSprite(Bild(TexZiffer, z), o.x + 4 * L - 8 * i, o.y, false); });
}

// The filled part grows from the left with the energy; a maximum of 0 fills nothing.
void Energie(int32_t p, Ort o) {
  RECT r = Quelle(TexAnzeigeEnergie);
  if (!ForceModus) Kopie(TexAnzeigeEnergieA, o.x, o.y, r);
  const SpielerDaten& s = Spieler[p];
  r.Right = IDiv(static_cast<double>(s.Energie) * r.Right, s.EnergieMax);
  Kopie(TexAnzeigeEnergie, o.x, o.y, r);
}

int32_t Modus(int32_t m) { return m != 0 ? 1 : 0; }

// The beam's charge, full at 165, in the colour of the mode in effect over the empty bar
// of the selected one.
void Ladung(int32_t p, Ort o) {
  const BeamStatus& b = Beam[p];
  RECT r = Quelle(TexAnzeigeBeam[Modus(Beam[0].AktivModus)]);
  if (!ForceModus) Kopie(TexAnzeigeBeamA[Modus(b.Modus)], o.x, o.y, r);
  if (!(b.Ladung > 0)) return;
  r.Right = IDiv(static_cast<double>(r.Right) * b.Ladung, kMaxLadung);
  Kopie(TexAnzeigeBeam[Modus(b.AktivModus)], o.x, o.y, r);
}

// Empty at speed 4, full at 10, filling from the bottom.
void Speed(int32_t p, Ort o) {
  RECT r = Quelle(TexAnzeigeS);
  r.Top = r.Bottom - IDiv((static_cast<double>(Spieler[p].Speed) - 4) * r.Bottom, 6);
  r.Top = std::clamp(r.Top, Quelle(TexAnzeigeS).Top, r.Bottom);
  Kopie(TexAnzeigeS, o.x, o.y + r.Top, r);
}

// Half the gauge at gun level 2, all of it at 3.
void Kanone(int32_t p, Ort o) {
  const int32_t stufe = Spieler[p].Waffenstufe;
  if (stufe < 2) return;
  RECT r = Quelle(TexAnzeigeP);
  r.Right = IDiv(r.Right, 4.0 - stufe);
  Kopie(TexAnzeigeP, o.x, o.y, r);
}

void Zweitwaffe(int32_t p, Ort o) {
  const int32_t s = Spieler[p].Zweitwaffe;
  if (s >= 1 && s <= 3) ShowSprite(TexAnzeigeExtra[s - 1], o.x, o.y, false);
}

// ---- Carried weapons -------------------------------------------------------------------------

// The icon of a pod's weapon: the shield for a guard pod; none for a pod without one.
int32_t PodIcon(int32_t waffe) { return waffe < 0 ? TexExtraSymbol[0] : Bild(TexExtraSymbol, waffe); }
int32_t PodIcons(const PodDaten& pod) { return pod.Waffe < 0 ? 3 : (pod.Waffe > 0 ? std::min(pod.Stufe, kMaxIcons) : 0); }

int32_t SatellitIcon() { return Bild(TexExtraSymbol, int64_t{Satellit.Spezialwaffe} + 1); }

// The satellite's own picture `i` frames on from its animation, at its level.
int32_t SatellitFrame(int64_t i) {
  if (i >= kSatellitFrames) i -= kSatellitFrames;
  if (i < 0 || i >= kSatellitFrames || Satellit.Stufe < 0 || Satellit.Stufe >= kSatellitStufen) return -1;
  return Bild(TexSatellit, i * kSatellitStufen + Satellit.Stufe);
}

// The satellite's weapon, faint behind its trail.
void SatellitWaffe(float l, float t, float r, float b) {
  const int32_t icon = SatellitIcon();
  Quad(icon, l, t, r, b, 1, 1, 1, 0.2f, false);
  if (Gueltig(icon)) SetUpColor(icon, 1, 1, 1, 1);
}

// Five of the satellite's frames from its animation on, fading in. They are the
// satellite's own pictures: each is given back its white, or the satellite itself would
// be drawn next in the trail's colour (and its current frame not at all).
void Satellitenspur(float l, float t, float r, float b) {
  const int64_t s = Satellit.AnimFrame;
  for (int64_t i = s; i <= s + 4; ++i) {
    const int32_t Nr = SatellitFrame(i);
    if (!Gueltig(Nr)) continue;
    Quad(Nr, l, t, r, b, 0.7f, 0.7f, 1.0f, static_cast<float>((i - s) / 10.0), false);
    SetUpColor(Nr, 1, 1, 1, 1);
  }
}

constexpr std::array<Ort, 4> kPodSlots = {{{385, 559}, {385, 577}, {460, 559}, {460, 577}}};
constexpr std::array<Ort, 4> kPodSlotsKlein = {{{12, 1}, {12, 10}, {70, 1}, {70, 10}}};

void PodsGross(int32_t p) {
  for (int32_t i = 0; i < 4; ++i) {
    const PodDaten& pod = Pods[i];
    const Ort o = kPodSlots[i];
    if (pod.Besitz == VBFalse) {
      Kopie(TexSchiffSymbol[0], o.x, o.y, Quelle(TexSchiffSymbol[0]), false);
      continue;
    }
    if (Spieler[p].Pod == i) Kopie(TexSchiffSymbol[i + 1], o.x, o.y, Quelle(TexSchiffSymbol[i + 1]), false);
    const int32_t icon = PodIcon(pod.Waffe);
    for (int32_t j = 1; j <= PodIcons(pod); ++j) ShowSprite(icon, o.x + 16 * j + 3, o.y + 2, true);
  }
}

void PodsKlein(int32_t p, Ort basis) {
  for (int32_t i = 0; i < 4; ++i) {
    const PodDaten& pod = Pods[i];
    const float x = static_cast<float>(basis.x + kPodSlotsKlein[i].x), y = static_cast<float>(basis.y + kPodSlotsKlein[i].y);
    if (pod.Besitz == VBFalse) {
      ShowSpriteRect(TexSchiffSymbol[0], x - 12, y, x - 4, y + 6, false);
      continue;
    }
    if (Spieler[p].Pod == i) Quad(TexKreis2, x - 5, y, x + 40, y + 6, 1, 1, 1, 1, false);
    const int32_t icon = PodIcon(pod.Waffe);
    for (int32_t j = 1; j <= PodIcons(pod); ++j) {
      const float l = x + 16.0f * j - 16;
      Quad(icon, l, y, l + 6, y + 6, 1, 1, 1, 1, false);
    }
  }
}

void WaffenGross(int32_t p) {
  if (Schiff[p].Typ == 0) {
    PodsGross(p);
  } else if (Satellit.Da != VBFalse) {
    Filtern = true;
    SatellitWaffe(416, 555, 524, 595);
    Filtern = false;
    Satellitenspur(438, 549, 486, 597);
  }
}

void WaffenKlein(int32_t p, Ort b) {
  if (Schiff[p].Typ == 0) {
    PodsKlein(p, b);
  } else if (Satellit.Da != VBFalse) {
    const float x = static_cast<float>(b.x), y = static_cast<float>(b.y);
    SatellitWaffe(x + 28, y + 2, x + 84, y + 16);
    Satellitenspur(x + 46, y - 1, x + 66, y + 19);
  }
}

// Two players, the first flying the satellite ship: the two rows of the panel change
// places, so that each player's row lies beside the player's own gauges.
void ReihenTauschen() {
  Kopie(TexAnzeigeGrund, 386, 577, {386, 34, 499, 51}, false);
  Kopie(TexAnzeigeGrund, 386, 559, {386, 52, 499, 69}, false);
}

void Spielerzeile(int32_t p) {
  const Anordnung& a = ZweiSpieler() ? kZweiSpieler[p] : kEinSpieler;
  Rollen(p);
  if (!Rendern) return;
  Punkte(p, a.Punkte);
  Energie(p, a.Energie);
  Ladung(p, a.Beam);
  if (MitGlanz()) {
    Glanz(0, 175, 559);
    Glanz(0, 195, 582);
  }
  Speed(p, a.Speed);
  Kanone(p, a.Kanone);
  Zweitwaffe(p, a.Zweitwaffe);
  if (MitGlanz()) Glanz(2, 648, 567);
  if (!ZweiSpieler()) {
    WaffenGross(p);
    return;
  }
  if (p == 0 && Schiff[0].Typ == 1) ReihenTauschen();
  WaffenKlein(p, a.Reihe);
}

// ---- Combos ----------------------------------------------------------------------------------

void BesteCombos() {
  SpielerDaten& s = Spieler[0];
  s.BesteComboBonus = std::max(s.BesteComboBonus, ComboBonus[0]);
  s.BesteComboTreffer = std::max(s.BesteComboTreffer, ComboTreffer[0]);
}

// A combo that has ended goes to the ticker. Kept with its room: ending a combo allocates
// nothing but the ticker's own line.
void ComboMeldung() {
  static std::string text = [] {
    std::string t;
    t.reserve(48);
    return t;
  }();
  char zahl[16];
  text.assign("Combo: ");
  text.append(zahl, std::to_chars(std::begin(zahl), std::end(zahl), ComboLetzte).ptr);
  text.append(" Hit ");
  text.append(zahl, std::to_chars(std::begin(zahl), std::end(zahl), ComboPunkte).ptr);
  AddMsg(text);
}

// The label with the count right-aligned before it and the bonus below at the screen's
// edge; a rising count pops up tall and settles while its short display runs.
void ComboZeichnen(int32_t h) {
  ShowSprite(TexCombo, 730, 520, false);
  Ziffern(ComboAnzeige, [](int32_t z, int32_t i) { ShowSprite(Bild(TexZiffer, z), 721 - 9 * (i + 1), 520, false); });
  Ziffern(ComboPunkte, [](int32_t z, int32_t i) { ShowSprite(Bild(TexZiffer, z), 800 - 9 * (i + 1), 535, false); });
  if (h == ComboAnzeige || h < 1) return;
  const float t = static_cast<float>(ComboZeit);
  const float w = static_cast<float>(Quelle(TexCombo).Right - Quelle(TexCombo).Left);
  ShowSpriteRect(TexCombo, 730, 520 - t, 730 + w, 532 + t, false);
  Ziffern(h, [t](int32_t z, int32_t i) {
    const float x = static_cast<float>(721 - 9 * (i + 1));
    ShowSpriteRect(Bild(TexZiffer, z), x, 520 - t, x + 8, 532 + t, false);
  });
}

// The first player's combo: shown from two hits on while it runs and for a while after it
// ended, which the ticker then tells. A frame that is not drawn ends the display.
void ComboZaehler() {
  const int32_t h = ComboTreffer[0], b = ComboBonus[0];
  if (b > ComboPunkte || (b < ComboPunkte && h > 0)) ComboPunkte = b;
  if (int64_t{h} > int64_t{ComboAnzeige} + 1) ComboAnzeige = h - 1;
  if (h == ComboAnzeige || h < 1 || h == ComboLetzte) {
    if (h == 0 && ComboLetzte >= 1) {
      ComboZeit = 100;
      if (ComboLetzte > 1) ComboMeldung();
      ComboAnzeige = ComboLetzte;
      ComboLetzte = 0;
    }
  } else {
    ComboZeit = 10;
    ComboLetzte = h;
  }
  if (ComboZeit > INT32_MIN) --ComboZeit;
  if (ComboZeit == 1 && h > 0) ComboAnzeige = h;
  // A frame not drawn leaves the time at 0 and this tick takes it below: an ended combo
  // is then forgotten too, or its count would show again with the next single hit.
  if (ComboZeit <= 0 && h < 1) {
    ComboAnzeige = ComboLetzte = ComboPunkte = 0;
  } else if (ComboZeit == 0) {
    ComboZeit = 1;
  }
  if (!Rendern) {
    ComboZeit = 0;
    return;
  }
  if ((h > 1 || ComboAnzeige > 1) && ComboZeit > 0) ComboZeichnen(h);
}

}  // namespace

void SpielDisplay() {
  Filtern = false;
  ExtraLeben();
  if (Rendern) Rahmen();
  // The effect keeps its pace in frames that are not drawn.
  if (ExtraLebenZeit > 0) --ExtraLebenZeit;
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) Spielerzeile(p);
  SpielFunkmeldung();
  BesteCombos();
  ComboZaehler();
}
