#pragma once
// Rumble and screen shake. Game code asks for rumble in pulses (strength 1..5, a number
// of frames, a player); once per frame DoForce sums the live pulses per joystick into one
// constant-force magnitude and commands the device only when that magnitude changed.
#include <array>
#include <cstdint>
#include <string>

// The force queue: frames left (free below 1), strength and player of each pulse.
constexpr int ForceSlots = 21;
inline std::array<int32_t, ForceSlots> ForceTime{};
inline std::array<int32_t, ForceSlots> ForcePower{};
inline std::array<int32_t, ForceSlots> ForcePlayer{};

// Magnitude last sent to joystick j (0 after ForceStop).
inline std::array<int32_t, 2> ForceWert{};

// The parameters of a joystick's constant-force effect, kept and changed in place.
struct EffektDaten {
  int32_t Dauer = -1;               // microseconds, -1 endless
  int32_t SamplePeriode = 0;
  int32_t Gain = 10000;
  int32_t TriggerKnopf = -1;        // none
  int32_t TriggerWiederholung = -1; // endless
  int32_t Magnitude = 10000;        // 0..10000
};
inline std::array<EffektDaten, 2> JoyEffektDaten;
// The effect of joystick j exists (and the joystick is still open).
inline std::array<bool, 2> JoyEffektDa{};
// The kind of effect chosen for joystick j.
inline std::array<std::string, 2> JoyEffektGuid;

// Frames of screen shake left; any part of the game may raise it.
inline int32_t Erschuetterung = 0;

// As at program start: no pulse queued or sent, no effect made, no shake.
inline void ResetForce() {
  ForceTime.fill(0);
  ForcePower.fill(0);
  ForcePlayer.fill(0);
  ForceWert.fill(0);
  JoyEffektDaten.fill(EffektDaten{});
  JoyEffektDa.fill(false);
  JoyEffektGuid.fill("");
  Erschuetterung = 0;
}

// Queues a pulse of strength `Stärke` (1..5) for `time` frames for player `VeskNr`; any
// other player number queues it for both players. A full queue drops the pulse.
void AddForce(int32_t Stärke, int32_t time, int32_t VeskNr);
// Once per frame: drives the joysticks from the queue.
void DoForce();
// Makes joystick `Joy` push with `Force` (0..10000); without `Joy` both joysticks.
void ForceStart(int32_t Force);
void ForceStart(int32_t Force, int32_t Joy);
// Silences joystick `Joy`; without `Joy` both.
void ForceStop();
void ForceStop(int32_t Joy);
// Creates joystick `Joy`'s constant-force effect (at start-up, for force-feedback
// joysticks); a failure logs a line and leaves the joystick without force feedback.
void ForceEffectCreate(int32_t Joy);
// Sets JoyEffektDaten(Joy) to the start values and returns a copy.
EffektDaten ForceEffectParams(int32_t Joy);

// The screen shake of one tick: rumble for all players and, in a drawn frame, the play
// area jolted by a random offset.
void SpielErschücterung();

// The strength of a summed pulse level on a joystick with base strength `Basis`.
int32_t ForceMagnitude(int32_t Level, int32_t Basis);

// The random jolt of a drawn shake frame for the counter after this tick's step:
// -6..7 in each direction while it is 19 or more, then -3..4 (dx is drawn first).
void ShakeVersatz(int32_t Zaehler, int32_t& dx, int32_t& dy);
// How the shake moves the play area (the top 800 x 550 of the back buffer): a blit of
// the back buffer onto itself from `Quelle` to the point (`ZielX`, `ZielY`).
struct ShakeBlit {
  bool Blit = false;  // false: the offset is (0, 0), nothing moves
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t ZielX = 0, ZielY = 0;
  bool operator==(const ShakeBlit&) const = default;
};
ShakeBlit ShakeRechteck(int32_t dx, int32_t dy);
// Moves the back buffer's rectangle onto itself (the one place the shake draws).
void ShakeBlitAusfuehren(const ShakeBlit& b);
