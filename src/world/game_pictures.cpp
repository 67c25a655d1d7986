#include "world/game_pictures.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "player/players_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "world/picture_loading.hpp"

namespace {

using std::to_string;

// What differs between the ship types; the hit box is the same for all.
struct Schiffswerte {
  int32_t MuendungX;
  std::array<int32_t, 5> MuendungY1, MuendungY2;
  int32_t Zeilen;
};
constexpr std::array<Schiffswerte, 3> kSchiffswerte = {{
    {45, {26, 30, 39, 46, 49}, {50, 48, 39, 25, 24}, 1},  // V-Tonator
    {43, {23, 26, 34, 38, 49}, {41, 40, 34, 29, 23}, 1},  // V-Phyton
    {44, {27, 30, 38, 41, 43}, {46, 43, 38, 31, 25}, 3},  // drone ship
}};
constexpr int32_t kFrameSpalten = 5;
// The block holds five rows of frames.
static_assert(std::ranges::all_of(kSchiffswerte, [](const Schiffswerte& w) { return w.Zeilen <= 5; }));

class Lader {
 public:
  explicit Lader(std::string ordner) : ordner_(std::move(ordner)) {}

  int32_t Blit(const std::string& datei) { return LadeBild(ordner_, datei, kBlit); }
  // A texture with the black key, its quad at its own size, white with alpha `a`.
  int32_t Quad(const std::string& datei, float a = 1.0f) {
    const int32_t nr = LadeBild(ordner_, datei, kQuad);
    SetUpEigen(nr, a);
    return nr;
  }
  int32_t Quad64(const std::string& datei) {
    const int32_t nr = LadeBild(ordner_, datei, kQuad);
    SetUpFrame64(nr);
    return nr;
  }
  int32_t QuadGetrimmt(const std::string& datei) {
    const int32_t nr = LadeBild(ordner_, datei, kQuad);
    SetUpGetrimmt(nr);
    return nr;
  }
  bool Gibt(const std::string& datei) const { return platform::fs::FileExists(ordner_ + datei); }
  const std::string& Ordner() const { return ordner_; }

 private:
  std::string ordner_;
};

void LadePods(Lader& l) {
  for (int32_t n = 0; n <= 13; ++n) TexPartikel[n] = l.Quad("Partikel" + to_string(n) + ".bmp");
}

// The ship block of player `p` and the pictures of its ship type.
void LadeSchiff(Lader& l, int32_t p) {
  SchiffDaten& s = Schiff[p];
  const int32_t t = s.Typ;
  const bool bekannt = t >= 0 && t < static_cast<int32_t>(kSchiffswerte.size());
  if (bekannt) {
    const Schiffswerte& w = kSchiffswerte[t];
    s.MuendungX = w.MuendungX;
    s.MuendungY1 = w.MuendungY1;
    s.MuendungY2 = w.MuendungY2;
    s.Zeilen = w.Zeilen;
  }
  if (t == 0) {
    LadePods(l);
  } else if (t == 1) {
    for (int32_t a = 1; a <= 3; ++a)
      for (int32_t b = 0; b <= 7; ++b)
        TexSatellit[a + 3 * b - 1] = l.Quad64("Force_0" + to_string(a) + "000" + to_string(b) + ".bmp");
  } else if (t == 2) {
    for (int32_t n = 0; n <= 9; ++n) TexDrohnenWaffe[n] = l.Quad("VW1-" + to_string(n) + ".bmp");
  }
  s.BoxLinks = 0;
  s.BoxOben = 17;
  s.BoxRechts = 64;
  s.BoxUnten = 54;
  if (!bekannt) {
    // No archive holds frames of another type (the second player of a drone ship gets
    // type -1): the ship goes without pictures rather than ending the game.
    DebugLogWennAn("Schiffstyp " + to_string(t) + " ohne Bilder (Spieler " + to_string(p) + ")");
    s.Bilder.fill(-1);
    return;
  }
  for (int32_t c = 1; c <= kFrameSpalten; ++c)
    for (int32_t r = 1; r <= s.Zeilen; ++r)
      s.Bilder[(r - 1) * kFrameSpalten + (c - 1)] =
          l.Quad64("VESK" + to_string(t) + to_string(c) + to_string(r) + ".bmp");
}

// The in-game display of set `s`: ground, energy, beam, score and pods, the special
// pictures (one player only) and the extras.
void LadeAnzeige(Lader& l, int32_t s, bool zweiSpieler) {
  const std::string satz = "interface" + to_string(s);
  TexAnzeigeGrund = l.Blit(satz + "_grund.bmp");
  TexAnzeigeEnergie = l.Blit(satz + "_energy.bmp");
  if (!ForceModus) TexAnzeigeEnergieA = l.Blit(satz + "_energyA.bmp");
  for (int32_t i = 0; i <= 1; ++i) {
    TexAnzeigeBeam[i] = l.Blit(satz + "_beam" + to_string(i) + ".bmp");
    if (!ForceModus) TexAnzeigeBeamA[i] = l.Blit(satz + "_beamA" + to_string(i) + ".bmp");
  }
  TexAnzeigeS = l.Blit(satz + "_s.bmp");
  TexAnzeigeP = l.Blit(satz + "_p.bmp");
  if (!VoodooModus && !zweiSpieler) {
    for (int32_t i = 0; i <= 2; ++i) {
      const int32_t nr = LadeBild(l.Ordner(), satz + "_spec" + to_string(i) + ".bmp", kQuad);
      SurfaceKorrektur(nr);
      SetUpTUTV(nr, 0, 0, 1, 1);
      SetUpColor(nr, 1, 1, 1, 1);
      TexAnzeigeSpec[i] = nr;
    }
  }
  const std::string extra = zweiSpieler ? "interface3_extra" : "interface_extra";
  for (int32_t i = 0; i <= 2; ++i) TexAnzeigeExtra[i] = l.Blit(extra + to_string(i) + ".bmp");
}

// The pick-ups of both players by kind i and frame j, and the symbol of each kind.
void LadeExtras(Lader& l) {
  for (int32_t i = 0; i <= 4; ++i) {
    for (int32_t k = 0; k <= 1; ++k) {
      for (int32_t j = 0; j <= 5; ++j) {
        const int32_t nr = l.Quad((k == 0 ? "Extra" : "P2Extra") + to_string(i) + to_string(j) + ".bmp");
        SetUpColor(nr, 1, 1, 1, 1);
        SetUpTUTV(nr, 0, 0, 1, 1);
        TexExtra[k + 2 * (i + 5 * j)] = nr;
      }
    }
    TexExtraSymbol[i + 1] = l.QuadGetrimmt("Extra" + to_string(i) + ".bmp");
  }
  TexExtraSymbol[0] = l.QuadGetrimmt("ExtraShild.bmp");
}

// The power-ups: a kind with fewer frames repeats its first.
void LadePowerUps(Lader& l) {
  for (int32_t i = 0; i <= 9; ++i) {
    for (int32_t j = 0; j <= 5; ++j) {
      std::string datei = "Pow" + to_string(i) + to_string(j) + ".bmp";
      if (!l.Gibt(datei)) datei = "Pow" + to_string(i) + "0.bmp";
      TexPow[i + 10 * j] = l.Quad(datei);
    }
  }
}

void LadeWaffen(Lader& l) {
  TexAbpraller[0] = l.Quad("AbprallerEinzeln.bmp");
  TexAbpraller[1] = l.Quad("AbprallerZusammen.bmp");
  TexBombe = l.Quad("Bombe.bmp");
  TexRakete = l.Blit("Rakete.bmp");
  TexRakete2 = l.Quad("Rakete2.bmp");
  TexWave2 = l.Quad("Wave2.bmp");
  TexFadenkreuz = l.Quad("fadenkreuz.bmp", 0.4f);
  TexHupe = l.Quad("Hupe.bmp", 0.5f);
  TexBlase = l.Quad("Blase.bmp", 0.9f);
  TexCombo = l.Blit("Combo.bmp");
}

}  // namespace

void LoadSpielSurfaces() {
  // Rain and snow are loaded by the weather when it first needs them.
  Lader l(Depack("Spiel.vkp$Regen1.bmp<Schnee1.bmp<Schnee2.bmp<Schnee3.bmp<", AppPfad, true));

  TexBallschuss[0] = l.Quad("Ballschuss.bmp");
  for (int32_t i = 1; i <= 3; ++i) TexBallschuss[i] = l.Quad("Ballschuss" + to_string(i + 1) + ".bmp");

  TmpRect1 = {0, 0, 64, 64};
  const bool zweiSpieler = LetzterSpieler == 1;
  // The second player flies the other of the first two types.
  if (zweiSpieler) Schiff[1].Typ = 1 - Schiff[0].Typ;
  for (int32_t p = 0; p <= (zweiSpieler ? 1 : 0); ++p) LadeSchiff(l, p);

  for (int32_t n = 0; n <= 9; ++n) {
    TexZiffer[n] = l.Blit("N" + to_string(n) + ".bmp");
    TexLeben[n] = l.Blit("Leben" + to_string(n) + ".bmp");
  }

  SchiffInterfaceSatz = zweiSpieler ? 3 : Schiff[0].Typ;
  LadeAnzeige(l, SchiffInterfaceSatz, zweiSpieler);

  for (int32_t n = 0; n <= 4; ++n) TexSchiffSymbol[n] = l.Blit("V" + to_string(n) + "S.bmp");
  TexGSchuss[0] = l.Quad("GSchuss1.bmp");
  TexGSchuss[1] = l.Quad("GSchuss2.bmp");
  LadeExtras(l);
  // The pods of every ship type; a name loaded above returns its entry.
  LadePods(l);
  LadePowerUps(l);
  LadeWaffen(l);

  // The magnifier works on its own copy, apart from the standard entry of the same name.
  TexLupe = ZweiterEintrag(TexBlur2, l.Ordner(), "Blur2.bmp", kQuad, false);
  SetUpEigen(TexLupe, 0.5f);

  TexWetter.fill(-1);
  for (int32_t i = 0; i <= 31; ++i) TexFunkFrame[i] = l.Blit("Frame" + to_string(i + 1) + ".bmp");
  KillDir(l.Ordner());
}
