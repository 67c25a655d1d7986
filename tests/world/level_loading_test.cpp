// Loading a level headless from the demo data: the first demo level with the values the
// loader works out, the ways a load fails (each without leaving its unpacked files), the
// loading screen's mosaic, the key wait and a display lost while loading; and the
// derived values on levels made for the purpose.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "lib/archive_writer.hpp"
#include "lib/level_writer.hpp"
#include "platform/bmp.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/text.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/level.hpp"
#include "world/level_file.hpp"
#include "world/level_loading.hpp"
#include "world/loading_screen.hpp"
#include "world/weather_state.hpp"

namespace headless = platform::headless;
using Mitglieder = std::vector<tools::ArchiveMember>;

namespace {

constexpr int kSpace = 57, kEscape = 1;

template <class T>
const T& Benannt(const std::vector<T>& v, const std::string& name) {
  auto it = std::find_if(v.begin(), v.end(), [&](const T& x) { return x.Name == name; });
  if (it == v.end()) throw std::runtime_error("no " + name);
  return *it;
}

tools::ArchiveMember& Mitglied(Mitglieder& m, const std::string& name) {
  auto it = std::find_if(m.begin(), m.end(), [&](const tools::ArchiveMember& x) { return x.name == name; });
  if (it == m.end()) throw std::runtime_error("no member " + name);
  return *it;
}

// Nothing of any archive is left unpacked.
bool NichtsEntpackt() { return !platform::fs::DirExists(GetTempFolder() + "Harvo"); }

int32_t Rahmen() { return headless::LastFrame().count; }

auto Ecken(const RECT& r) { return std::tuple(r.Left, r.Top, r.Right, r.Bottom); }

// A pixel of the back buffer as 0xRRGGBB.
uint32_t Pixel(int x, int y) { return BackBuffer->GetPixel(x, y) & 0xFFFFFF; }

// A BMP file of one colour.
std::vector<uint8_t> Bild(int w, int h, uint32_t farbe) {
  platform::SurfacePtr s = platform::Surface::Create(w, h, platform::PixelFormat::XRGB8888);
  s->BltColorFill(nullptr, farbe);
  return platform::EncodeBmp24(*s);
}

class LevelLaden : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDir daten;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    SetConfigDefaults();
    FillSinTables();
    // The demo data lie beside the test program, as beside the game.
    testsupport::UseDemoData(home.dataDir());
    ASSERT_TRUE(platform::fs::FileExists(AppPfad + "Data/Level1.vlp")) << "no demo level in " << AppPfad;
    ASSERT_NO_THROW(testsupport::OpenGameWindow());
    // A wait that never ends fails the test instead of hanging it.
    headless::At(static_cast<uint64_t>(GetTickCount()) + 120000, [] { Spielstatus = 10; });
  }
  void TearDown() override { testsupport::CloseGameWindow(); }

  // The demo level's archive changed by `aendern`, in a data folder of its own that the
  // loader then takes the level from.
  void EigenesLevel(const std::function<void(Mitglieder&)>& aendern) {
    Mitglieder m;
    ASSERT_TRUE(tools::UnpackArchive(testsupport::ReadBytes(AppPfad + "Data/Level1.vlp"), m));
    aendern(m);
    std::filesystem::create_directories(daten / "Data");
    testsupport::WriteBytes(daten / "Data/Level1.vlp", tools::PackArchive(m));
    DatenPfad = daten.path();
  }
  // The same with a change of the level file itself.
  void EigeneLeveldatei(const std::function<void(levelfile::Leveldaten&)>& aendern) {
    EigenesLevel([&](Mitglieder& m) {
      std::vector<uint8_t>& datei = Mitglied(m, "Level1.dat").data;
      levelfile::Leveldaten d;
      ASSERT_EQ(levelfile::Lese(datei, d, 0), levelfile::Ergebnis::Geladen);
      aendern(d);
      ASSERT_TRUE(tools::WriteLevelFile(d, datei));
    });
  }
  std::string LetzteBox() const {
    return headless::MessageBoxes().empty() ? "" : headless::MessageBoxes().back().text;
  }
  bool ImTicker(const std::string& text) const {
    const std::vector<std::string>& z = MessageHistory.Zeilen;
    return std::find(z.begin(), z.end(), text) != z.end();
  }
};

}  // namespace

TEST_F(LevelLaden, TheDemoLevelWithItsDerivedValues) {
  const int32_t vorher = Rahmen();
  ASSERT_FALSE(LadeDaten("Level1.vlp", ""));
  ASSERT_EQ(Spielstatus, 0) << LetzteBox();
  EXPECT_TRUE(Rendern);
  EXPECT_TRUE(NichtsEntpackt());
  EXPECT_EQ(LevelLaenge, 4800);

  // The background picture scrolls (mode 1).
  EXPECT_EQ(HintergrundModus, 1);
  ASSERT_GE(HintergrundBild, 0);
  EXPECT_EQ(Surfaces[HintergrundBild].Width, 800);

  // One progress frame per sprite frame, after the first frame.
  size_t frames = 0;
  for (const SpriteDef& s : SpriteDefs) frames += s.Frames.size();
  EXPECT_EQ(frames, 31u);
  EXPECT_EQ(Rahmen() - vorher, 1 + static_cast<int32_t>(frames));

  // Extents from frame 0 of the components' pictures plus their offsets.
  const GegnerTyp& dart = Benannt(GegnerTypen, "Dart");
  const GegnerTyp& gunship = Benannt(GegnerTypen, "Gunship");
  EXPECT_EQ(std::pair(dart.Width, dart.Height), std::pair(48, 32));
  EXPECT_EQ(std::pair(gunship.Width, gunship.Height), std::pair(112, 64));  // the turret lies inside the hull
  EXPECT_EQ(gunship.Komponenten[1].Punkte, 30);

  // Hit-flash copies for the blitted frames of templates that flash, none for quads
  // and loop markers.
  const SpriteDef& dartBild = Benannt(SpriteDefs, "Dart");
  for (size_t f = 0; f < 4; ++f) {
    const SpriteFrame& frame = dartBild.Frames[f];
    ASSERT_GE(frame.SurfaceBlitz, 0) << f;
    EXPECT_NE(frame.SurfaceBlitz, frame.Surface);
    EXPECT_EQ(Surfaces[frame.SurfaceBlitz].Name.substr(Surfaces[frame.SurfaceBlitz].Name.size() - 2), "_I");
    EXPECT_EQ(Ecken(Surfaces[frame.SurfaceBlitz].SrcRect), Ecken(Surfaces[frame.Surface].SrcRect));
  }
  EXPECT_EQ(std::pair(dartBild.Frames[4].Surface, dartBild.Frames[4].SurfaceBlitz), std::pair(-1, -1));
  for (const char* quad : {"Mine", "Turret"})
    for (const SpriteFrame& frame : Benannt(SpriteDefs, quad).Frames) EXPECT_EQ(frame.SurfaceBlitz, -1) << quad;
  EXPECT_GE(Benannt(SpriteDefs, "Gunship").Frames[2].SurfaceBlitz, 0);

  // A looping animation: the last key a period early, the first a period late.
  const AnimaTypDaten& beacon = Benannt(AnimaTypen, "Beacon");
  const std::vector<AnimaKeyframe>& b = beacon.Teile[0].Keys;
  EXPECT_EQ(std::vector<int32_t>({b[0].Tick, b[1].Tick, b[2].Tick, b[3].Tick, b[4].Tick}),
            std::vector<int32_t>({-1, 0, 20, 40, 41}));
  EXPECT_FLOAT_EQ(b[0].A, 0.25f);
  EXPECT_FLOAT_EQ(b[1].DA, 0.75f / 20);
  EXPECT_EQ(beacon.RandRechts, 35 + 20);
  // One that does not: an unseen lead-in and a still copy of the last key.
  const AnimaTypDaten& flare = Benannt(AnimaTypen, "Flare");
  const std::vector<AnimaKeyframe>& f = flare.Teile[0].Keys;
  EXPECT_EQ(std::pair(f[0].Tick, f[0].Sichtbar), std::pair(-1, int16_t{0}));
  EXPECT_EQ(std::pair(f[4].Tick, f[4].Bewegung), std::pair(141, 0));
  EXPECT_FLOAT_EQ(f[1].SpeedX, 280.0f / 25);
  EXPECT_EQ(flare.RandRechts, 900 + 128 * 3 / 2 + 20);

  // The level sounds follow the 43 game sounds; the radio messages find their blocks.
  EXPECT_EQ(LevelSoundMap, (std::vector<int32_t>{43, 44}));
  EXPECT_EQ(Sounds[44].Kopien.size(), 5u);
  ASSERT_EQ(FunkTexte.size(), 2u);
  for (const Funkmeldung& m : Funkmeldungen) {
    ASSERT_GE(m.FunkTextIndex, 0) << m.TextBlock;
    EXPECT_EQ(FunkTexte[m.FunkTextIndex].Name, m.TextBlock);
    EXPECT_EQ(FunkTexte[m.FunkTextIndex].Zeilen.size(), 2u);
  }
  EXPECT_FALSE(ImTicker("Textdatei nicht gefunden"));

  // Room for the largest template and animation in every slot: play allocates nothing.
  EXPECT_GE(GegnerListe.Slot.back().Typ.Komponenten.capacity(), 2u);
  EXPECT_GE(Animationen.Slot.back().Teile.capacity(), 1u);
}

TEST_F(LevelLaden, TwoPlayersMeetEnemiesWithHalfAsMuchEnergyAgain) {
  LetzterSpieler = 1;
  SoundAn = false;  // and without sound, no level sound is loaded and no music asked for
  SoundPfad = daten.path();
  ASSERT_FALSE(LadeDaten("Level1.vlp", ""));
  ASSERT_EQ(Spielstatus, 0) << LetzteBox();
  const GegnerTyp& gunship = Benannt(GegnerTypen, "Gunship");
  EXPECT_EQ(std::tuple(gunship.HP, gunship.Punkte, gunship.Komponenten[0].HP), std::tuple(120.0f, 120, 80.0f));
  EXPECT_EQ(Benannt(GegnerTypen, "Dart").Punkte, 6);
  EXPECT_EQ(LevelSoundMap, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(SoundsMax(), -1);
}

// Every way a load can fail ends the run as it should and leaves nothing unpacked.
TEST_F(LevelLaden, FailuresEndTheRunWithoutLeavingTheArchiveUnpacked) {
  struct Fall {
    const char* was;
    std::function<void()> vorbereiten;
    std::string name, box;
    bool dialog;           // the DirectX error dialog
    bool ohneFunk = false;  // loaded whole, but without its radio texts
  };
  const Fall faelle[] = {
      {"no such level", [] {}, "Blub", "Blub", false},
      {"wrong version",
       [this] { EigenesLevel([](Mitglieder& m) { Mitglied(m, "Level1.dat").data[14] = '6'; }); },
       "Level1.vlp", "'V. 0.15' - Level im Editor laden, neu abspeichern und packen", false},
      {"level file cut short",
       [this] { EigenesLevel([](Mitglieder& m) { Mitglied(m, "Level1.dat").data.resize(400); }); },
       "Level1.vlp", "Level file damaged", false},
      // Without its music the level is loaded whole, but its radio texts are not read.
      {"music missing", [this] { SoundPfad = daten.path(); }, "Level1.vlp",
       "Hintergrundmusik nicht vorhanden", false, true},
      {"picture missing",
       [this] {
         EigenesLevel([](Mitglieder& m) {
           std::erase_if(m, [](const tools::ArchiveMember& x) { return x.name == "Dart3.bmp"; });
         });
       },
       "Level1.vlp", "", true},
      {"picture outside the archive",
       [this] {
         EigeneLeveldatei([](levelfile::Leveldaten& d) { d.SpriteDefs[0].Frames[0].Bild = "../Sky.bmp"; });
       },
       "Level1.vlp", "", true},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    TearDown();
    SetUp();
    c.vorbereiten();
    EXPECT_FALSE(LadeDaten(c.name, ""));
    EXPECT_EQ(Spielstatus, 10);
    EXPECT_EQ(LetzteBox(), c.box);
    EXPECT_EQ(headless::Dialogs().size(), c.dialog ? 1u : 0u);
    EXPECT_TRUE(NichtsEntpackt());
    if (c.ohneFunk) {
      EXPECT_TRUE(FunkTexte.empty());
      EXPECT_GE(HintergrundBild, 0);
    }
  }
}

TEST_F(LevelLaden, AMosaicThatIsNoScreenPictureCountsAsMissing) {
  const std::string datei = DatenOrdner + kMosaikDatei;
  struct Fall {
    const char* was;
    std::vector<uint8_t> inhalt;  // empty: no file
    bool bleibt;                  // the file is shown as it is
  };
  const Fall faelle[] = {
      {"none", {}, false},
      {"640 x 480", Bild(640, 480, 0xFF0000), false},
      {"no picture", {'B', 'M', 1, 2, 3}, false},
      {"800 x 600", Bild(800, 600, 0xFF0000), true},
  };
  LoadStandartSurfaces();
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    std::filesystem::remove(datei);
    if (!c.inhalt.empty()) testsupport::WriteBytes(datei, c.inhalt);
    Ladebildschirm schirm;
    schirm.Zeige("");
    EXPECT_EQ(Spielstatus, 0);
    // What is shown is on disk now: the mosaic, or a blank one in its place.
    platform::BmpImage gezeigt;
    ASSERT_TRUE(platform::LoadBmpImage(datei, gezeigt));
    EXPECT_EQ(std::pair(gezeigt.width, gezeigt.height), std::pair(800, 600));
    EXPECT_EQ(gezeigt.argb[0] & 0xFFFFFF, c.bleibt ? 0xFF0000u : 0u);
    // Under a dark blue veil, with a white band across it.
    const uint32_t oben = Pixel(20, 40), band = Pixel(20, 195);
    EXPECT_NEAR(oben >> 16, c.bleibt ? 26 : 0, 2);
    EXPECT_NEAR(oben & 0xFF, 11, 2);
    EXPECT_GT(band >> 16, 200u);
    EXPECT_GT(band & 0xFF, 200u);
  }
}

// The blank mosaic takes the file's name with a file of its own, never through a link of
// the name, and a disk too full for it leaves the old file whole.
TEST_F(LevelLaden, ABlankMosaicReplacesTheFileWholeOrLeavesIt) {
  namespace fsys = std::filesystem;
  const std::string datei = DatenOrdner + kMosaikDatei, fremd = daten / "fremd.bmp";
  const std::vector<uint8_t> klein = Bild(640, 480, 0x00FF00);
  struct Fall {
    const char* was;
    std::function<void()> vorher;
    rlim_t grenze;  // the largest file that can be written
    bool neu;       // the name holds a blank mosaic afterwards, else what it held
  };
  const Fall faelle[] = {
      {"a link to another file",
       [&] {
         testsupport::WriteBytes(fremd, klein);
         fsys::create_symlink(fremd, datei);
       },
       RLIM_INFINITY, true},
      {"a dangling link", [&] { fsys::create_symlink(fremd, datei); }, RLIM_INFINITY, true},
      {"a full disk", [&] { testsupport::WriteBytes(datei, klein); }, 65536, false},
  };
  LoadStandartSurfaces();
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    fsys::remove(datei);
    fsys::remove(fremd);
    c.vorher();
    const std::vector<uint8_t> fremdVorher = testsupport::ReadBytes(fremd);
    // A write beyond the limit fails as on a full disk (its signal ignored meanwhile).
    rlimit alt{};
    getrlimit(RLIMIT_FSIZE, &alt);
    const rlimit grenze{std::min(c.grenze, alt.rlim_max), alt.rlim_max};
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &grenze);
    Ladebildschirm().Zeige("");
    setrlimit(RLIMIT_FSIZE, &alt);
    std::signal(SIGXFSZ, signal);
    EXPECT_EQ(Spielstatus, 0);
    EXPECT_FALSE(fsys::is_symlink(datei));
    EXPECT_EQ(testsupport::ReadBytes(datei), c.neu ? Bild(800, 600, 0) : klein);
    EXPECT_EQ(fsys::exists(fremd), !fremdVorher.empty());
    EXPECT_EQ(testsupport::ReadBytes(fremd), fremdVorher);
    EXPECT_FALSE(testsupport::TempFileLeft(DatenOrdner, kMosaikDatei));
  }
}

TEST_F(LevelLaden, ABlankMosaicThatCannotBeSavedIsShownAllTheSame) {
  LoadStandartSurfaces();
  DatenOrdner = daten / "no such folder/";
  Ladebildschirm schirm;
  schirm.Zeige("");
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_TRUE(schirm.Grund());
}

TEST_F(LevelLaden, ALoadingPictureWaitsForAKeyAndForEscapeToBeReleased) {
  struct Fall {
    const char* was;
    std::vector<int> taste;
    int halten;  // further polls the key is held
    int wartebilder;
  };
  const Fall faelle[] = {{"space", {kSpace}, 0, 5}, {"escape held", {kEscape}, 3, 5}, {"at once", {kSpace}, 0, 0}};
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    TearDown();
    SetUp();
    headless::QueueKeys({}, c.wartebilder);  // the poll before the wait, then one per frame
    headless::QueueKeys(c.taste, 1 + c.halten);
    const int32_t vorher = Rahmen();
    ASSERT_FALSE(LadeDaten("Level1.vlp", "Loading.bmp"));
    ASSERT_EQ(Spielstatus, 0) << LetzteBox();
    EXPECT_EQ(headless::KeyReadsLeft(), 0u);
    EXPECT_EQ(Rahmen() - vorher, 1 + 31 + c.wartebilder);
    EXPECT_TRUE(NichtsEntpackt());
  }
}

TEST_F(LevelLaden, TheKeyWaitFrameShowsTheLoadingPictureAndTheText) {
  if (!platform::FontsAvailable()) GTEST_SKIP() << "no fonts: no text";
  headless::QueueKeys({}, 3);
  headless::QueueKeys({kSpace});
  ASSERT_FALSE(LadeDaten("Level1.vlp", "Loading.bmp"));
  // The loading picture as it is, and the blinking text in grey on it.
  platform::BmpImage ladebild;
  Mitglieder m;
  ASSERT_TRUE(tools::UnpackArchive(testsupport::ReadBytes(AppPfad + "Data/Loading.vkp"), m));
  const std::vector<uint8_t>& bmp = Mitglied(m, "Loading.bmp").data;
  ASSERT_TRUE(platform::DecodeBmp(bmp.data(), bmp.size(), ladebild));
  EXPECT_EQ(Pixel(100, 100), ladebild.argb[100 * 800 + 100] & 0xFFFFFF);
  int grau = 0;
  for (int y = 470; y < 500; ++y)
    for (int x = 294; x < 540; ++x) {
      const uint32_t p = Pixel(x, y);
      if ((p >> 16) == (p & 0xFF) && (p & 0xFF) > 150) ++grau;
    }
  EXPECT_GT(grau, 100);
}

TEST_F(LevelLaden, ALostDisplayMakesTheCallerLoadAgain) {
  // Minimised before the first frame: it cannot be shown.
  platform::ShowWindow(Form1, platform::sw::Minimize);
  headless::At(static_cast<uint64_t>(GetTickCount()) + 200, [] { platform::ShowWindow(Form1, platform::sw::Restore); });
  EXPECT_TRUE(LadeDaten("Level1.vlp", ""));
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_EQ(SurfacesMax(), -1);
  EXPECT_TRUE(NichtsEntpackt());

  // Lost during the key wait, after the archive was read and deleted.
  headless::QueueKeys({}, 100);
  headless::At(static_cast<uint64_t>(GetTickCount()) + 40, [] { platform::ShowWindow(Form1, platform::sw::Minimize); });
  headless::At(static_cast<uint64_t>(GetTickCount()) + 400, [] { platform::ShowWindow(Form1, platform::sw::Restore); });
  EXPECT_TRUE(LadeDaten("Level1.vlp", "Loading.bmp"));
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_TRUE(NichtsEntpackt());

  headless::QueueKeys({kSpace});
  EXPECT_FALSE(LadeDaten("Level1.vlp", ""));
  EXPECT_EQ(Spielstatus, 0);
}

// ---- The derived values on levels made for the purpose (no pictures: width 0) --------

namespace {

AnimaKeyframe Key(int32_t tick, float x, float y, int32_t bewegung = 0, float speed = 0, float a = 1) {
  AnimaKeyframe k;
  k.Tick = tick;
  k.PosX = x;
  k.PosY = y;
  k.A = a;
  k.Bewegung = bewegung;
  k.Speed = speed;
  k.ZoomX = k.ZoomY = 1;
  k.Sichtbar = -1;
  return k;
}

AnimaTypDaten Animation(std::vector<AnimaKeyframe> keys, int32_t periode, bool schleife) {
  AnimaTypDaten a;
  a.Periode = periode;
  a.Schleife = schleife ? -1 : 0;
  AnimaTeilTyp& t = a.Teile.emplace_back();
  t.Sprite = -1;
  t.Keys = std::move(keys);
  t.Keys.emplace_back();  // the spare
  return a;
}

}  // namespace

TEST(LevelWerte, AnimationKeysAroundThePeriodAndTheirChangesPerTick) {
  // Keys at 10 and 50 of a period of 100, not looping: the first and the spare move
  // out of 0..100, whatever the file said of the first.
  AnimaTypDaten a = Animation({Key(10, 0, 0), Key(50, 100, 20, 1)}, 100, false);
  BereiteAnimationVor(a);
  const std::vector<AnimaKeyframe>* keys = &a.Teile[0].Keys;
  auto k = [&](size_t i) { return (*keys)[i]; };
  auto neu = [&](AnimaTypDaten n) {
    a = std::move(n);
    BereiteAnimationVor(a);
    keys = &a.Teile[0].Keys;
  };
  EXPECT_EQ(std::tuple(k(0).Tick, k(0).Sichtbar, k(2).Tick, k(2).Bewegung), std::tuple(-1, int16_t{0}, 101, 0));
  EXPECT_FLOAT_EQ(k(0).SpeedX, 100.0f / 51);
  EXPECT_FLOAT_EQ(k(0).SpeedY, 20.0f / 51);
  EXPECT_EQ(a.RandRechts, 100 + 20);

  // Looping: the last key comes again a period before, the first a period after.
  neu(Animation({Key(0, 0, 0), Key(5, 0, 0, 0, 0, 0), Key(30, 0, 0, 0, 0, 1)}, 30, true));
  EXPECT_EQ(std::tuple(k(0).Tick, k(0).A, k(3).Tick, k(3).A), std::tuple(-1, 1.0f, 36, 0.0f));
  EXPECT_FLOAT_EQ(k(1).DA, 1.0f / 25);
  EXPECT_FLOAT_EQ(k(2).DA, -1.0f / 6);

  // Keys with equal ticks change nothing per tick (and divide by nothing).
  neu(Animation({Key(0, 0, 0), Key(10, 0, 0), Key(10, 50, 0, 1, 0, 0)}, 20, false));
  EXPECT_EQ(std::tuple(k(1).SpeedX, k(1).DA, k(1).DZoomX), std::tuple(0.0f, 0.0f, 0.0f));

  // Towards the next key at its speed; with acceleration, so as to arrive in time.
  struct Fall {
    int32_t bewegung;
    float sx, sy, bx, by;
  } faelle[] = {{2, 3, 4, 0, 0}, {3, 0.6f, 0.8f, 0.48f, 0.64f}, {7, 0, 0, 0, 0}};
  for (const Fall& c : faelle) {
    neu(Animation({Key(0, 0, 0), Key(0, 0, 0), Key(10, 30, 40, c.bewegung, c.bewegung == 2 ? 5 : 1)}, 20, false));
    EXPECT_NEAR(k(1).SpeedX, c.sx, 1e-5) << c.bewegung;
    EXPECT_NEAR(k(1).SpeedY, c.sy, 1e-5) << c.bewegung;
    EXPECT_NEAR(k(1).BeschlX, c.bx, 1e-5) << c.bewegung;
    EXPECT_NEAR(k(1).BeschlY, c.by, 1e-5) << c.bewegung;
  }

  // A part without keys only adds its margin.
  AnimaTypDaten leer = Animation({}, 20, true);
  leer.Teile.push_back(leer.Teile[0]);
  BereiteAnimationVor(leer);
  EXPECT_EQ(leer.RandRechts, 40);
}

TEST(LevelWerte, TemplateExtentsFromTheFirstFrameOfEachComponent) {
  Surfaces.clear();
  SpriteDefs.clear();
  for (auto [w, h] : {std::pair(40, 30), std::pair(64, 16)}) {
    SurfaceInfo& s = Surfaces.emplace_back();
    s.Width = static_cast<int16_t>(w);
    s.Height = static_cast<int16_t>(h);
    SpriteDef& d = SpriteDefs.emplace_back();
    d.Frames.push_back({.Surface = static_cast<int32_t>(Surfaces.size()) - 1});
    d.Frames.push_back({.Surface = -1});
  }
  SpriteDefs.emplace_back();  // no frames at all
  struct Teil {
    int32_t sprite;
    float x, y;
  };
  struct Fall {
    std::vector<Teil> teile;
    int32_t w, h;
  } faelle[] = {
      {{{0, 0, 0}, {1, 0, 0}}, 64, 30},
      {{{0, 10, 5}, {1, 0, 0}}, 64, 35},
      {{{0, -50, -40}}, 0, 0},  // never below 0
      {{{2, 30, 20}, {-1, 5, 5}, {7, 1, 1}}, 30, 20},  // without a picture: the offset alone
      {{}, 0, 0},
  };
  for (const Fall& c : faelle) {
    GegnerTyp t;
    t.Width = t.Height = 99;
    for (const Teil& p : c.teile) t.Komponenten.push_back({.OffsetX = p.x, .OffsetY = p.y, .Sprite = p.sprite});
    BerechneAusmass(t);
    EXPECT_EQ(std::pair(t.Width, t.Height), std::pair(c.w, c.h)) << c.teile.size();
  }
  Surfaces.clear();
  SpriteDefs.clear();
}

TEST(LevelWerte, OnlyPlainNamesLeadIntoTheArchive) {
  for (auto [name, einfach] : {std::pair("Sky.bmp", true), {"Zwei Worte.bmp", true}, {"", false}, {"..", false},
                               {"../Sky.bmp", false}, {"a\\b.bmp", false}, {"C:x.bmp", false}, {"/etc/x", false}})
    EXPECT_EQ(EinfacherName(name), einfach) << name;
}
