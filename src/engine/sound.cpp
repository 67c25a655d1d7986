#include "engine/sound.hpp"

#include <memory>
#include <new>
#include <stdexcept>

#include "campaign/ticker_state.hpp"
#include "platform/fs.hpp"
#include "platform/wav.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/err.hpp"
#include "world/game_sounds_state.hpp"
#include "world/radio_state.hpp"

namespace {

constexpr int32_t DSERR_BADFORMAT = static_cast<int32_t>(0x88780064u);

// Appends the entry and creates its copies. An entry that fails half-way stays in the
// table with the copies made so far; its number is not handed out.
int32_t NeuerEintrag(const std::string& Datei, const std::string& File, int32_t Soundbufferdeep) {
  Sounds.emplace_back();
  SoundEntry& e = Sounds.back();
  if (Soundbufferdeep < 0) throw err::Indexbereich();
  e.Kopien.resize(static_cast<size_t>(Soundbufferdeep) + 1);
  e.Name = UCase(TrimBlanks(File));

  // All copies share the samples, decoded once.
  auto pcm = std::make_shared<platform::audio::Pcm>();
  std::string grund;
  if (!platform::audio::LoadWav(Datei, *pcm, grund)) throw Err{DSERR_BADFORMAT, grund};
  for (platform::audio::SoundBuffer& kopie : e.Kopien) {
    kopie = platform::audio::SoundBuffer(pcm);
    if (!kopie.Valid()) throw Err{DSERR_BADFORMAT, "unplayable sound data"};
  }
  if (DebugModus) DebugLog("Sound Loading ok " + std::to_string(SoundsMax()));
  return SoundsMax();
}

int32_t LadeFehlschlag(const std::string& File, const Err& f) {
  if (DebugModus) DebugLog("Sound Loading Fail: " + std::to_string(f.Nummer) + " " + f.Beschreibung);
  AddMsg("Sound Loading Fail: " + File);
  return -1;
}

}  // namespace

bool SoundDeviceOpen(std::string& Fehler) { return platform::audio::OpenDevice(Fehler); }

void SoundDeviceClose() { platform::audio::CloseDevice(); }

int32_t LoadSound(const std::string& Archiv, const std::string& File, int32_t Soundbufferdeep, int32_t) {
  // The rate the callers pass is not used: every file plays at its own format.
  if (Spielstatus == 10) return 0;
  if (DebugModus) DebugLog("Sound " + File);
  std::string ordner;
  bool entpackt = false;
  int32_t ergebnis = -1;
  try {
    if (!Archiv.empty()) {
      ordner = Depack(Archiv + "$" + File + ">", AppPfad, false);
      entpackt = true;
    } else {
      ordner = SoundPfad;
    }
    if (ordner.empty() || !platform::fs::FileExists(ordner + File)) {
      if (DebugModus) DebugLog("Sound Not Found: 0 ");
      AddMsg("Sound Not Found: " + File);
    } else {
      ergebnis = NeuerEintrag(ordner + File, File, Soundbufferdeep);
    }
  } catch (const Err& e) {
    ergebnis = LadeFehlschlag(File, e);
  } catch (const std::bad_alloc&) {
    ergebnis = LadeFehlschlag(File, err::KeinSpeicher());
  } catch (const std::length_error&) {
    ergebnis = LadeFehlschlag(File, err::KeinSpeicher());
  } catch (const std::exception& e) {
    ergebnis = LadeFehlschlag(File, {err::Zugriffsfehler().Nummer, e.what()});
  }
  if (entpackt && !ordner.empty()) KillDir(ordner);
  return ergebnis;
}

void PlaySound(int32_t Nr, int32_t Flag, std::optional<double> Pos, std::optional<double> Volumen,
               std::optional<double> Frequenz, std::optional<double> pan) {
  if (Nr < 0 || Nr > SoundsMax()) {
    DebugLog("Soundplay out of Range");
    return;
  }
  SoundEntry& e = Sounds[static_cast<size_t>(Nr)];
  e.Zeiger += 1;
  if (e.Zeiger > e.KopienMax()) e.Zeiger = 0;
  // A copy that was never created (a load that failed half-way) plays nothing.
  if (e.Zeiger < 0 || static_cast<size_t>(e.Zeiger) >= e.Kopien.size()) return;
  platform::audio::SoundBuffer& kopie = e.Kopien[static_cast<size_t>(e.Zeiger)];
  // Each step may fail (a value out of range, an empty copy); the next one runs anyway.
  if (Pos) {
    int32_t p = CLng(*Pos);
    if (p == 0) kopie.Stop();
    kopie.SetCurrentPosition(p);
  }
  if (Volumen) kopie.SetVolume(CLng(*Volumen));
  if (Frequenz) kopie.SetFrequency(CLng(*Frequenz));
  if (pan) kopie.SetPan(CLng(*pan));
  kopie.Play((Flag & 1) ? platform::audio::kPlayLooping : 0);
}

void StopSound(int32_t Nr) {
  if (Nr < 0 || Nr > SoundsMax()) return;
  for (platform::audio::SoundBuffer& kopie : Sounds[static_cast<size_t>(Nr)].Kopien) kopie.Stop();
}

void StopAllSounds() {
  for (int32_t n = 0; n <= SoundsMax(); ++n) StopSound(n);
}

void Soundclear() {
  DebugLog("Sound Clear");
  StopAllSounds();
  for (SoundEntry& e : Sounds) {
    for (platform::audio::SoundBuffer& kopie : e.Kopien) kopie.Release();
    e.Kopien.clear();
  }
  Sounds.clear();
  FunkStatus.Sound = 0;
}

void SpielSoundOFF() {
  if (!SoundAn) return;
  for (int32_t nr : {SndVPhyYellow, SndYellow, SndCyan, SndCharge[0], SndCharge[1], SndWaterTouch, SndRain,
                     SndWarnung[1], SndWarnung[4], SndYellow2})
    StopSound(nr);
  for (int32_t nr : LevelSounds) StopSound(nr);
}
