#include "support/stress_level.hpp"

#include <filesystem>
#include <sstream>

#include "lib/archive_writer.hpp"
#include "lib/level_desc.hpp"
#include "lib/level_writer.hpp"
#include "player/players_state.hpp"
#include "player/shots.hpp"
#include "player/shots_state.hpp"
#include "shell/basic.hpp"
#include "support/scenes.hpp"
#include "world/particles.hpp"

namespace testsupport {

std::string StressLevelDescription() {
  std::ostringstream d;
  d << R"(# The stress level: the pools full for as long as it runs.
background Sky.bmp
length 100000
rain 100
gravity 0.05
music Level1.ogg
radio_texts Funk

sprite Gunship
  frame Gunship1.bmp 0 0 112 64 delay=10
  frame Gunship2.bmp 0 0 112 64 delay=10
  frame Gunship3.bmp 0 0 112 64 delay=10
sprite Turret d3d=1
  frame Turret.bmp 0 0 32 32 delay=100
sprite Mine d3d=1
  frame Mine1.bmp 0 0 40 40 delay=4
  frame Mine2.bmp 0 0 40 40 delay=4
  frame Mine3.bmp 0 0 40 40 delay=4
sprite Plasma d3d=1
  frame Plasma1.bmp 0 0 16 16 delay=2
  frame Plasma2.bmp 0 0 16 16 delay=2
sprite RockA
  frame RockA.bmp 0 0 210 130 delay=100
sprite FarRockA
  frame FarRockA.bmp 0 0 260 170 delay=100

# Four parts: the hull, two turrets and a mine riding on top; the turrets fire aimed
# plasma every 25 ticks.
enemy Carrier hp=400 speed=2 flash=2 wreck=1
  part sprite=Gunship hp=200 hitsenemy=1 killsenemy=1
  part sprite=Turret x=20 y=2 hp=60 generator=Spray fire=4
  part sprite=Turret x=64 y=2 hp=60 generator=Spray fire=4
  part sprite=Mine x=36 y=-30 hp=60

# In to a random place on the screen, then circling there for good, trailing glitter.
route Circle
  cmd speed 6
  cmd random vari4 620
  cmd random vari5 420
  cmd move vari4+40 vari5+20
  cmd speed 2
  cmd label 1
    cmd set vari0 vari0+4
    cmd polar vari1 vari2 vari0
    cmd step vari1 vari2
    cmd particle x+50 y+30 0 -0.5 1 0.7 0.3 16 0 120 14 0
  cmd goto 1

generator Spray turret=1
  salvo shots=3 interval=4 aimed=1 speed=1.2 hp=1 shot=Plasma edge=1
shottype Plasma look=1 sprite=Plasma box=3,3,13,13 glow=1 trail=2 colour=1,0.3,0.8 fadein=3
)";
  d << "\nlayer 2 speed=1\n";
  for (int t = -800; t < 100000; t += 260) d << "  at " << t << " item FarRockA 0 380\n";
  d << "\nlayer 3 speed=2\n";
  for (int t = -300; t < 100000; t += 150) d << "  at " << t << " item RockA 0 " << (t % 300 == 0 ? 470 : 500) << "\n";
  d << "\nlayer 4\n";
  for (int t = 0; t < 20000; t += 2) d << "  at " << t << " enemy Carrier Circle " << 60 + (t * 37) % 420 << "\n";
  return d.str();
}

bool BuildStressLevel(const std::string& folder, std::string& error) {
  namespace fs = std::filesystem;
  const fs::path quelle = fs::path(DemoDataFolder()) / "Data";
  std::vector<uint8_t> demo;
  std::vector<tools::ArchiveMember> members;
  if (!tools::ReadFile((quelle / "Level1.vlp").string(), demo) || !tools::UnpackArchive(demo, members)) {
    error = "cannot read the demo level in " + quelle.string();
    return false;
  }
  levelfile::Leveldaten level;
  std::vector<uint8_t> datei;
  if (!tools::ParseLevelDescription(StressLevelDescription(), level, error)) return false;
  if (!tools::WriteLevelFile(level, datei)) {
    error = "the stress level does not fit the level file";
    return false;
  }
  std::erase_if(members, [](const tools::ArchiveMember& m) { return SameText(m.name, "Level1.dat"); });
  members.push_back({"Stress.dat", datei});

  const fs::path data = fs::path(folder) / "Data";
  std::error_code ec;
  fs::create_directories(data, ec);
  for (const fs::directory_entry& e : fs::directory_iterator(quelle, ec))
    if (!fs::exists(data / e.path().filename())) fs::create_symlink(fs::absolute(e.path()), data / e.path().filename(), ec);
  if (ec || !tools::WriteFileIfChanged((data / "Stress.vlp").string(), tools::PackArchive(members))) {
    error = "cannot write the stress level into " + data.string();
    return false;
  }
  return true;
}

headless_run::KeyScript StressKeys(int ticks) {
  // Key set 1 (two players): I up, K down, S fire; key set 2: Num. 8 up, Num. 5 down, End fire.
  constexpr int kHoch1 = 23, kRunter1 = 37, kFeuer1 = 31, kHoch2 = 72, kRunter2 = 76, kFeuer2 = 207;
  headless_run::KeyScript keys;
  for (int t = 0; t < ticks; ++t) {
    const bool hoch = (t / 30) % 2 == 0;
    keys.push_back({hoch ? kHoch1 : kRunter1, hoch ? kRunter2 : kHoch2, kFeuer1, kFeuer2});
  }
  return keys;
}

void TopUpPools() {
  // The ships take the enemies' fire without dying of it, so the run stays one pass.
  for (SpielerDaten& s : Spieler) s.Energie = s.EnergieMax;
  for (int32_t g = 0; g < 2; ++g) {
    // Slow bullets across the screen, each group from its own side.
    for (int32_t n = 0; n < 60 && HatPlatz(Schuesse[g]); ++n)
      AddSchuss(g, 0, 10.0f + static_cast<float>(n * 19 % 700), 40.0f + static_cast<float>(n * 53 % 460),
                g == 0 ? 3.0f : -3.0f, 0, 1, 1, g);
    while (HatPlatz(Partikel[g])) AddPartikel(g, 50, 0, 0, 800, 550, g == 1);
  }
}

}  // namespace testsupport
