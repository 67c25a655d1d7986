// The water: refraction strips, the surface band, what splashes and bubbles in it, and its
// sparkles.
#include "world/water.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/enemies_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr int32_t kBoden = kSpielfeldHoehe;  // the bottom of the play area
constexpr int32_t kBreite = kSpielfeldBreite;
// However deep a level's water, one tick never makes more splashes of one enemy or more
// sparkles than the effect-particle pool could hold.
constexpr int64_t kHoechstensTeilchen = decltype(BigPartikel)::Kapazitaet + 1;

// A whole number of degrees for the sine tables, without overflowing on a long level.
int32_t Grad(int64_t winkel) { return static_cast<int32_t>(winkel % 360); }

bool Bild(int32_t Nr) { return Nr >= 0 && Nr <= SurfacesMax() && Surfaces[Nr].Surface; }

// ---- Refraction ------------------------------------------------------------------------

// Rows y .. y + h - 1 of the back buffer moved `s` pixels sideways; what is pushed out
// is lost and the column left behind keeps what it showed.
void Verschieben(int32_t y, int32_t h, int32_t s) {
  if (s == 0 || s >= kBreite || s <= -kBreite) return;
  const platform::Rect quelle =
      s > 0 ? platform::Rect{0, y, kBreite - s, y + h} : platform::Rect{-s, y, kBreite, y + h};
  BackBuffer->BltFast(std::max(s, 0), y, *BackBuffer, &quelle, platform::DDBLTFAST_WAIT);  // errors ignored
}

// Deep water bends the picture below the surface in strips of 10 to 15 rows, each shifted
// by its own wave. The shift grows every 50 rows further down (and changes sign), except
// when the whole area is water. Water reaching above the screen is bent from row 0.
void Brechung(int32_t S) {
  if (Wasserstand <= 100 || !BackBuffer) return;
  for (int32_t y = std::max(S, 0); y < kBoden;) {
    const int32_t rest = kBoden - y;
    const int32_t h = rest > 15 ? CLng(Rnd() * 5.0f) + 10 : rest;
    const double welle = SinusB(Grad(int64_t{y} + 2 * int64_t{LevelTick}));
    const double faktor = Wasserstand == kBoden ? 5 : IDiv(static_cast<double>(kBoden - y) - Wasserstand, 50) + 1;
    Verschieben(y, h, CLng(faktor * welle));
    y += h;
  }
}

// ---- Surface ---------------------------------------------------------------------------

// One quad of the plain white picture between `links` and `rechts`, its top and bottom
// edges given at both ends, one colour along the top and one along the bottom.
void Band(float links, float rechts, float obenL, float obenR, float untenL, float untenR, int32_t farbeOben,
          int32_t farbeUnten) {
  std::array<D3DTLVERTEX, 4>& v = Surfaces[TexWeiss].Vertex;
  v[0].sx = links, v[0].sy = untenL, v[0].color = farbeUnten;
  v[1].sx = links, v[1].sy = obenL, v[1].color = farbeOben;
  v[2].sx = rechts, v[2].sy = untenR, v[2].color = farbeUnten;
  v[3].sx = rechts, v[3].sy = obenR, v[3].color = farbeOben;
  Render(TexWeiss, false);
}

// A highlight fading in above the surface line and the water body below it, each in two
// halves: the line waves 6 pixels up and down, the middle of the screen against the edges.
void Oberflaeche(int32_t S) {
  if (!Bild(TexWeiss)) return;
  const float a = 6 * CosinusB(Grad(2 * int64_t{LevelTick})), b = 6 * SinusB(Grad(2 * int64_t{LevelTick}));
  const float s = static_cast<float>(S), boden = kBoden, mitte = kBreite / 2.0f, rechts = kBreite;
  const std::array<float, 6>& w = WasserDaten;
  const int32_t klar = GetRGBA(w[0], w[1], w[2], 0), oben = GetRGBA(w[0], w[1], w[2], 0.4f),
                unten = GetRGBA(w[3], w[4], w[5], 0.4f);
  Band(0, mitte, s - 7 - a, s - 7 - b, s - a, s - b, klar, oben);
  Band(mitte, rechts, s - 7 - b, s - 7 - a, s - b, s - a, klar, oben);
  Band(0, mitte, s - a, s - b, boden, boden, oben, unten);
  Band(mitte, rechts, s - b, s - a, boden, boden, oben, unten);
}

// ---- What meets the water --------------------------------------------------------------

// A white splash thrown up at the surface, drifting by (SX, SY).
void Spritzer(float x, float y, float SX, float SY, int32_t Groesse, int32_t Leben) {
  Add1BigPartikel(x, y, SX, SY, 1, 1, 1, Groesse, 0, Leben, 1, 0);
}

// A splash of the larger kind: size 32, drifting up to half a pixel each way.
void GrosserSpritzer(float x, float y, int32_t Leben) {
  const float sx = Rnd() - 0.5f;
  Spritzer(x, y, sx, Rnd() - 0.5f, 32, Leben);
}

// A bubble of 8 to 18 pixels.
void Blubb(float x, float y) { AddBlase(x, y, CLng(Rnd() * 10.0f + 8.0f)); }

bool Zufall(float p) { return Rnd() < p; }

// Ships in deep water bubble now and then; a ship in the surface splashes and the splash
// sound loops for as long as any ship is in it.
void SchiffeImWasser(int32_t S) {
  const double s = S;
  bool imWasser = false;
  const int32_t letzter = std::min<int32_t>(LetzterSpieler, static_cast<int32_t>(Spieler.size()) - 1);
  for (int32_t p = 0; p <= letzter; ++p) {
    const SpielerDaten& v = Spieler[p];
    const SchiffDaten& b = Schiff[p];
    if (Wasserstand == kBoden && Zufall(0.01f)) Blubb(static_cast<float>(v.X + b.BoxRechts * Rnd()), v.Y + 10);
    if (v.Y + b.BoxUnten <= s) continue;
    if (Zufall(0.01f)) Blubb(static_cast<float>(v.X + b.BoxRechts * Rnd()), v.Y + 10);
    if (v.Y + b.BoxOben >= s) continue;
    imWasser = true;
    const float x = static_cast<float>(v.X + b.BoxRechts * Rnd() - 16);
    const float sx = Rnd() / 2 - 0.25f;
    Spritzer(x, static_cast<float>(s - 8), sx, Rnd() / 2 - 0.25f, 16, 40);
  }
  if (imWasser && !WasserKlangLaeuft) {
    if (SoundAn) PlaySound(SndWaterTouch, 1, std::nullopt, SoundLautstaerke);
    WasserKlangLaeuft = true;
  } else if (!imWasser && WasserKlangLaeuft) {
    if (SoundAn) StopSound(SndWaterTouch);
    WasserKlangLaeuft = false;
  }
}

// The pods (of a ship that carries them) splash while they cross the surface.
void PodsImWasser(int32_t S) {
  if (LetzterSpieler < 1 && Schiff[0].Typ != 0) return;
  for (const PodDaten& p : Pods) {
    if (p.Besitz == 0 || !(int64_t{p.Y} + 8 < S && S < int64_t{p.Y} + 24)) continue;
    const float x = p.X + Rnd() * 16;
    const float sx = Rnd() - 0.5f;
    Spritzer(x, static_cast<float>(S - 8), sx, Rnd() - 0.5f, 16, 10);
  }
}

void SatellitImWasser(int32_t S) {
  const SatellitDaten& t = Satellit;
  if (t.Da == 0 || !(t.Y + 8.0 <= S && S < t.Y + 55.0)) return;
  GrosserSpritzer(t.X + Rnd() * 32, static_cast<float>(S - 16), 3);
}

// Enemies that are not solid scenery bubble below the surface, and those crossing it
// splash along their width.
void GegnerImWasser(int32_t S) {
  const double s = S;
  const int32_t bis = GegnerMax;
  for (int32_t i = 0; i <= bis; ++i) {
    const Gegner& g = GegnerListe[i];
    if (g.Aktiv == VBFalse || g.Typ.Parameter[8] != 0) continue;
    const int32_t breite = g.Typ.Width;
    if (g.Y + static_cast<double>(g.Typ.Height) <= s) continue;
    if (Zufall(0.01f)) Blubb(static_cast<float>(g.X + static_cast<double>(breite) - 10), g.Y + 10);
    if (g.Y >= s) continue;
    const int64_t n = std::min<int64_t>(int64_t{IDiv(breite, 65)} + 1, kHoechstensTeilchen);
    for (int64_t k = 0; k < n && HatPlatz(BigPartikel); ++k)
      GrosserSpritzer(static_cast<float>(g.X + breite * static_cast<double>(Rnd()) - 16), static_cast<float>(s - 16),
                      20);
  }
}

// A beam of the first kind flying through the water boils it; crossing the surface it
// also splashes.
void StrahlenImWasser(int32_t S) {
  for (const BeamStatus& b : Beam) {
    if (b.Fliegt == 0 || b.AktivModus != 0 || b.StartY + b.Breite <= S) continue;
    for (int k = 0; k < 2; ++k) {
      const float x = b.X + Rnd() * 25;
      Blubb(x, b.Y + Rnd() * b.Breite / 2);
    }
    if (b.Y >= S) continue;
    for (int k = 0; k < 2; ++k) GrosserSpritzer(b.X + Rnd() * 25 - 16, static_cast<float>(S - 16), 10);
  }
}

// Every third tick, a sparkle in the surface colour for every 20 pixels of depth, drifting
// upward somewhere below the surface.
void Funkeln(int32_t S) {
  if (LevelTick % 3 != 0) return;
  const int64_t n = std::min<int64_t>(int64_t{IDiv(Wasserstand, 20)} + 1, kHoechstensTeilchen);
  for (int64_t k = 0; k < n && HatPlatz(BigPartikel); ++k) {
    const float x = Rnd() * 784;
    const float y = static_cast<float>(S + 45.0 + Rnd() * (static_cast<double>(Wasserstand) - 50));
    const float sx = 2 * Rnd() - 1;
    const float sy = -Rnd();
    Add1BigPartikel(x, y, sx, sy, WasserDaten[0], WasserDaten[1], WasserDaten[2], 4, 0, 50, 1, 0);
  }
}

}  // namespace

void SpielWasser() {
  if (Wasserstand < 1 || !Rendern) return;
  const int32_t S = kBoden - Wasserstand;
  Brechung(S);
  if (HintergrundModus == 0) return;
  Oberflaeche(S);
  SchiffeImWasser(S);
  PodsImWasser(S);
  SatellitImWasser(S);
  GegnerImWasser(S);
  StrahlenImWasser(S);
  Funkeln(S);
}
