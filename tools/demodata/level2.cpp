// The second demo level: every picture its description names, drawn by code and looked
// up by file name, its level sounds and its radio voices.
#include "demodata/level2.hpp"

#include <string>

#include "demodata/sounds.hpp"

namespace demo {

Bilder Level2Pictures() {
  Bilder b;
  b["Cavern.bmp"] = {Cavern, false};
  // The solid rocks of layer 3, standing on the floor or hanging from the ceiling, with
  // their crystals ...
  b["CaveA.bmp"] = {[] { return CaveRock(220, 120, false, false, 401); }};
  b["CaveB.bmp"] = {[] { return CaveRock(160, 90, false, false, 402); }};
  b["CaveC.bmp"] = {[] { return CaveRock(280, 140, false, false, 403); }};
  b["CaveD.bmp"] = {[] { return CaveRock(200, 130, true, false, 404); }};
  b["CaveE.bmp"] = {[] { return CaveRock(150, 100, true, false, 405); }};
  b["CaveColumn.bmp"] = {[] { return CaveRock(100, 220, false, false, 406); }};
  b["CaveSpike.bmp"] = {[] { return CaveRock(110, 200, true, false, 407); }};
  // ... and the hazy ones of layer 2 behind them.
  b["FarCaveA.bmp"] = {[] { return CaveRock(260, 180, false, true, 501); }};
  b["FarCaveB.bmp"] = {[] { return CaveRock(200, 130, true, true, 502); }};
  b["FarCaveC.bmp"] = {[] { return CaveRock(240, 150, false, true, 503); }};
  for (int n = 1; n <= 4; ++n) {
    b["Jelly" + std::to_string(n) + ".bmp"] = {[n] { return JellyFrame(n - 1); }};
    b["Barracuda" + std::to_string(n) + ".bmp"] = {[n] { return BarracudaFrame(n - 1); }};
    b["Nautilus" + std::to_string(n) + ".bmp"] = {[n] { return NautilusFrame(n - 1); }};
    b["Spore" + std::to_string(n) + ".bmp"] = {[n] { return SporeFrame(n - 1); }};
  }
  for (int n = 1; n <= 2; ++n) b["Leviathan" + std::to_string(n) + ".bmp"] = {[n] { return LeviathanFrame(n - 1); }};
  b["Eye.bmp"] = {LeviathanEye};
  b["Lure.bmp"] = {[] { return Glow32(0x60FFF0); }};
  b["Glimmer.bmp"] = {[] { return Glow32(0xB070FF); }};
  b["Shaft.bmp"] = {LightShaft};
  return b;
}

std::vector<tools::ArchiveMember> Level2Sounds() {
  std::vector<tools::ArchiveMember> m;
  AddSound(m, "L2Sonar.wav", sounds::SonarPing());
  AddSound(m, "L2Spore.wav", sounds::SporeShot());
  AddSound(m, "L2Roar.wav", sounds::Roar());
  return m;
}

std::vector<tools::ArchiveMember> Level2Voices() {
  std::vector<tools::ArchiveMember> m;
  for (int n = 0; n < 3; ++n) AddSound(m, "Deep" + std::to_string(n + 1) + ".wav", sounds::RadioVoice(n + 3));
  return m;
}

}  // namespace demo
