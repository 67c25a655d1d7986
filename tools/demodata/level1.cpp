// The first demo level: every picture its description names, drawn by code and looked up
// by file name, its level sounds and its radio voices.
#include "demodata/level1.hpp"

#include "demodata/sounds.hpp"

namespace demo {

Bilder Level1Pictures() {
  Bilder b;
  b["Sky.bmp"] = {CanyonSky, false};
  // The solid rocks of layer 3: standing on the floor or hanging from the ceiling.
  b["RockA.bmp"] = {[] { return Rock(210, 130, false, false, 101); }};
  b["RockB.bmp"] = {[] { return Rock(150, 95, false, false, 102); }};
  b["RockC.bmp"] = {[] { return Rock(300, 150, false, false, 103); }};
  b["RockD.bmp"] = {[] { return Rock(190, 120, true, false, 104); }};
  b["RockE.bmp"] = {[] { return Rock(140, 90, true, false, 105); }};
  b["Pillar.bmp"] = {[] { return Rock(90, 210, false, false, 106); }};
  b["Stalactite.bmp"] = {[] { return Rock(100, 190, true, false, 107); }};
  // The hazy rocks of layer 2, behind.
  b["FarRockA.bmp"] = {[] { return Rock(260, 170, false, true, 201); }};
  b["FarRockB.bmp"] = {[] { return Rock(180, 120, false, true, 202); }};
  b["FarRockC.bmp"] = {[] { return Rock(220, 110, true, true, 203); }};
  for (int n = 1; n <= 4; ++n) b["Dart" + std::to_string(n) + ".bmp"] = {[n] { return DartFrame(n - 1); }};
  for (int n = 1; n <= 6; ++n) b["Mine" + std::to_string(n) + ".bmp"] = {[n] { return MineFrame(n - 1); }};
  for (int n = 1; n <= 3; ++n) b["Gunship" + std::to_string(n) + ".bmp"] = {[n] { return GunshipFrame(n - 1); }};
  b["Turret.bmp"] = {Turret};
  for (int n = 1; n <= 4; ++n) b["Plasma" + std::to_string(n) + ".bmp"] = {[n] { return PlasmaFrame(n - 1); }};
  b["Beacon.bmp"] = {BeaconGlow};
  b["Flare.bmp"] = {FlareStreak};
  return b;
}

std::vector<tools::ArchiveMember> Level1Sounds() {
  std::vector<tools::ArchiveMember> m;
  AddSound(m, "L1Alarm.wav", sounds::Alarm());
  AddSound(m, "L1Plasma.wav", sounds::PlasmaShot());
  return m;
}

std::vector<tools::ArchiveMember> Level1Voices() {
  std::vector<tools::ArchiveMember> m;
  for (int n = 0; n < 3; ++n) AddSound(m, "Radio" + std::to_string(n + 1) + ".wav", sounds::RadioVoice(n));
  return m;
}

}  // namespace demo
