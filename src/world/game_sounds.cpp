#include "world/game_sounds.hpp"

#include "engine/sound.hpp"
#include "shell/config.hpp"

namespace {

struct SpielSound {
  const char* Datei;
  int32_t Tiefe;  // buffer copies beyond the first
  int32_t* Handle;
};

// The load order is part of the game: the sounds take the first table entries in it.
// Looping sounds (the V-Phyton beams, rain) have a single copy.
const SpielSound kSpielSounds[] = {
    {"Normal2.wav", 5, &SndNormal[1]},
    {"Normal.wav", 5, &SndNormal[0]},
    {"green.wav", 5, &SndGreen},
    {"v-Phyton red.wav", 1, &SndVPhytonRed},
    {"v-Phyton blue.wav", 1, &SndVPhytonBlue},
    {"V-phy green.wav", 1, &SndVPhyGreen},
    {"V-phy violett.wav", 1, &SndVPhyViolett},
    {"V-phy yellow.wav", 0, &SndVPhyYellow},
    {"red.wav", 5, &SndRed},
    {"yellow.wav", 0, &SndYellow},
    {"cyan.wav", 0, &SndCyan},
    {"Violett.wav", 5, &SndViolett},
    {"rocketlaunch.wav", 1, &SndRocketlaunch},
    {"Bomb.wav", 1, &SndBomb},
    {"press q.wav", 1, &SndPressQ},
    {"item switch.wav", 1, &SndItemSwitch},
    {"press d.wav", 1, &SndPressD},
    {"Extra.wav", 5, &SndExtra},
    {"Speed.wav", 5, &SndSpeed},
    {"Checkpoint.wav", 2, &SndCheckpoint},
    {"Explosion.wav", 3, &SndExplosion[0]},
    {"Explosion1.wav", 3, &SndExplosion[1]},
    {"Explosion2.wav", 3, &SndExplosion[2]},
    {"ExplosionVESK.wav", 2, &SndExplosionVesk},
    {"Charge1.wav", 1, &SndCharge[0]},
    {"Charge2.wav", 1, &SndCharge[1]},
    {"Beam1.wav", 1, &SndBeam[0]},
    {"Beam2.wav", 1, &SndBeam[1]},
    {"Hit.wav", 5, &SndHit},
    {"Pause.wav", 0, &SndPause},
    {"speech.wav", 0, &SndSpeech},
    {"spalt.wav", 5, &SndSpalt},
    {"Nova.wav", 0, &SndNova},
    {"NovaSchuss.wav", 5, &SndNovaSchuss},
    {"Hupe.wav", 0, &SndHupe},
    {"force_on.wav", 0, &SndForceOn},
    {"force_off.wav", 0, &SndForceOff},
    {"water touch.wav", 0, &SndWaterTouch},
    {"newborn1.wav", 1, &SndNewborn},
    {"rain.wav", 0, &SndRain},
    {"Thunder.wav", 1, &SndThunder},
    {"Liveup.wav", 0, &SndLiveup},
    // A second, separate entry of the same file: sounds are not shared by name.
    {"yellow.wav", 0, &SndYellow2},
};

}  // namespace

void LoadSpielSound() {
  if (!SoundAn) return;
  // A missing file leaves its handle at -1 (playing it only logs a line); the rest load.
  for (const SpielSound& s : kSpielSounds) *s.Handle = LoadSound("Sound.vkp", s.Datei, s.Tiefe, 44100);
  // The boss warnings come with the boss.
  SndWarnung.fill(-1);
}
