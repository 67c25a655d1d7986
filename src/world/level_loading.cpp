#include "world/level_loading.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <optional>
#include <string>

#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "engine/edges.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/err.hpp"
#include "shell/msgbox.hpp"
#include "shell/timing.hpp"
#include "world/animations_state.hpp"
#include "world/collision_table_state.hpp"
#include "world/enemies_state.hpp"
#include "world/game_pictures.hpp"
#include "world/game_sounds.hpp"
#include "world/level.hpp"
#include "world/level_file.hpp"
#include "world/loading_screen.hpp"
#include "world/picture_loading.hpp"
#include "world/radio_text_file.hpp"
#include "world/weather_state.hpp"

namespace {

// More copies of one level sound than this are of no use to anybody; a level file
// asking for more gets this many.
constexpr int32_t kKopienGrenze = 31;

bool IstBild(int32_t nr) { return nr >= 0 && nr <= SurfacesMax(); }

// The picture of frame 0 of sprite definition `sprite`; -1 when there is none.
int32_t BildFrame0(int32_t sprite) {
  if (sprite < 0 || sprite > SpriteDefsMax()) return -1;
  const std::vector<SpriteFrame>& frames = SpriteDefs[static_cast<size_t>(sprite)].Frames;
  if (frames.empty() || !IstBild(frames[0].Surface)) return -1;
  return frames[0].Surface;
}

// The change per tick from `dieser` to `naechster` over `d` ticks; none over no time.
float ProTick(double naechster, double dieser, int64_t d) {
  return d == 0 ? 0.0f : static_cast<float>((naechster - dieser) / static_cast<double>(d));
}

// Key `k`'s changes per tick up to key `n`, and the right edge it reaches with a picture
// `w` pixels wide, into `rand`.
void Schritte(AnimaKeyframe& k, const AnimaKeyframe& n, int32_t w, int32_t& rand) {
  const double e = k.PosX + w * (static_cast<double>(k.ZoomX) + 1) / 2;
  if (e > rand) rand = CLng(e);

  const int64_t d = int64_t{n.Tick} - k.Tick;
  k.DR = ProTick(n.R, k.R, d);
  k.DG = ProTick(n.G, k.G, d);
  k.DB = ProTick(n.B, k.B, d);
  k.DA = ProTick(n.A, k.A, d);
  k.DZoomX = ProTick(n.ZoomX, k.ZoomX, d);
  k.DZoomY = ProTick(n.ZoomY, k.ZoomY, d);
  k.DWinkel = ProTick(n.Winkel, k.Winkel, d);

  const float dx = n.PosX - k.PosX, dy = n.PosY - k.PosY;
  k.BeschlX = 0;
  k.BeschlY = 0;
  switch (n.Bewegung) {
    case 0:
      k.SpeedX = 0;
      k.SpeedY = 0;
      break;
    case 1:
      k.SpeedX = ProTick(n.PosX, k.PosX, d);
      k.SpeedY = ProTick(n.PosY, k.PosY, d);
      break;
    case 2:
    case 3: {
      const double a = Winkel(dx, dy);
      k.SpeedX = static_cast<float>(std::cos(a) * n.Speed);
      k.SpeedY = static_cast<float>(std::sin(a) * n.Speed);
      if (n.Bewegung == 3 && d != 0) {
        // The speed that covers the distance in d ticks, starting at the key's speed.
        const double s = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
        const double c = 2 * (s - static_cast<double>(n.Speed) * d) / (static_cast<double>(d) * d);
        k.BeschlX = static_cast<float>(std::cos(a) * c);
        k.BeschlY = static_cast<float>(std::sin(a) * c);
      }
      break;
    }
    default:
      break;  // the speeds stay as they are
  }
}

// One load of a level, from the loading screen to the key.
class Ladevorgang {
 public:
  Ladevorgang(const std::string& name, const std::string& loadingscreen) : name_(name), loadingscreen_(loadingscreen) {}

  void Laden();
  // A display lost while loading: wait until it is back; the caller loads again.
  void AnzeigeVerloren();
  // Any other failure ends the run with the error dialog.
  void Fehler(const Err& e);
  // What was unpacked goes, whichever way the load ended.
  void Aufraeumen();

 private:
  std::string Pfad(const std::string& datei) const;
  void Hintergrund();
  bool Sprites();
  bool Trefferbilder();
  void LevelSounds();
  void MusikPruefen();
  void SzeneBeenden();

  const std::string& name_;
  const std::string& loadingscreen_;
  std::string ordner_;  // the unpacked level archive, "" when there is none
  Ladebildschirm schirm_;
};

std::string Ladevorgang::Pfad(const std::string& datei) const {
  // The level file names the files of its own archive, nothing outside it.
  if (!EinfacherName(datei)) throw err::FalscherDateiname();
  return ordner_ + datei;
}

void Ladevorgang::Laden() {
  ForceStop();
  Rendern = true;
  // Every loading frame is shown, whatever the game loop's pacing left behind.
  FrameSkipAn = false;
  if (Spielstatus != 10) LoadStandartSurfaces();
  if (Spielstatus == 10) return;
  schirm_.Zeige(loadingscreen_);
  if (Spielstatus != 10) LoadSpielSurfaces();
  if (Spielstatus == 10) return;

  if (!platform::fs::FileExists(DatenPfad + "Data\\" + name_)) {
    MsgBox("Blub", mb::OkOnly);
    Spielstatus = 10;
    return;
  }
  if (name_.size() < 4) throw err::UngueltigerAufruf();
  ordner_ = Depack(name_, DatenPfad, true);
  // A level file that cannot be read has told the player so and ended the run.
  if (LeseLeveldatei(ordner_ + name_.substr(0, name_.size() - 4) + ".dat") != levelfile::Ergebnis::Geladen) return;

  Hintergrund();
  if (Spielstatus == 10 || !Sprites()) return;
  for (GegnerTyp& t : GegnerTypen) BerechneAusmass(t);
  ReserveEnemySlots();
  ReserveCollisionTable(MeisteKomponenten());
  if (!Trefferbilder()) return;
  for (AnimaTypDaten& a : AnimaTypen) BereiteAnimationVor(a);
  ReserveAnimationSlots();
  LevelSounds();
  MusikPruefen();
  LadeFunkTexte(ordner_);

  KillDir(ordner_);
  ordner_.clear();
  schirm_.WarteAufTaste();
  schirm_.Freigeben();
}

// A picture of the archive scrolls behind the level; anything else names a background mode.
void Ladevorgang::Hintergrund() {
  const std::string t = TrimBlanks(HintergrundName);
  if (!t.empty() && EinfacherName(t) && platform::fs::FileExists(ordner_ + t)) {
    HintergrundBild = LoadSurface(ordner_ + t, false, std::nullopt, std::nullopt, std::nullopt, std::nullopt, true);
    HintergrundModus = 1;
  } else {
    HintergrundBild = -1;
    HintergrundModus = CLng(Val(t));
  }
}

// Every frame picture with its opaque edges; one progress frame per frame. False when
// the run has to quit.
bool Ladevorgang::Sprites() {
  const size_t anzahl = SpriteDefs.size();
  for (size_t i = 0; i < anzahl; ++i) {
    SpriteDef& s = SpriteDefs[i];
    const float p = static_cast<float>(static_cast<double>(i + 1) / static_cast<double>(anzahl));
    for (SpriteFrame& f : s.Frames) {
      f.Surface = -1;
      f.SurfaceBlitz = -1;
      if (f.Bild != "-") {
        f.Surface = LoadSurface(Pfad(f.Bild), s.D3DSprite != 0, f.Left, f.Top, f.Right, f.Bottom, true);
        if (Spielstatus == 10) return false;
        LadeRänder(f.Surface);
        if (s.D3DSprite != 0) {
          const RECT r = EigenesRechteck(f.Surface);
          SetUpGeom(f.Surface, r, r, 1, 1, 1, 1, 0);
        }
      }
      schirm_.Fortschritt(p);
      if (Spielstatus == 10) return false;
    }
    s.AniA = 0;
    s.TiA = 0;
  }
  return true;
}

// The inverted copies that flash when a blitted component is hit. A sprite shared by
// several components is asked for again each time; its copies are loaded once.
bool Ladevorgang::Trefferbilder() {
  for (const GegnerTyp& t : GegnerTypen) {
    if (t.Parameter[10] <= 0) continue;
    for (const Feindkomponente& k : t.Komponenten) {
      if (k.Unzerstörbar != 0 || k.Sprite < 0 || k.Sprite > SpriteDefsMax()) continue;
      SpriteDef& s = SpriteDefs[static_cast<size_t>(k.Sprite)];
      if (s.D3DSprite != 0) continue;
      for (SpriteFrame& f : s.Frames) {
        if (f.Bild == "-") continue;
        f.SurfaceBlitz = LoadSurface(Pfad(f.Bild) + "_i", false, std::nullopt, std::nullopt, std::nullopt,
                                     std::nullopt, true);
        if (Spielstatus == 10) return false;
        if (IstBild(f.SurfaceBlitz) && IstBild(f.Surface)) Surfaces[f.SurfaceBlitz].SrcRect = Surfaces[f.Surface].SrcRect;
      }
    }
  }
  return true;
}

// The fixed game sounds first, then the level's own from the sound archive.
void Ladevorgang::LevelSounds() {
  Soundclear();
  LoadSpielSound();
  std::fill(LevelSoundMap.begin(), LevelSoundMap.end(), 0);
  if (!SoundAn) return;
  for (size_t i = 0; i < LevelSoundDateien.size(); ++i) {
    const LevelSoundDatei& s = LevelSoundDateien[i];
    LevelSoundMap[i] = LoadSound("Sound.vkp", s.Name, std::min(s.Kopien, kKopienGrenze), 44100);
  }
}

// Without its music a level does not start; the rest is still loaded.
void Ladevorgang::MusikPruefen() {
  if (SoundAn && !platform::fs::FileExists(SoundPfad + MusikDatei)) {
    MsgBox("Hintergrundmusik nicht vorhanden", mb::OkOnly);
    Spielstatus = 10;
  }
}

// A scene left open by a failure is closed, so the next frame can begin its own.
void Ladevorgang::SzeneBeenden() {
  if (D3DDevice) D3DDevice->EndScene();
}

void Ladevorgang::AnzeigeVerloren() {
  AltTabpressed();
  while (!DisplayReady()) Wait(16);
  // From here on nothing may fail the retry.
  try {
    SzeneBeenden();
    schirm_.Freigeben();
    SurfaceClear();
    RestoreAllSurfaces();
    SetHighPriority();
  } catch (const Err&) {
  }
}

void Ladevorgang::Fehler(const Err& e) {
  schirm_.Freigeben();
  SzeneBeenden();
  if (!FensterModus) RestoreDisplayMode();
  Spielstatus = 10;
  CloseGameWindows();
  ShowDXError(e.Nummer, 2, "LadeDaten " + name_, e.Beschreibung);
}

void Ladevorgang::Aufraeumen() {
  if (!ordner_.empty() && platform::fs::DirExists(ordner_)) KillDir(ordner_);
  ordner_.clear();
}

}  // namespace

bool EinfacherName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string_view::npos;
}

void BerechneAusmass(GegnerTyp& t) {
  t.Width = 0;
  t.Height = 0;
  for (const Feindkomponente& k : t.Komponenten) {
    const int32_t nr = BildFrame0(k.Sprite);
    const float breite = nr >= 0 ? Surfaces[static_cast<size_t>(nr)].Width : 0;
    const float hoehe = nr >= 0 ? Surfaces[static_cast<size_t>(nr)].Height : 0;
    t.Width = std::max(t.Width, CLng(breite + k.OffsetX));
    t.Height = std::max(t.Height, CLng(hoehe + k.OffsetY));
  }
}

void BereiteAnimationVor(AnimaTypDaten& a) {
  a.RandRechts = 0;
  for (AnimaTeilTyp& teil : a.Teile) {
    const int32_t L = teil.KeysMax();
    if (L >= 0) {
      std::vector<AnimaKeyframe>& k = teil.Keys;
      const size_t l = static_cast<size_t>(L);
      const double periode = a.Periode;
      if (a.Schleife != 0) {
        // The last key once more a period before the first, the first a period after the last.
        AnimaKeyframe vorher = k[l];
        vorher.Tick = CLng(k[l].Tick - periode - 1);
        k[0] = vorher;
        AnimaKeyframe nachher = k[1];
        nachher.Tick = CLng(k[1].Tick + periode + 1);
        k[l + 1] = nachher;
      } else {
        // Invisible before the first key; still after the last.
        k[0].Sichtbar = 0;
        k[0].Tick = CLng(k[1].Tick - 1.0);
        AnimaKeyframe nachher = k[l];
        nachher.Bewegung = 0;
        nachher.Tick = CLng(k[l].Tick + 1.0);
        k[l + 1] = nachher;
      }
      if (k[0].Tick >= 0) k[0].Tick = -1;
      if (k[l + 1].Tick <= a.Periode) k[l + 1].Tick = CLng(periode + 1);

      const int32_t bild = BildFrame0(teil.Sprite);
      const int32_t w = bild >= 0 ? Surfaces[static_cast<size_t>(bild)].SrcRect.Right -
                                        Surfaces[static_cast<size_t>(bild)].SrcRect.Left
                                  : 0;
      for (size_t i = 0; i <= l; ++i) Schritte(k[i], k[i + 1], w, a.RandRechts);
    }
    a.RandRechts = CLng(a.RandRechts + 20.0);
  }
}

bool LadeDaten(const std::string& Name, const std::string& Loadingscreen) {
  Ladevorgang ladung(Name, Loadingscreen);
  bool nochmal = false;
  try {
    ladung.Laden();
  } catch (const Err& e) {
    if (e.Nummer == DDERR_SURFACELOST) {
      ladung.AnzeigeVerloren();
      nochmal = true;
    } else {
      ladung.Fehler(e);
    }
  } catch (const std::bad_alloc&) {
    ladung.Fehler(err::KeinSpeicher());
  }
  ladung.Aufraeumen();
  return nochmal;
}
