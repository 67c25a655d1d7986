// The pause screen: the history under the monitor and the title line on their own; then
// headless runs: the key that opened it, back and exit with what they restore or enter,
// the focus, the music after a long pause, the screenshot file, the pictures after a lost
// display, the frame picture leaving the tables as they were, and the picture itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "campaign/highscore.hpp"
#include "campaign/highscore_state.hpp"
#include "campaign/ogg.hpp"
#include "campaign/pause_screen.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "lib/ogg_writer.hpp"
#include "platform/bmp.hpp"
#include "platform/headless/headless.hpp"
#include "platform/music.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "screen_setup.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/support.hpp"
#include "world/game_sounds_state.hpp"
#include "world/loading_screen.hpp"
#include "world/radio_state.hpp"
#include "world/standard_pictures.hpp"
#include "world/weather_state.hpp"

namespace headless = platform::headless;
namespace fs = std::filesystem;

namespace {

constexpr int kEscape = 1, kReturn = 28, kFeuer = 31, kHoch = 200, kRunter = 208;
using Tasten = std::vector<std::vector<int>>;

// Ten pixels a character: 53 characters fit a line of 530 pixels.
float Zehn(const std::string& s) { return 10.0f * static_cast<float>(s.size()); }

std::string Woerter(int von, int bis) {
  std::string s;
  for (int i = von; i <= bis; ++i) s += (i > von ? " w" : "w") + std::string(i < 10 ? "0" : "") + std::to_string(i);
  return s;
}

// The game picture the pause freezes: every pixel its own colour.
uint32_t Muster(int x, int y) { return static_cast<uint32_t>((x & 255) << 16 | (y & 255) << 8 | ((x + 3 * y) & 255)); }
void SpielbildMalen() {
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) BackBuffer->SetPixel(x, y, Muster(x, y));
}

// What each frame of the screen showed.
struct Bild {
  int32_t auswahl;
  bool fokus;
  int prioritaet;
  int32_t rahmen;
  uint32_t monitor;  // the pixel at the monitor's (10, 290), which shows the game's (21, 581)
};
std::vector<Bild> g_bilder;
std::function<void()> g_jeBild;

class PauseLauf : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    ASSERT_NO_THROW(testsupport::SchirmVorbereiten(home.dataDir()));
    SoundAn = false;
    LevelName = "Level1-Canyon";
    SpielbildMalen();
    g_bilder.clear();
    g_jeBild = nullptr;
    NachPauseBild = [] {
      g_bilder.push_back({PauseStand.Auswahl, platform::GetFocus() == FensterHandle, platform::GetPriorityClass(),
                          PauseStand.Rahmen, testsupport::BackBufferPixel(298, 367)});
      if (g_jeBild) g_jeBild();
    };
    // A screen that never ends fails the test instead of hanging it.
    headless::At(static_cast<uint64_t>(GetTickCount()) + 120000, [] { Spielstatus = 10; });
  }
  void TearDown() override {
    NachPauseBild = nullptr;
    g_jeBild = nullptr;
    testsupport::CloseGameWindow();
    testsupport::FreshState();
  }

  // The screen with `vorher` held as it opens and one entry of `tasten` read per poll.
  static void Spielen(const Tasten& tasten, const std::vector<int>& vorher = {}) {
    while (headless::KeyReadsLeft() > 0) DInputPoll();
    headless::QueueKeys(vorher);
    DInputPoll();
    for (const std::vector<int>& t : tasten) headless::QueueKeys(t);
    Pause();
  }
  static const platform::audio::SoundBuffer& Kopie(int32_t nr) {
    const SoundEntry& e = Sounds[static_cast<size_t>(nr)];
    return e.Kopien[static_cast<size_t>(e.Zeiger)];
  }
  static bool Spielt(int32_t nr) { return (Kopie(nr).GetStatus() & DSBSTATUS_PLAYING) != 0; }
};

}  // namespace

TEST(PauseVerlauf, TheNewestTextsWrappedFromTheBottomUp) {
  using Zeilen = std::array<std::string, kPauseHistorie>;
  std::vector<std::string> zehn;
  for (int i = 0; i < 10; ++i) zehn.push_back("m" + std::to_string(i));
  const std::string wort(80, 'x');
  struct Fall {
    const char* name;
    std::vector<std::string> texte;  // oldest first
    Zeilen soll;
  } faelle[] = {
      {"none", {}, {}},
      {"the newest seven of ten", zehn, {"m3", "m4", "m5", "m6", "m7", "m8", "m9"}},
      {"blanks trimmed", {"  a  ", " b"}, {"", "", "", "", "", "a", "b"}},
      {"runs of empty texts as one line, none at the bottom", {"a", "", " ", "b", "", ""}, {"", "", "", "", "a", "", "b"}},
      {"an empty text before the oldest", {"", "a"}, {"", "", "", "", "", "", "a"}},
      // 119 characters: the tail that fits lowest, then the words taken off, wrapped again.
      {"a long text over three lines", {"old", Woerter(1, 30)},
       {"", "", "", "old", Woerter(1, 4), Woerter(5, 17), Woerter(18, 30)}},
      {"only its newest lines when it needs more than seven", {"old", Woerter(1, 90)},
       {Woerter(1, 12), Woerter(13, 25), Woerter(26, 38), Woerter(39, 51), Woerter(52, 64), Woerter(65, 77),
        Woerter(78, 90)}},
      {"a single word over a line, cut", {wort}, {"", "", "", "", "", "", wort.substr(0, 53)}},
      {"a long last word alone on its line", {"ab cd " + wort}, {"", "", "", "", "", "ab cd", wort.substr(0, 53)}},
      {"a long first word alone on its line", {wort + " ab"}, {"", "", "", "", "", wort.substr(0, 53), "ab"}},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Zeilen z = PauseHistorie(f.texte, Zehn);
    for (std::string& s : z) s = TrimBlanks(s);  // a trailing blank is not seen
    EXPECT_EQ(z, f.soll);
    for (const std::string& s : z) EXPECT_LE(Zehn(s), 530.0f);
  }
}

TEST(PauseTitelzeile, TheLevelAndThePlayersNames) {
  struct Fall {
    const char* sprache;
    const char* level;
    int32_t letzter;
    const char* titel;  // UTF-8
  } faelle[] = {
      {"E", "Level1-Canyon", 0, "Level1-Canyon (Anna)"},
      {"D", "Level1-Canyon", 1, "Level1-Canyon (Anna & Ben)"},
      {"R", "Level1-Canyon", 1, "Уровень1-C (Anna & Ben)"},
      {"R", "level2-Deep", 0, "Уровень2-D (Anna)"},
      {"R", "Epilog", 0, "E (Anna)"},
  };
  testsupport::FreshState();
  Spieler[0].Name = "Anna";
  Spieler[1].Name = "Ben";
  for (const Fall& f : faelle) {
    Sprache = f.sprache;
    LevelName = f.level;
    LetzterSpieler = f.letzter;
    EXPECT_EQ(PauseTitel(), Cyr(f.titel)) << f.level;
  }
  testsupport::FreshState();
}

// The key that opened the screen, and a fire key held with it, do not close it: the
// screen waits for their release, and after it the game sees no held back key.
TEST_F(PauseLauf, TheOpeningKeysMustBeLetGoFirst) {
  struct Fall {
    const char* name;
    std::vector<int> vorher;
  } faelle[] = {{"the pause key", {kEscape}}, {"with the fire key", {kEscape, kFeuer}}, {"nothing", {}}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    g_bilder.clear();
    Spieler[0].Status = 0;
    Spielen({f.vorher, f.vorher, {}, {}, {}, {kEscape}}, f.vorher);
    EXPECT_EQ(g_bilder.size(), f.vorher.empty() ? 6u : 3u);
    EXPECT_EQ(Spielstatus, 0);
    EXPECT_FALSE(TasteZurück(0));
  }
}

// Back resumes the game whichever entry is chosen: the music at its volume, the pause
// chime again, and the radio voice from where it stood, if it was playing.
TEST_F(PauseLauf, BackResumesWithMusicSoundsAndTheVoiceRestored) {
  SoundAn = true;
  MusikLautstaerke = 80;
  SndPause = LoadSound("Sound.vkp", "Pause.wav", 0, 44100);
  const int32_t stimme = LoadSound("Sound.vkp", "speech.wav", 0, 44100);
  ASSERT_GE(SndPause, 0);
  ASSERT_GT(stimme, 0);
  ASSERT_EQ(PlayOggFile(SoundPfad + "Save_Screen.ogg"), -1);
  struct Fall {
    const char* name;
    int32_t funk;  // the voice's sound number
    bool laeuft;   // and whether it plays at the pause
    Tasten tasten;
  } faelle[] = {
      {"a voice playing", stimme, true, {{}, {kEscape}}},
      {"a voice playing, exit chosen", stimme, true, {{kRunter}, {}, {kEscape}}},
      {"a voice played out", stimme, false, {{}, {kEscape}}},
      {"a voice that did not load", -1, false, {{}, {kEscape}}},
      {"no voice", 0, false, {{}, {kEscape}}},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetOggVolume(MusikLautstaerke);
    StopSound(stimme);
    FunkStatus.Sound = f.funk;
    PlaySound(stimme, 0, 0.0);
    headless::MixAudio(3000);
    if (!f.laeuft) StopSound(stimme);
    const int32_t position = Kopie(stimme).GetCurrentPosition();
    ASSERT_GT(position, 0);
    bool still = true;
    g_jeBild = [&] {
      still = still && platform::music::Volume() == 0 && !Spielt(stimme) && Spielt(SndPause);
    };
    WasserKlangLaeuft = true;
    Spielen(f.tasten);
    EXPECT_TRUE(still);
    EXPECT_FALSE(WasserKlangLaeuft);  // a ship still in the surface splashes audibly again
    EXPECT_EQ(Spielstatus, 0);
    EXPECT_EQ(platform::music::Volume(), MusikLautstaerke);
    EXPECT_TRUE(Spielt(SndPause));
    EXPECT_EQ(Spielt(stimme), f.laeuft);
    EXPECT_EQ(Kopie(stimme).GetCurrentPosition(), position);
  }
  StopOgg();
}

// Confirm on exit enters the players' results and ends the level; anything else resumes.
// A quit asked for meanwhile is not turned into a return to the menu.
TEST_F(PauseLauf, ExitEntersTheResultsAndEndsTheLevel) {
  struct Fall {
    const char* name;
    int32_t letzter;
    Tasten tasten;
    bool beenden;  // quit after the second frame
    int32_t status;
    bool eins, zwei;  // the players' results in the table
  } faelle[] = {
      {"one player", 0, {{}, {kRunter}, {}, {kReturn}}, false, 9, true, false},
      {"two players", 1, {{}, {kRunter}, {}, {kReturn}}, false, 9, true, true},
      {"confirm on resume", 1, {{}, {kRunter}, {}, {kHoch}, {kReturn}}, false, 0, false, false},
      {"back on exit", 1, {{}, {kRunter}, {}, {kEscape}}, false, 0, false, false},
      {"a quit with confirm held", 1, {{kRunter}, {kReturn}, {kReturn}, {kReturn}}, true, 10, true, true},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetHighscoreDefaults();
    Spielstatus = 0;
    LetzterSpieler = f.letzter;
    g_bilder.clear();
    g_jeBild = [&] {
      if (f.beenden && g_bilder.size() == 2) Spielstatus = 10;
    };
    Spielen(f.tasten);
    EXPECT_EQ(Spielstatus, f.status);
    EXPECT_EQ(HighscorePlaceOfTag(11) < kKeinHighscorePlatz, f.eins);
    EXPECT_EQ(HighscorePlaceOfTag(12) < kKeinHighscorePlatz, f.zwei);
  }
}

// While another window has the focus no key counts and the game steps back; with the
// focus back the screen reacts again, and the game gets its priority on the exit.
TEST_F(PauseLauf, KeysCountOnlyWithTheFocus) {
  g_jeBild = [] {
    if (g_bilder.size() == 2) platform::ShowWindow(FensterHandle, platform::sw::Hide);
    if (g_bilder.size() == 5) platform::ShowWindow(FensterHandle, platform::sw::Show);
  };
  Spielen({{}, {}, {kRunter}, {kEscape}, {}, {}, {kEscape}});
  ASSERT_EQ(g_bilder.size(), 7u);
  for (size_t i = 0; i < g_bilder.size(); ++i) {
    const bool ohne = i >= 2 && i <= 4;
    EXPECT_EQ(g_bilder[i].auswahl, 0) << i;
    EXPECT_EQ(g_bilder[i].fokus, !ohne) << i;
    EXPECT_EQ(g_bilder[i].prioritaet == platform::kPriorityClassIdle, ohne) << i;
  }
  EXPECT_EQ(platform::GetPriorityClass(), platform::kPriorityClassNormal);
  EXPECT_EQ(Spielstatus, 0);
}

// The waits for a key's release, as the screen opens and as it closes, end with a quit
// (a close request comes through the message pump they run).
TEST_F(PauseLauf, AQuitEndsTheWaitsForAKeysRelease) {
  auto beenden = [] { headless::At(static_cast<uint64_t>(GetTickCount()), [] { Spielstatus = 10; }); };
  for (bool amEnde : {false, true}) {
    SCOPED_TRACE(amEnde);
    Spielstatus = 0;
    g_bilder.clear();
    if (!amEnde) beenden();
    g_jeBild = [&] {
      if (g_bilder.size() == 2) beenden();
    };
    Tasten tasten = amEnde ? Tasten{{}} : Tasten{};
    tasten.insert(tasten.end(), 100000, {kEscape});
    Spielen(tasten, amEnde ? std::vector<int>{} : std::vector<int>{kEscape});
    EXPECT_EQ(Spielstatus, 10);
    EXPECT_EQ(g_bilder.size(), amEnde ? 2u : 0u);
    EXPECT_GT(headless::KeyReadsLeft(), 90000u);  // the key was never let go
  }
}

// A long pause halts the music without ending it: when the game resumes it goes on from
// about where it stopped, not from its start.
TEST_F(PauseLauf, TheMusicGoesOnAfterALongPause) {
  // Three seconds of noise, so that every stretch of it is found at one place only.
  std::vector<int16_t> rauschen(2 * 3 * 44100);
  uint32_t z = 12345;
  for (int16_t& s : rauschen) {
    z = z * 1664525u + 1013904223u;
    s = static_cast<int16_t>(static_cast<int32_t>(z >> 16) - 32768) / 4;
  }
  const std::string datei = home.home() + "Rauschen.ogg";
  testsupport::WriteBytes(datei, tools::EncodeOggVorbis(rauschen, 2, 44100, 0.5f));
  ASSERT_EQ(PlayOggFile(datei), -1);
  SoundAn = true;
  MusikLautstaerke = 100;
  SetOggVolume(100);
  std::vector<int16_t> gehoert;
  for (int i = 0; i < 20; ++i) {
    UpdateOgg();
    std::vector<int16_t> b = headless::MixAudio(735);
    gehoert.insert(gehoert.end(), b.begin(), b.end());
  }
  // A minute of pause with the output running all the time.
  bool still = true;
  g_jeBild = [&] {
    for (int16_t s : headless::MixAudio(706)) still = still && s == 0;
  };
  Tasten tasten(3750, std::vector<int>{});
  tasten.push_back({kEscape});
  Spielen(tasten);
  EXPECT_TRUE(still);
  EXPECT_EQ(Spielstatus, 0);
  ASSERT_NE(OggIsPlaying(), 0);
  UpdateOgg();
  const std::vector<int16_t> danach = headless::MixAudio(2000);
  // Where the stretch heard after the pause lies in the whole stream.
  StopOgg();
  ASSERT_EQ(PlayOggFile(datei), -1);
  std::vector<int16_t> ganz;
  while (OggIsPlaying() != 0 && ganz.size() < rauschen.size()) {
    UpdateOgg();
    std::vector<int16_t> b = headless::MixAudio(735);
    ganz.insert(ganz.end(), b.begin(), b.end());
  }
  StopOgg();
  const auto it = std::search(ganz.begin(), ganz.end(), danach.begin(), danach.end());
  ASSERT_NE(it, ganz.end());
  const auto stelle = static_cast<size_t>(it - ganz.begin());
  EXPECT_GE(stelle, gehoert.size());
  EXPECT_LT(stelle, gehoert.size() + 2 * 44100);  // at most the second the stream had in hand
}

// The game picture as an 800 x 600 bitmap of 24 bits, bottom row first, replacing any
// older file and leaving nothing beside it; the picture also goes into the mosaic.
TEST_F(PauseLauf, TheGamePictureIsKeptAsScreenshotBmp) {
  const std::string datei = DatenOrdner + "Screenshot.bmp";
  testsupport::WriteBytes(datei, std::vector<uint8_t>(3000000, 0xAB));
  Spielen({{}, {kEscape}});
  const std::vector<uint8_t> b = testsupport::ReadBytes(datei);
  auto le = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<size_t>(i)];
    return v;
  };
  ASSERT_EQ(b.size(), 54u + 800 * 600 * 3);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(le(2, 4), b.size());
  EXPECT_EQ(le(10, 4), 54u);  // the pixels right after the two headers
  EXPECT_EQ(le(14, 4), 40u);
  EXPECT_EQ(le(18, 4), 800u);
  EXPECT_EQ(le(22, 4), 600u);  // positive: bottom-up
  EXPECT_EQ(le(26, 2), 1u);
  EXPECT_EQ(le(28, 2), 24u);
  EXPECT_EQ(le(30, 4), 0u);  // uncompressed
  for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {400, 300}, {799, 599}, {123, 456}})
    EXPECT_EQ(le(54 + static_cast<size_t>(599 - y) * 2400 + 3 * static_cast<size_t>(x), 3), Muster(x, y))
        << x << "," << y;
  std::vector<std::string> namen;
  for (const auto& e : fs::directory_iterator(DatenOrdner))
    if (e.path().filename().string().find("Screenshot") != std::string::npos) namen.push_back(e.path().filename());
  EXPECT_EQ(namen, std::vector<std::string>{"Screenshot.bmp"});
  EXPECT_TRUE(fs::exists(DatenOrdner + kMosaikDatei));
}

// After a lost display the monitor shows the screenshot file, else the mosaic, else
// black; a file that is no whole 800 x 600 picture counts as missing.
TEST_F(PauseLauf, ThePictureAfterALostDisplay) {
  auto flaeche = [](int w, int h, uint32_t farbe) {
    platform::SurfacePtr s = platform::Surface::Create(w, h, platform::PixelFormat::XRGB8888);
    s->BltColorFill(nullptr, farbe);
    return platform::EncodeBmp24(*s);
  };
  const std::vector<uint8_t> rot = flaeche(800, 600, 0xFF0000), blau = flaeche(800, 600, 0x0000FF);
  std::vector<uint8_t> kurz = rot;
  kurz.resize(kurz.size() / 2);
  struct Fall {
    const char* name;
    std::vector<uint8_t> foto, mosaik;  // none when empty
    uint32_t farbe;
  } faelle[] = {
      {"the screenshot", rot, blau, 0xFF0000},
      {"a cut screenshot", kurz, blau, 0x0000FF},
      {"a screenshot of another size", flaeche(640, 480, 0xFF0000), blau, 0x0000FF},
      {"a cut screenshot, no mosaic", kurz, {}, 0},
      {"neither", {}, {}, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    fs::remove(DatenOrdner + "Screenshot.bmp");
    fs::remove(DatenOrdner + kMosaikDatei);
    if (!f.foto.empty()) testsupport::WriteBytes(DatenOrdner + "Screenshot.bmp", f.foto);
    if (!f.mosaik.empty()) testsupport::WriteBytes(DatenOrdner + kMosaikDatei, f.mosaik);
    platform::SurfacePtr s = PausenbildNachVerlust(platform::PixelFormat::XRGB8888);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Width(), 800);
    EXPECT_EQ(s->Height(), 600);
    for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}}) EXPECT_EQ(s->GetPixel(x, y) & 0xFFFFFF, f.farbe);
  }
}

// The frame picture and its archive leave the tables as they were: loaded while the
// display is there (and kept through a loss of it), not loaded when the screen opened
// without a display. A lost display brings the monitor back from the screenshot.
TEST_F(PauseLauf, TheFramePictureLeavesTheTablesAsTheyWere) {
  struct Fall {
    const char* name;
    bool wegBeimStart;
    bool wegUnterwegs;
  } faelle[] = {{"a display", false, false}, {"no display at the start", true, false}, {"a display lost", false, true}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    g_bilder.clear();
    SpielbildMalen();
    const size_t flaechen = Surfaces.size(), archive = EntpackListe.size();
    auto weg = [] {
      platform::ShowWindow(FensterHandle, platform::sw::Minimize);
      headless::At(static_cast<uint64_t>(GetTickCount()) + 500,
                   [] { platform::ShowWindow(FensterHandle, platform::sw::Restore); });
    };
    if (f.wegBeimStart) weg();
    g_jeBild = [&] {
      if (f.wegUnterwegs && g_bilder.size() == 2) weg();
    };
    Tasten tasten(30, std::vector<int>{});
    tasten.push_back({kEscape});
    Spielen(tasten);
    ASSERT_EQ(g_bilder.size(), 31u);
    for (size_t i = 0; i < g_bilder.size(); ++i) {
      EXPECT_EQ(g_bilder[i].rahmen > 0, !f.wegBeimStart) << i;
      // The game picture fades out over the first 20 frames.
      if (i >= 20) {
        EXPECT_EQ(g_bilder[i].monitor & 0xFFFFFF, Muster(21, 581)) << i;
      }
    }
    EXPECT_EQ(Surfaces.size(), flaechen);
    EXPECT_EQ(EntpackListe.size(), archive);
    EXPECT_EQ(Spielstatus, 0);
  }
}

// The screen some frames in, the fade-in done: two players, the history with a long
// text, exit chosen. Compared at half its size.
TEST_F(PauseLauf, TheScreenAsItIsDrawn) {
  LetzterSpieler = 1;
  AddMsg("Checkpoint reached");
  AddMsg("");
  AddMsg("Incoming transmission: the convoy has passed the outer ring and the gate is open, keep the "
         "escort close and watch the rocks");
  AddMsg("Super nova ready");
  platform::SurfacePtr bild = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  g_jeBild = [&] {
    if (g_bilder.size() == 30) bild->BltFast(0, 0, *BackBuffer, nullptr, 0);
  };
  Tasten tasten(10, std::vector<int>{});
  tasten.push_back({kRunter});
  tasten.resize(32);
  tasten.push_back({kEscape});
  Spielen(tasten);
  ASSERT_GE(g_bilder.size(), 30u);
  EXPECT_EQ(g_bilder.back().auswahl, 1);
  const std::string f = testsupport::CompareHalfWithGoldenBmp("tests/campaign/golden/pause_32.bmp", *bild);
  EXPECT_TRUE(f.empty()) << f;
}
