// The fixed assets from the demo data: the game sounds, the standard and game pictures
// in their table order, the ship blocks, and the unpack folders gone afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "lib/archive_writer.hpp"
#include "platform/bytes.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/game_pictures.hpp"
#include "world/game_sounds.hpp"
#include "world/standard_pictures.hpp"

namespace {

// The file name of entry `nr`: the stored name after its folder.
std::string File(int32_t nr) {
  if (nr < 0 || nr > SurfacesMax()) return "(none)";
  const std::string& n = Surfaces[nr].Name;
  return n.substr(n.find_last_of("\\/") + 1);
}

bool Unpacked(const std::string& archiv) {
  return platform::fs::DirExists(GetTempFolder() + "Harvo\\" + archiv + "dir\\");
}

struct Anchor {
  int32_t handle, nr;
  const char* file;
};

class Assets : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDir app;
  testsupport::TempDataFolder daten;  // the loaders log

  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    BackBuffer.reset();
    // The demo data lies beside the test program, as beside the game.
    AppPfad = platform::fs::ProgramFolder();
    ASSERT_TRUE(platform::fs::FileExists(AppPfad + "Data/Spiel.vkp")) << "no demo data in " << AppPfad;
  }
  void TearDown() override {
    SurfaceClear();
    Soundclear();
  }
  // The demo data without the member `weg` of the archives, as the program's folder.
  void Without(const std::string& weg) {
    std::filesystem::create_directories(app / "Data");
    for (const char* a : {"Standart.vkp", "Spiel.vkp", "Sound.vkp"}) {
      std::vector<tools::ArchiveMember> m;
      ASSERT_TRUE(tools::UnpackArchive(testsupport::ReadBytes(AppPfad + "Data/" + a), m));
      std::erase_if(m, [&](const tools::ArchiveMember& x) { return x.name == weg; });
      testsupport::WriteBytes(app / "Data/" + a, tools::PackArchive(m));
    }
    AppPfad = app.path();
  }
};

TEST_F(Assets, GameSoundsTakeTheFirstEntriesInOrder) {
  SndWarnung[3] = 5;
  LoadSpielSound();
  ASSERT_EQ(SoundsMax(), 42);
  for (auto [a, copies] : {std::pair{Anchor{SndNormal[1], 0, "NORMAL2.WAV"}, 6},
                           {{SndVPhyYellow, 7, "V-PHY YELLOW.WAV"}, 1},
                           {{SndYellow, 9, "YELLOW.WAV"}, 1},
                           {{SndCheckpoint, 19, "CHECKPOINT.WAV"}, 3},
                           {{SndExplosion[2], 22, "EXPLOSION2.WAV"}, 4},
                           {{SndYellow2, 42, "YELLOW.WAV"}, 1}}) {
    EXPECT_EQ(a.handle, a.nr) << a.file;
    EXPECT_EQ(Sounds[a.nr].Name, a.file);
    EXPECT_EQ(Sounds[a.nr].Kopien.size(), static_cast<size_t>(copies)) << a.file;
  }
  EXPECT_EQ(SndWarnung[3], -1);
  EXPECT_EQ(LoadSound("Sound.vkp", "dude.wav", 0, 44100), 43);  // the level's own follow
  EXPECT_FALSE(Unpacked("Sound.vkp"));

  Soundclear();
  SoundAn = false;
  SndHit = 77;
  LoadSpielSound();
  EXPECT_EQ(SoundsMax(), -1);
  EXPECT_EQ(SndHit, 77);
}

TEST_F(Assets, StandardPicturesFillTheTableFromTheStart) {
  for (auto [voodoo, blur2, width] : {std::tuple{false, "BLUR3.BMP", 800}, {true, "BLUR2.BMP", 256}}) {
    SCOPED_TRACE(blur2);
    VoodooModus = voodoo;
    Surfaces.emplace_back();  // an older table is emptied
    LoadStandartSurfaces();
    ASSERT_EQ(SurfacesMax(), 23);
    EXPECT_EQ(File(TexBlur2), blur2);
    EXPECT_EQ(Surfaces[TexBlur2].SrcRect.Right, width);
    EXPECT_EQ(Surfaces[TexBlur2].Vertex[3].sx, 800.0f);  // a full-screen quad either way
    for (const Anchor& a :
         {Anchor{TexBlur, 0, "BLUR.BMP"}, Anchor{TexRauch[6], 19, "RAUCH7.BMP"}, Anchor{TexGlitzerB, 2, "GLITZER.BMP"},
          Anchor{TexKreis3, 22, "A_KREIS3.BMP"}, Anchor{TexBlurB, 23, "BLUR.BMP"}}) {
      EXPECT_EQ(a.handle, a.nr) << a.file;
      EXPECT_EQ(File(a.handle), a.file);
    }
    EXPECT_EQ(Surfaces[TexFeuer[3]].Surface->Format(), platform::PixelFormat::ARGB8888);  // its alpha mate
    EXPECT_FALSE(Surfaces[TexLogo].D3DSprite);
    EXPECT_EQ(Surfaces[TexKreis3].Surface->ColorKey(), 0xFFFFFFu);  // keyed on white
    EXPECT_EQ(LoadSurface(Surfaces[TexBlur].Name, true), TexBlur);  // the name finds the first
    EXPECT_FALSE(Unpacked("Standart.vkp"));
  }
  Spielstatus = 10;
  LoadStandartSurfaces();
  EXPECT_EQ(SurfacesMax(), 23);
}

// Each ship type's values: muzzle x, both muzzle ys by column, frame rows.
struct Block {
  int32_t x;
  std::array<int32_t, 5> y1, y2;
  int32_t rows;
};
constexpr Block kVTonator{45, {26, 30, 39, 46, 49}, {50, 48, 39, 25, 24}, 1};
constexpr Block kVPhyton{43, {23, 26, 34, 38, 49}, {41, 40, 34, 29, 23}, 1};
constexpr Block kDrohnen{44, {27, 30, 38, 41, 43}, {46, 43, 38, 31, 25}, 3};
constexpr Block kBehalten{12, {}, {}, 1};  // a type without values keeps its own

void ExpectBlock(const SchiffDaten& s, const Block& b, int32_t typ) {
  SCOPED_TRACE(testing::Message() << "ship type " << typ);
  EXPECT_EQ(s.Typ, typ);
  EXPECT_EQ(std::vector<int32_t>({s.BoxLinks, s.BoxOben, s.BoxRechts, s.BoxUnten}),
            std::vector<int32_t>({0, 17, 64, 54}));
  EXPECT_EQ(std::tie(s.MuendungX, s.MuendungY1, s.MuendungY2, s.Zeilen), std::tie(b.x, b.y1, b.y2, b.rows));
  for (int32_t r = 0; r < 5; ++r)
    for (int32_t c = 0; c < 5; ++c) {
      const auto name = "VESK" + std::to_string(typ) + std::to_string(c + 1) + std::to_string(r + 1) + ".BMP";
      EXPECT_EQ(File(s.Bilder[r * 5 + c]), r < b.rows && typ >= 0 ? name : "(none)") << "row " << r << " column " << c;
    }
}

TEST_F(Assets, ShipBlocksByPlayersAndShipType) {
  struct Case {
    int32_t letzter, typ0;
    Block b0, b1;
  };
  for (const Case& c :
       {Case{0, 0, kVTonator, kBehalten}, Case{0, 1, kVPhyton, kBehalten}, Case{0, 2, kDrohnen, kBehalten},
        Case{1, 0, kVTonator, kVPhyton}, Case{1, 1, kVPhyton, kVTonator}, Case{1, 2, kDrohnen, kBehalten}}) {
    SCOPED_TRACE(testing::Message() << "players " << c.letzter + 1 << ", first ship " << c.typ0);
    LetzterSpieler = c.letzter;
    Schiff = {};
    Schiff[0].Typ = c.typ0;
    Schiff[1].MuendungX = 12;
    Schiff[1].Zeilen = 1;
    for (SchiffDaten& s : Schiff) s.Bilder.fill(-1);
    TexAnzeigeSpec.fill(-1);
    LoadStandartSurfaces();
    LoadSpielSurfaces();
    ASSERT_EQ(Spielstatus, 0);  // a drone ship's second player (type -1) asks for no frames
    ExpectBlock(Schiff[0], c.b0, c.typ0);
    if (c.letzter == 1) ExpectBlock(Schiff[1], c.b1, 1 - c.typ0);
    const int32_t satz = c.letzter == 1 ? 3 : c.typ0;
    EXPECT_EQ(File(TexAnzeigeGrund), "INTERFACE" + std::to_string(satz) + "_GRUND.BMP");
    EXPECT_EQ(File(TexAnzeigeExtra[2]), c.letzter == 1 ? "INTERFACE3_EXTRA2.BMP" : "INTERFACE_EXTRA2.BMP");
    EXPECT_EQ(TexAnzeigeSpec[0] >= 0, c.letzter == 0);
    EXPECT_FALSE(Unpacked("Spiel.vkp"));
  }
}

std::span<int32_t> One(int32_t& h) { return {&h, 1}; }

TEST_F(Assets, EveryGameHandleLoadedAsTextureOrPictureInTheTableOrder) {
  // Textures drawn as quads, then plain pictures drawn by colour-keyed blits.
  const std::vector<std::span<int32_t>> kinds[2] = {
      {TexBallschuss, TexPartikel, TexSatellit, TexAnzeigeSpec, TexGSchuss, TexExtra, TexExtraSymbol, TexPow,
       TexAbpraller, One(TexBombe), One(TexRakete2), One(TexWave2), One(TexFadenkreuz), One(TexHupe), One(TexBlase),
       One(TexLupe)},
      {TexZiffer, TexLeben, One(TexAnzeigeGrund), One(TexAnzeigeEnergie), One(TexAnzeigeEnergieA), TexAnzeigeBeam,
       TexAnzeigeBeamA, One(TexAnzeigeS), One(TexAnzeigeP), TexAnzeigeExtra, TexSchiffSymbol, One(TexRakete),
       One(TexCombo), TexFunkFrame}};
  for (const auto& kind : kinds)
    for (std::span<int32_t> g : kind) std::ranges::fill(g, -1);
  ForceModus = false;
  Schiff[0].Typ = 1;
  LoadStandartSurfaces();
  LoadSpielSurfaces();
  for (int k = 0; k < 2; ++k)
    for (size_t g = 0; g < kinds[k].size(); ++g)
      for (int32_t h : kinds[k][g]) {
        ASSERT_TRUE(h >= 0 && h <= SurfacesMax() && Surfaces[h].Surface) << "kind " << k << " group " << g << ": " << h;
        EXPECT_EQ(Surfaces[h].D3DSprite, k == 0) << File(h);
      }
  // A few anchors of the order (one player, V-Phyton, every display picture).
  for (const Anchor& a :
       {Anchor{TexBallschuss[0], 24, "BALLSCHUSS.BMP"}, Anchor{TexSatellit[0], 28, "FORCE_010000.BMP"},
        Anchor{TexSatellit[23], 51, "FORCE_030007.BMP"}, Anchor{Schiff[0].Bilder[4], 56, "VESK151.BMP"},
        Anchor{TexLeben[9], 76, "LEBEN9.BMP"}, Anchor{TexAnzeigeBeamA[1], 83, "INTERFACE1_BEAMA1.BMP"},
        Anchor{TexExtra[1], 105, "P2EXTRA00.BMP"}, Anchor{TexExtraSymbol[0], 164, "EXTRASHILD.BMP"},
        Anchor{TexPartikel[13], 178, "PARTIKEL13.BMP"}, Anchor{TexPow[10], 180, "POW01.BMP"},
        Anchor{TexLupe, 249, "BLUR2.BMP"}, Anchor{TexFunkFrame[31], 281, "FRAME32.BMP"}}) {
    EXPECT_EQ(a.handle, a.nr) << a.file;
    EXPECT_EQ(File(a.handle), a.file);
  }
  EXPECT_EQ(SurfacesMax(), 281);
  const SurfaceInfo& schild = Surfaces[TexExtraSymbol[0]];
  EXPECT_EQ(schild.Width + 1, schild.Surface->Width());  // trimmed by a pixel
}

TEST_F(Assets, AMissingSoundIsSkippedAndAMissingPowerUpFrameRepeatsTheFirst) {
  Without("Hit.wav");
  LoadSpielSound();
  EXPECT_EQ(SndHit, -1);
  EXPECT_EQ(SndPause, 28);  // the next sound takes its place in the table
  EXPECT_EQ(MessageHistory.Zeilen.back(), "Sound Not Found: Hit.wav");

  Without("Pow32.bmp");
  LoadStandartSurfaces();
  LoadSpielSurfaces();
  ASSERT_EQ(Spielstatus, 0);
  EXPECT_EQ(TexPow[3 + 20], TexPow[3]);
  EXPECT_EQ(File(TexPow[3 + 20]), "POW30.BMP");
}

TEST(ShipBlock, SavesAs43LongsInTheirOrder) {
  SchiffDaten s;
  s.BoxLinks = 25;
  s.MuendungY2[4] = 40;
  s.Typ = 42;
  std::vector<uint8_t> bytes;
  platform::ByteWriter w(bytes);
  Felder(w, s);
  ASSERT_EQ(bytes.size(), 172u);
  for (uint8_t at : {25, 40, 42}) EXPECT_EQ(bytes[at * 4], at);
  EXPECT_EQ(std::memcmp(bytes.data(), &s, sizeof s), 0);  // as the record lies in memory
}

}  // namespace
