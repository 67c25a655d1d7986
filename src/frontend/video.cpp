#include "frontend/video.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/surfaces.hpp"
#include "platform/clock.hpp"
#include "platform/fs.hpp"
#include "platform/mixer.hpp"
#include "platform/video.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"

namespace {

namespace a = platform::audio;

constexpr int32_t kTaste9 = 10;  // main-row digits by their key codes
constexpr int32_t kTaste0 = 11;
constexpr int32_t kTasteF4 = 62, kAltLinks = 56, kAltRechts = 184;
constexpr int64_t kRuheMs = 10;             // the longest rest between two passes
constexpr double kTonVoraus = 0.2;          // seconds of sound handed to the mixer ahead
constexpr double kTonVerfall = 0.5;         // sound older than this behind the clock is dropped
constexpr size_t kTonPlatz = a::kOutputRate;  // room in the mixer's stream: one second
constexpr int64_t kFreigabeRuheMs = 5;      // rest while waiting for the pause key's release

// The playback objects of one call, in place of the filter graph and its interfaces.
struct Graph {
  std::unique_ptr<platform::video::Decoder> decoder;
  std::unique_ptr<a::AudioStream> stream;
  RECT fenster = VollbildRect;
  // The playback clock: milliseconds played before the last start, and when that was.
  int64_t gespielt = 0;
  int64_t seit = 0;
  bool laeuft = false;
  // The picture decoded and waiting for its time; the decoder has given its last.
  bool bildWartet = false;
  bool decoderEnde = false;
  double ende = 0;  // seconds: where the last picture shown stops showing
  // Decoded sound from `klangZeit` on, `geschrieben` of its frames handed to the mixer.
  std::vector<float> klang;
  double klangZeit = 0;
  size_t geschrieben = 0;
};

// Any step that needs the graph when there is none fails as a missing object does.
platform::video::Decoder& Dec(Graph& g) {
  if (!g.decoder) throw Err{91, "Object variable or With block variable not set"};
  return *g.decoder;
}

// One step of the playback: a failure is logged and the next step runs.
template <class F>
void Schritt(F&& anweisung) {
  try {
    anweisung();
  } catch (const Err& e) {
    DebugLog("Video: " + std::to_string(e.Nummer) + " - " + e.Beschreibung);
  }
}

int64_t Jetzt() { return static_cast<int64_t>(platform::TickCount()); }

double Uhr(const Graph& g) {
  return static_cast<double>(g.gespielt + (g.laeuft ? Jetzt() - g.seit : 0)) / 1000.0;
}

void Starten(Graph& g) {
  if (g.laeuft) return;
  g.seit = Jetzt();
  g.laeuft = true;
}

void Anhalten(Graph& g) {
  if (!g.laeuft) return;
  g.gespielt += Jetzt() - g.seit;
  g.laeuft = false;
  // What the mixer holds ahead is taken back: it is handed over again on resuming.
  if (g.stream) {
    g.stream->Clear();
    const double da = (Uhr(g) - g.klangZeit) * a::kOutputRate;
    g.geschrieben = std::min(g.klang.size() / 2, static_cast<size_t>(std::max(0.0, da)));
  }
}

// Step 4: the small videos have "Low" before the extension.
std::string KleinerName(const std::string& Filename) {
  if (!VideoKlein) return Filename;
  return Filename.substr(0, Filename.size() >= 4 ? Filename.size() - 4 : 0) + "Low.avi";
}

// Step 5 for the video folder: the English small intro falls back to the German one.
std::string OrdnerName(const std::string& Filename) {
  if (SameText(Filename, "IntroELow.avi") && !platform::fs::FileExists(VideoPfad + Filename)) return "IntroDLow.avi";
  return Filename;
}

// The sound decoded so far joins the queue; what lies far behind the clock is dropped
// (nobody takes it when there is no sound device).
void TonSammeln(Graph& g) {
  double start = 0;
  std::vector<float> neu = g.decoder->TakeSound(start);
  if (neu.empty()) return;
  if (g.klang.empty()) {
    g.klangZeit = start;
    g.geschrieben = 0;
  }
  g.klang.insert(g.klang.end(), neu.begin(), neu.end());
}

void TonFuettern(Graph& g) {
  if (!g.stream || !g.laeuft) return;
  const double uhr = Uhr(g);
  const size_t frames = g.klang.size() / 2;
  const double alt = (uhr - kTonVerfall - g.klangZeit) * a::kOutputRate;
  if (alt > static_cast<double>(a::kOutputRate)) {
    // Trimmed a second at a time, so the queue is not moved on every pass.
    const size_t weg = std::min({frames, g.geschrieben, static_cast<size_t>(alt)});
    g.klang.erase(g.klang.begin(), g.klang.begin() + static_cast<std::ptrdiff_t>(weg * 2));
    g.klangZeit += static_cast<double>(weg) / a::kOutputRate;
    g.geschrieben -= weg;
  }
  const double bis = (uhr + kTonVoraus - g.klangZeit) * a::kOutputRate;
  const size_t ziel = std::min(g.klang.size() / 2, static_cast<size_t>(std::max(0.0, bis)));
  // Frames already behind the clock are no use to the mixer.
  const double hinten = (uhr - g.klangZeit) * a::kOutputRate;
  if (hinten > static_cast<double>(g.geschrieben) + a::kOutputRate * 0.05)
    g.geschrieben = std::min(ziel, static_cast<size_t>(hinten));
  if (ziel > g.geschrieben)
    g.geschrieben += g.stream->Write(g.klang.data() + g.geschrieben * 2, ziel - g.geschrieben);
}

// The picture whose time has come is drawn and shown, and the next one is decoded.
void Bild(Graph& g) {
  platform::video::Decoder& d = Dec(g);
  if (g.bildWartet && d.PictureTime() <= Uhr(g)) {
    g.bildWartet = false;
    g.ende = std::max(g.ende, d.PictureTime() + d.PictureLength());
    if (BackBuffer) {
      d.DrawPicture(*BackBuffer, g.fenster);
      Flip(false);
    }
  }
  if (g.bildWartet || g.decoderEnde) return;
  g.bildWartet = d.NextPicture();
  g.decoderEnde = !g.bildWartet;
  // Nothing more is decoded before this picture is due, while the mixer is fed ahead of
  // the clock all that time.
  if (g.bildWartet) d.ReadSoundAhead(d.PictureTime() + kTonVoraus);
  TonSammeln(g);
  if (g.decoderEnde && d.LastError().number != 0) throw Err{d.LastError().number, d.LastError().text};
}

// The video has run to the end of its stream: its last picture and its sound are over.
bool Laeuft(const Graph& g) {
  if (!g.decoder) return false;
  if (!g.decoderEnde || g.bildWartet) return true;
  const double tonEnde = g.klangZeit + static_cast<double>(g.klang.size() / 2) / a::kOutputRate;
  return Uhr(g) < std::max(g.ende, g.stream ? tonEnde : 0.0);
}

// A rest until the next picture is due, at most a few milliseconds, so the keys stay
// quick.
void Ruhen(const Graph& g) {
  int64_t ruhe = kRuheMs;
  if (g.laeuft && g.bildWartet && g.decoder) {
    const double bis = (g.decoder->PictureTime() - Uhr(g)) * 1000.0;
    // At least a millisecond: a picture due within it would otherwise be waited for
    // by spinning without a rest.
    ruhe = std::clamp<int64_t>(static_cast<int64_t>(std::ceil(bis)), 1, kRuheMs);
  }
  platform::SpinUntil(static_cast<uint64_t>(Jetzt() + ruhe));
}

void Abspielen(Graph& g) {
  bool escape = false;
  do {
    DInputPoll();
    MyDoEvents();
    // Keys 7 and 8 gave the keyboard to one window or the other; here the game window
    // always has it.
    if (KeyState[kTaste9]) Anhalten(g);
    if (KeyState[kTaste0]) Starten(g);
    // Alt+F4 while the video has the keyboard quits, as the close box does.
    if (KeyState[kTasteF4] && (KeyState[kAltLinks] || KeyState[kAltRechts])) Spielstatus = 10;
    Schritt([&] { Bild(g); });
    Schritt([&] { TonFuettern(g); });
    escape = TasteEscape();
    if (Spielstatus != 10 && Laeuft(g) && !escape) Ruhen(g);
  } while (Spielstatus != 10 && Laeuft(g) && !escape);
}

}  // namespace

void PlayAVIFile(const std::string& FilenameIn, const std::string& Archiv) {
  if (Spielstatus == 10 || !VideoAn) return;
  SetNormalPriority();
  ForceStop(0);
  ForceStop(1);
  // The picture is drawn into the back buffer like any other frame: there is no GDI
  // surface to hand the screen to.
  if (!FensterModus) DebugLog("Video: FlipToGDI");

  std::string Filename = KleinerName(FilenameIn);
  std::string ordner;
  Schritt([&] {
    if (!Archiv.empty()) {
      ordner = Depack(Archiv + "$" + Filename + ">", DatenPfad, false);
    } else {
      ordner = VideoPfad;
      Filename = OrdnerName(Filename);
    }
  });

  Graph g;
  DebugLog({"Video: Render (", LogPfad(ordner + Filename), ")"});
  Schritt([&] {
    platform::video::Error fehler;
    g.decoder = platform::video::Decoder::Open(ordner + Filename, fehler);
    if (!g.decoder) throw Err{fehler.number, fehler.text};
  });
  DebugLog("Video: Soundsetup");
  Schritt([&] {
    Dec(g);
    if (!g.decoder->HasSound()) return;
    g.stream = std::make_unique<a::AudioStream>(kTonPlatz);
    // Videos play at full volume, whatever the music and effect volumes are.
    g.stream->SetGain(SoundAn ? a::VolumeGain(a::kVolumeMax) : 0.0f);
  });
  DebugLog("Video: Video");
  DebugLog("Video: Window");
  // The window shows the back buffer scaled over its inner area, so the picture filling
  // the back buffer fills the window at any size.
  Schritt([&] { Dec(g); });
  DebugLog("Video: Media");
  Schritt([&] {
    Dec(g);
    g.gespielt = 0;
  });
  DebugLog("Video: Play");
  Schritt([&] {
    Dec(g);
    Starten(g);
  });
  DebugLog("Video: Playing");

  Abspielen(g);

  DebugLog("Video: Unload");
  g.stream.reset();
  g.decoder.reset();
  SetHighPriority();
  // The next screen never starts with the key that ended the video still held.
  while (TasteEscape() && Spielstatus != 10) {
    DInputPoll();
    MyDoEvents();
    platform::SpinUntil(static_cast<uint64_t>(Jetzt() + kFreigabeRuheMs));
  }
  DebugLog("Video: Fine");
  if (!Archiv.empty() && !ordner.empty()) KillDir(ordner);
}
