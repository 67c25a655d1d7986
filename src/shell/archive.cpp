#include "shell/archive.hpp"

#include <zlib.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "platform/fs.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/program_state.hpp"
#include "shell/timing.hpp"

namespace {

constexpr int32_t kNameMax = 260;                      // longest member name accepted
constexpr int32_t kGroesseMax = 512 * 1024 * 1024;     // largest member a buffer is made for

struct DepackFehler {
  int nummer;
  std::string text;
};

struct Datei {
  FILE* f = nullptr;
  ~Datei() {
    if (f) fclose(f);
  }
};

// Work buffer size for a zlib call: 1 % and 12 bytes above the size, at least zlib's bound.
size_t Puffer(int64_t n) {
  double bound = static_cast<double>(n) + static_cast<double>(n) * 0.01 + 12.0;
  size_t b = static_cast<size_t>(CLng(bound));
  return std::max<size_t>(b, compressBound(static_cast<uLong>(n)));
}

int32_t Lies32(FILE* f, int64_t& rest) {
  uint8_t b[4];
  if (rest < 4 || fread(b, 1, 4, f) != 4) throw DepackFehler{62, "Input past end of file"};
  rest -= 4;
  return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

void PruefeLaenge(int32_t laenge, int32_t grenze) {
  if (laenge < 0 || laenge > grenze) throw DepackFehler{5, "Invalid procedure call or argument"};
}

void LiesBytes(FILE* f, int32_t n, int64_t& rest, std::vector<uint8_t>& buf) {
  if (n < 0 || n > rest) throw DepackFehler{62, "Input past end of file"};
  buf.resize(static_cast<size_t>(n));
  if (n > 0 && fread(buf.data(), 1, buf.size(), f) != buf.size()) throw DepackFehler{62, "Input past end of file"};
  rest -= n;
}

// The name as stored on disk: German umlauts and ß spelt out.
std::string Umschreiben(const std::vector<uint8_t>& roh) {
  std::string name;
  for (uint8_t c : roh) {
    switch (c) {
      case 252: name += "ue"; break;
      case 220: name += "Ue"; break;
      case 228: name += "ae"; break;
      case 196: name += "Ae"; break;
      case 246: name += "oe"; break;
      case 214: name += "Oe"; break;
      case 223: name += "ss"; break;
      default: name += static_cast<char>(c);
    }
  }
  return name;
}

// A name that would reach outside the unpack folder.
bool Gefaehrlich(const std::string& name) {
  return name.empty() || name.find_first_of(std::string("/\\\0", 3)) != std::string::npos ||
         name.find("..") != std::string::npos;
}


// Writes the unpacked members on a second thread while the next one is decompressed, so
// the file system's work hardly adds to the unpack time. Each member goes to a temporary
// name first and is renamed when complete: a crash never leaves a cut file behind that a
// later unpack would take as whole. `Depack` waits for the writer before it returns.
class MemberWriter {
 public:
  MemberWriter() : thread_([this] { Run(); }) {}
  ~MemberWriter() {
    std::string ignored;
    Finish(ignored);
  }

  // Queues a member; false once a write has failed (nothing more is written then).
  bool Put(std::string path, std::string member, std::vector<uint8_t> data) {
    std::unique_lock<std::mutex> lock(mutex_);
    space_.wait(lock, [&] { return queued_ < kMaxQueued || jobs_.empty() || !failed_.empty(); });
    if (!failed_.empty()) return false;
    queued_ += data.size();
    jobs_.push_back({std::move(path), std::move(member), std::move(data)});
    work_.notify_one();
    return true;
  }

  // A buffer for the next member: one the writer is done with, so its memory is reused.
  std::vector<uint8_t> TakeBuffer() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (spare_.empty()) return {};
    std::vector<uint8_t> b = std::move(spare_.back());
    spare_.pop_back();
    return b;
  }

  // Waits until everything queued is on disk; false with the failed member's name when a
  // write failed.
  bool Finish(std::string& failedMember) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      done_ = true;
      work_.notify_one();
    }
    if (thread_.joinable()) thread_.join();
    failedMember = failed_;
    return failed_.empty();
  }

 private:
  static constexpr size_t kMaxQueued = 64u << 20;
  struct Job {
    std::string path, member;
    std::vector<uint8_t> data;
  };

  void Run() {
    for (;;) {
      Job job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        work_.wait(lock, [&] { return !jobs_.empty() || done_; });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      std::string temp = job.path + ".part";
      bool ok = platform::fs::exact::WriteAll(temp, job.data.data(), job.data.size()) &&
                platform::fs::exact::Rename(temp, job.path);
      if (!ok) platform::fs::exact::DeleteFile(temp);
      std::unique_lock<std::mutex> lock(mutex_);
      queued_ -= job.data.size();
      if (spare_.size() < 4) spare_.push_back(std::move(job.data));
      if (!ok && failed_.empty()) {
        failed_ = job.member;
        jobs_.clear();
      }
      space_.notify_one();
    }
  }

  std::mutex mutex_;
  std::condition_variable work_, space_;
  std::deque<Job> jobs_;
  std::vector<std::vector<uint8_t>> spare_;
  size_t queued_ = 0;
  bool done_ = false;
  std::string failed_;
  std::thread thread_;
};

std::string HarvoOrdner() { return GetTempFolder() + "Harvo\\"; }

}  // namespace

std::string GetTempFolder() { return platform::fs::PrivateTempFolder(); }

int32_t CompressBytes(std::vector<uint8_t>& Data) {
  ZLibOriginalGroesse = static_cast<int32_t>(Data.size());
  std::vector<uint8_t> out(Puffer(static_cast<int64_t>(Data.size())) + 1);
  uLongf len = static_cast<uLongf>(out.size() - 1);
  ZLibErgebnis = compress(out.data(), &len, Data.data(), static_cast<uLong>(Data.size()));
  if (ZLibErgebnis != Z_OK) return ZLibErgebnis;  // the data stay as they were
  out.resize(len);
  Data.swap(out);
  ZLibGepacktGroesse = static_cast<int32_t>(Data.size());
  return ZLibErgebnis;
}

namespace {

// Decompresses `n` bytes into `out` (a work buffer that keeps its memory from call to
// call) and cuts it to the length zlib reports. Sets the globals as UncompressBytes does.
int32_t Entpacken(const uint8_t* src, size_t n, int32_t OrigSize, std::vector<uint8_t>& out) {
  if (OrigSize < 0 || OrigSize > kGroesseMax) {
    ZLibErgebnis = Z_BUF_ERROR;
    return ZLibErgebnis;
  }
  size_t bound = Puffer(OrigSize);
  if (out.size() < bound + 1) out.resize(bound + 1);
  uLongf len = static_cast<uLongf>(bound);
  ZLibErgebnis = uncompress(out.data(), &len, src, static_cast<uLong>(n));
  if (ZLibErgebnis != Z_OK) return ZLibErgebnis;
  out.resize(len);
  ZLibGepacktGroesse = 0;
  ZLibOriginalGroesse = 0;
  return ZLibErgebnis;
}

}  // namespace

int32_t UncompressBytes(std::vector<uint8_t>& Data, int32_t OrigSize) {
  std::vector<uint8_t> out;
  int32_t r = Entpacken(Data.data(), Data.size(), OrigSize, out);
  if (r == Z_OK) Data.swap(out);  // on an error the data stay as they were
  return r;
}

std::string Depack(const std::string& Filename, const std::string& Path, bool UpdateFilenameDatabase) {
  std::string liste = GetField(Filename, 2, "$");
  char modus = 0;  // 0 every member, '>' only the listed, '<' all but the listed
  if (liste.find('>') != std::string::npos) {
    modus = '>';
  } else if (liste.find('<') != std::string::npos) {
    modus = '<';
  }
  if (modus) liste = UCase(std::string(1, modus) + liste);
  std::string archiv = GetField(Filename, 1, "$");
  std::string ordner = HarvoOrdner() + archiv + "dir\\";

  DebugLogWennAn("Entpacke " + Filename + ", " + BoolText(UpdateFilenameDatabase));
  if (UpdateFilenameDatabase) EntpackListe.push_back(archiv + "$" + Path);

  std::string member;
  Datei archivDatei;
  std::vector<uint8_t> gepacktPuffer, name;  // reused for every member
  MemberWriter schreiber;
  std::set<std::string> geschrieben;  // members already on their way to the disk
  try {
    // An archive name is a plain file name; anything else would unpack outside our folder.
    if (Gefaehrlich(archiv)) throw DepackFehler{52, "Bad file name or number"};
    platform::fs::MakeDir(HarvoOrdner());
    platform::fs::MakeDir(ordner);
    // Members are written under their exact names into the folder found once here.
    std::string echterOrdner = platform::fs::Resolve(ordner);
    archivDatei.f = fopen(platform::fs::Resolve(Path + "Data\\" + archiv).c_str(), "rb");
    if (!archivDatei.f) throw DepackFehler{53, "File not found"};
    FILE* f = archivDatei.f;
    fseek(f, 0, SEEK_END);
    int64_t rest = ftell(f);
    fseek(f, 0, SEEK_SET);
    while (rest > 0) {
      ZLibOriginalGroesse = Lies32(f, rest);
      ZLibGepacktGroesse = Lies32(f, rest);
      PruefeLaenge(ZLibOriginalGroesse, kNameMax);
      PruefeLaenge(ZLibGepacktGroesse, kGroesseMax);
      LiesBytes(f, ZLibGepacktGroesse, rest, gepacktPuffer);
      int32_t nameRoh = ZLibOriginalGroesse;
      if (Entpacken(gepacktPuffer.data(), gepacktPuffer.size(), nameRoh, name) != Z_OK ||
          static_cast<int32_t>(name.size()) != nameRoh)
        throw DepackFehler{5, "Invalid procedure call or argument"};
      member = Umschreiben(name);

      ZLibOriginalGroesse = Lies32(f, rest);
      ZLibGepacktGroesse = Lies32(f, rest);
      PruefeLaenge(ZLibOriginalGroesse, kGroesseMax);
      PruefeLaenge(ZLibGepacktGroesse, kGroesseMax);
      int32_t roh = ZLibOriginalGroesse, gepackt = ZLibGepacktGroesse;
      if (gepackt > rest) throw DepackFehler{62, "Input past end of file"};

      bool gewollt = true;
      std::string schluessel = UCase(std::string(1, modus) + member + std::string(1, modus));
      if (modus == '>') gewollt = liste.find(schluessel) != std::string::npos;
      if (modus == '<') gewollt = liste.find(schluessel) == std::string::npos;
      if (gewollt && Gefaehrlich(member)) {
        DebugLogWennAn("Unzulaessiger Name im Archiv: " + member);
        gewollt = false;
      }
      if (!gewollt) {
        fseek(f, gepackt, SEEK_CUR);
        rest -= gepackt;
        continue;
      }
      LiesBytes(f, gepackt, rest, gepacktPuffer);
      std::string ziel = echterOrdner + member;
      // An earlier unpack's file is used as it is.
      if (geschrieben.count(ziel) || platform::fs::exact::FileExists(ziel)) continue;
      std::vector<uint8_t> inhalt = schreiber.TakeBuffer();
      if (Entpacken(gepacktPuffer.data(), gepacktPuffer.size(), roh, inhalt) != Z_OK ||
          static_cast<int32_t>(inhalt.size()) != roh) {
        DebugLogWennAn("Fehler beim Entpacken (" + Filename + " - " + member + " - defekter Inhalt)");
        continue;
      }
      geschrieben.insert(ziel);
      if (!schreiber.Put(ziel, member, std::move(inhalt))) break;
    }
    std::string fehlgeschlagen;
    if (!schreiber.Finish(fehlgeschlagen)) {
      member = fehlgeschlagen;
      throw DepackFehler{75, "Path/File access error"};
    }
  } catch (const DepackFehler& e) {
    DebugLogWennAn("Fehler beim Entpacken (" + Filename + " - " + member + " - " + std::to_string(e.nummer) + " " + e.text +
        ")");
  }
  return ordner;
}

void KillDir(const std::string& D) {
  MyDoEvents();
  DebugLogWennAn("L\xF6sche entpackte Verzeichnisse");
  // Only unpack folders of our own temporary folder are ever deleted.
  std::string harvo = platform::fs::Resolve(HarvoOrdner());
  std::string ziel = platform::fs::Resolve(D);
  if (!platform::fs::EndsInSeparator(ziel)) ziel += '/';
  if (harvo.empty() || ziel.size() <= harvo.size() || ziel.compare(0, harvo.size(), harvo) != 0 ||
      ziel.find("/../") != std::string::npos) {
    DebugLogWennAn("Konnte nicht l\xF6schen: " + D);
    return;
  }

  int versuche = 0;
  for (const std::string& name : platform::fs::ListFiles(ziel)) {
    while (!platform::fs::exact::DeleteFile(ziel + name)) {
      DebugLogWennAn("Konnte nicht l\xF6schen: " + name);
      if (versuche >= 10) break;
      ++versuche;
    }
  }

  versuche = 0;
  bool fehlgeschlagen = false;
  do {
    if (fehlgeschlagen) {
      Wait(10);
      if (versuche == 1) DebugLogWennAn("Konnte nicht l\xF6schen: " + D);
    }
    fehlgeschlagen = !platform::fs::RemoveDir(ziel);
    ++versuche;
  } while (fehlgeschlagen && versuche < 10 && Spielstatus != 10);
  if (versuche > 1) DebugLog("Trys: " + std::to_string(versuche));

  platform::fs::RemoveDir(HarvoOrdner());
}
