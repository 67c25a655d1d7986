#include "shell/archive.hpp"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "platform/bytes.hpp"
#include "platform/fs.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/err.hpp"
#include "shell/timing.hpp"

namespace {

constexpr int32_t kNameMax = 260;                      // longest member name accepted
constexpr int32_t kGroesseMax = 512 * 1024 * 1024;     // largest member a buffer is made for
constexpr size_t kDateinameMax = 255;                  // longest file name the file systems take

const Err kEingabeZuEnde = err::DateiEnde();
const Err kUngueltig = err::UngueltigerAufruf();
const Err kZugriff = err::Zugriffsfehler();
const Err kSpeicher = err::KeinSpeicher();

// Work buffer size for a zlib call: 1 % and 12 bytes above the size, at least zlib's bound.
size_t Puffer(int64_t n) {
  double bound = static_cast<double>(n) + static_cast<double>(n) * 0.01 + 12.0;
  size_t b = static_cast<size_t>(CLng(bound));
  return std::max<size_t>(b, compressBound(static_cast<uLong>(n)));
}

// Inflates into `out`, which grows as the output comes, up to `cap` bytes. The result is
// what zlib's uncompress gives with a buffer of `cap` bytes: Z_OK when the stream ended
// within it, Z_BUF_ERROR when it holds more, Z_DATA_ERROR when it is damaged or cut
// short; and Z_MEM_ERROR when memory runs out. `out` is cut to the output on success.
int InflateBegrenzt(std::span<const uint8_t> in, size_t cap, std::vector<uint8_t>& out) {
  out.clear();
  z_stream s{};
  if (inflateInit(&s) != Z_OK) return Z_MEM_ERROR;
  s.next_in = const_cast<Bytef*>(in.data());
  size_t eingabe = in.size();  // not yet handed to zlib, which takes at most 4 GiB a call
  // Start at what the buffer already holds, or at a guess from the packed size; grow by
  // doubling. A stated size is never trusted for the allocation.
  const size_t start = std::min(cap, std::max({out.capacity(), in.size() * 4, size_t{64} << 10}));
  size_t fertig = 0;
  uint8_t probe = 0;
  int r = Z_OK;
  try {
    for (;;) {
      if (s.avail_in == 0 && eingabe > 0) {
        s.avail_in = static_cast<uInt>(std::min<size_t>(eingabe, UINT32_MAX));
        eingabe -= s.avail_in;
      }
      const bool voll = fertig == cap;  // any more output is too much: one byte tells
      if (!voll && fertig == out.size()) out.resize(std::min(cap, std::max(out.size() * 2, start)));
      const size_t platz = voll ? 1 : std::min<size_t>(out.size() - fertig, UINT32_MAX);
      s.next_out = voll ? &probe : out.data() + fertig;
      s.avail_out = static_cast<uInt>(platz);
      r = inflate(&s, Z_NO_FLUSH);
      const size_t neu = platz - s.avail_out;
      if (voll && neu > 0) {
        r = Z_BUF_ERROR;
        break;
      }
      fertig += voll ? 0 : neu;
      if (r == Z_OK) continue;
      if (r == Z_STREAM_END) r = Z_OK;
      // With room left for output, no progress means the input ran out.
      if (r == Z_BUF_ERROR || r == Z_NEED_DICT) r = Z_DATA_ERROR;
      break;
    }
  } catch (const std::bad_alloc&) {
    r = Z_MEM_ERROR;
  }
  inflateEnd(&s);
  out.resize(r == Z_OK ? fertig : 0);
  return r;
}

// A name that would reach outside the unpack folder.
bool Gefaehrlich(const std::string& name) {
  return name.empty() || name == "." || name.find_first_of(std::string("/\\\0", 3)) != std::string::npos ||
         name.find("..") != std::string::npos;
}

// A member name that cannot be a file of the unpack folder.
bool Unbrauchbar(const std::string& name) { return Gefaehrlich(name) || name.size() > kDateinameMax; }

// The selection of a Depack call: every member, only the listed ones ('>'), or all but
// the listed ones ('<').
class Auswahl {
 public:
  explicit Auswahl(const std::string& Filename) : liste_(GetField(Filename, 2, "$")) {
    if (liste_.find('>') != std::string::npos) {
      modus_ = '>';
    } else if (liste_.find('<') != std::string::npos) {
      modus_ = '<';
    }
    if (modus_) liste_ = UCase(std::string(1, modus_) + liste_);
  }
  bool Will(const std::string& member) const {
    if (!modus_) return true;
    const bool gelistet = liste_.find(UCase(std::string(1, modus_) + member + std::string(1, modus_))) != std::string::npos;
    return modus_ == '>' ? gelistet : !gelistet;
  }

 private:
  std::string liste_;
  char modus_ = 0;
};

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

  // Queues a member for `path`, written first under `temp`; false once a write has failed
  // (nothing more is written then).
  bool Put(std::string path, std::string temp, std::string member, std::vector<uint8_t> data) {
    std::unique_lock<std::mutex> lock(mutex_);
    space_.wait(lock, [&] { return queued_ < kMaxQueued || jobs_.empty() || !failed_.empty(); });
    if (!failed_.empty()) return false;
    queued_ += data.size();
    jobs_.push_back({std::move(path), std::move(temp), std::move(member), std::move(data)});
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
    std::string path, temp, member;
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
      bool ok = platform::fs::exact::WriteAll(job.temp, job.data.data(), job.data.size()) &&
                platform::fs::exact::Rename(job.temp, job.path);
      if (!ok) platform::fs::exact::DeleteFile(job.temp);
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

// Puts the members into the unpack folder through the writer thread. Each is written
// under a short temporary name in "Harvo\" first, beside the unpack folders and never
// among the members: a member of the longest name, or one named like a temporary file,
// is written all the same.
class Ablage : public UnpackSink {
 public:
  Ablage(std::string ordner, std::string harvo) : ordner_(std::move(ordner)), harvo_(std::move(harvo)) {}
  bool Wanted(const std::string& member) override {
    // An earlier unpack's file is used as it is.
    const std::string ziel = ordner_ + member;
    return !geschrieben_.count(ziel) && !platform::fs::exact::FileExists(ziel);
  }
  std::vector<uint8_t> Buffer() override { return schreiber_.TakeBuffer(); }
  bool Put(const std::string& member, std::vector<uint8_t> contents) override {
    const std::string ziel = ordner_ + member;
    geschrieben_.insert(ziel);
    return schreiber_.Put(ziel, harvo_ + ".part" + std::to_string(++nummer_), member, std::move(contents));
  }
  bool Finish(std::string& failedMember) { return schreiber_.Finish(failedMember); }

 private:
  std::string ordner_, harvo_;
  MemberWriter schreiber_;
  std::set<std::string> geschrieben_;  // members already on their way to the disk
  uint64_t nummer_ = 0;
};

// Inflates a name or a member's data and sets the globals as UncompressBytes does.
int32_t Entpacken(std::span<const uint8_t> gepackt, int32_t groesse, std::vector<uint8_t>& out) {
  ZLibErgebnis = InflateMember(gepackt, groesse, out);
  if (ZLibErgebnis == Z_OK) ZLibGepacktGroesse = ZLibOriginalGroesse = 0;
  return ZLibErgebnis;
}

std::string HarvoOrdner() {
  const std::string temp = GetTempFolder();
  return temp.empty() ? std::string() : temp + "Harvo\\";
}

}  // namespace

std::string GetTempFolder() {
  std::string temp = platform::fs::PrivateTempFolder();
  // No system temporary folder of our own (a link in its place, no right to write):
  // a private one in the per-user folder serves, never the working folder.
  if (temp.empty() && !DatenOrdner.empty()) temp = platform::fs::PrivateFolder(platform::fs::Resolve(DatenOrdner + "tmp"));
  return temp;
}

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

int32_t UncompressBytes(std::vector<uint8_t>& Data, int32_t OrigSize) {
  if (OrigSize < 0 || OrigSize > kGroesseMax) return ZLibErgebnis = Z_BUF_ERROR;
  std::vector<uint8_t> out;
  ZLibErgebnis = InflateBegrenzt(Data, Puffer(OrigSize), out);
  if (ZLibErgebnis != Z_OK) return ZLibErgebnis;  // on an error the data stay as they were
  Data.swap(out);
  ZLibGepacktGroesse = 0;
  ZLibOriginalGroesse = 0;
  return ZLibErgebnis;
}

int32_t InflateMember(std::span<const uint8_t> packed, int32_t size, std::vector<uint8_t>& out) {
  out.clear();
  if (size < 0) return Z_DATA_ERROR;
  int r = InflateBegrenzt(packed, static_cast<size_t>(size), out);
  if (r == Z_BUF_ERROR || (r == Z_OK && out.size() != static_cast<size_t>(size))) r = Z_DATA_ERROR;
  if (r != Z_OK) out.clear();
  return r;
}

bool WalkArchive(std::span<const uint8_t> archive, const std::function<bool(const ArchiveEntry&)>& each,
                 ArchiveError& error) {
  platform::ByteReader in(archive);
  ArchiveEntry e;
  std::vector<uint8_t> name;
  auto fehler = [&](const Err& f) {
    error = {f, e.name};
    return false;
  };
  // Reads a length and checks it against its limit.
  auto laenge = [&](int32_t grenze, int32_t& wert) {
    wert = in.Int32();
    if (!in.Ok()) return fehler(kEingabeZuEnde);
    if (wert < 0 || wert > grenze) return fehler(kUngueltig);
    return true;
  };
  while (in.Remaining() > 0) {
    if (!laenge(kNameMax, ZLibOriginalGroesse) || !laenge(kGroesseMax, ZLibGepacktGroesse)) return false;
    const int32_t nameRoh = ZLibOriginalGroesse;
    std::span<const uint8_t> nameGepackt = in.Block(static_cast<size_t>(ZLibGepacktGroesse));
    if (!in.Ok()) return fehler(kEingabeZuEnde);
    if (Entpacken(nameGepackt, nameRoh, name) != Z_OK) return fehler(kUngueltig);
    // The name as stored on disk: German umlauts and ß spelt out.
    e.name = UmlauteAusschreiben(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));

    if (!laenge(kGroesseMax, ZLibOriginalGroesse) || !laenge(kGroesseMax, ZLibGepacktGroesse)) return false;
    e.size = ZLibOriginalGroesse;
    e.packed = in.Block(static_cast<size_t>(ZLibGepacktGroesse));
    if (!in.Ok()) return fehler(kEingabeZuEnde);
    if (!each(e)) return true;
  }
  return true;
}

bool UnpackBytes(std::span<const uint8_t> bytes, const std::string& Filename, UnpackSink& sink, ArchiveError& error) {
  const Auswahl auswahl(Filename);
  bool ok = true;
  bool gelesen = WalkArchive(
      bytes,
      [&](const ArchiveEntry& e) {
        if (!auswahl.Will(e.name)) return true;  // skipped without inflating
        if (Unbrauchbar(e.name)) {
          DebugLogWennAn("Unzulaessiger Name im Archiv: " + e.name);
          return true;
        }
        if (!sink.Wanted(e.name)) return true;
        std::vector<uint8_t> inhalt = sink.Buffer();
        const int32_t r = Entpacken(e.packed, e.size, inhalt);
        if (r == Z_MEM_ERROR) {
          error = {kSpeicher, e.name};
          return ok = false;
        }
        if (r != Z_OK) {
          DebugLogWennAn("Fehler beim Entpacken (" + Filename + " - " + e.name + " - defekter Inhalt)");
          return true;
        }
        return sink.Put(e.name, std::move(inhalt));
      },
      error);
  return gelesen && ok;
}

std::string Depack(const std::string& Filename, const std::string& Path, bool UpdateFilenameDatabase) {
  const std::string archiv = GetField(Filename, 1, "$");
  const std::string temp = GetTempFolder();
  const std::string harvo = temp + "Harvo\\";
  const std::string ordner = harvo + archiv + "dir\\";

  DebugLogWennAn("Entpacke " + Filename + ", " + BoolText(UpdateFilenameDatabase));
  if (UpdateFilenameDatabase) EntpackListe.push_back(archiv + "$" + Path);

  ArchiveError fehler;
  auto scheitern = [&](const Err& f, const std::string& member) {
    fehler = {f, member};
    return false;
  };
  auto entpacken = [&] {
    // An archive name is a plain file name; anything else would unpack outside our folder.
    if (Gefaehrlich(archiv)) return scheitern({52, "Bad file name or number"}, "");
    // Without a private temporary folder nothing is unpacked: the folder would lie in
    // the working folder.
    if (temp.empty()) return scheitern(kZugriff, "");
    platform::fs::MakeDir(harvo);
    platform::fs::MakeDir(ordner);
    std::vector<uint8_t> bytes;
    if (!platform::fs::ReadAll(Path + "Data\\" + archiv, bytes)) return scheitern({53, "File not found"}, "");
    // Members are written under their exact names into the folder found once here.
    Ablage ablage(platform::fs::Resolve(ordner), platform::fs::Resolve(harvo));
    const bool ok = UnpackBytes(bytes, Filename, ablage, fehler);
    std::string fehlgeschlagen;
    if (!ablage.Finish(fehlgeschlagen)) return scheitern(kZugriff, fehlgeschlagen);
    return ok;
  };
  if (!entpacken())
    DebugLogWennAn("Fehler beim Entpacken (" + Filename + " - " + fehler.member + " - " + std::to_string(fehler.Nummer) +
                   " " + fehler.Beschreibung + ")");
  return ordner;
}

void KillDir(const std::string& D) {
  MyDoEvents();
  DebugLogWennAn("L\xF6sche entpackte Verzeichnisse");
  // Only unpack folders of our own temporary folder are ever deleted.
  const std::string harvoOrdner = HarvoOrdner();
  std::string harvo = harvoOrdner.empty() ? std::string() : platform::fs::Resolve(harvoOrdner);
  std::string ziel = platform::fs::Resolve(D);
  if (!platform::fs::EndsInSeparator(ziel)) ziel += '/';
  if (harvo.empty() || ziel.size() <= harvo.size() || ziel.compare(0, harvo.size(), harvo) != 0 ||
      ziel.find("/../") != std::string::npos) {
    DebugLogWennAn({"Konnte nicht l\xF6schen: ", LogPfad(D)});
    return;
  }

  int versuche = 0;
  for (const std::string& name : platform::fs::ListFiles(ziel)) {
    while (!platform::fs::exact::DeleteFile(ziel + name)) {
      DebugLogWennAn({"Konnte nicht l\xF6schen: ", LogSystemtext(name)});
      if (versuche >= 10) break;
      ++versuche;
    }
  }

  versuche = 0;
  bool fehlgeschlagen = false;
  do {
    if (fehlgeschlagen) {
      Wait(10);
      if (versuche == 1) DebugLogWennAn({"Konnte nicht l\xF6schen: ", LogPfad(D)});
    }
    fehlgeschlagen = !platform::fs::RemoveDir(ziel);
    ++versuche;
  } while (fehlgeschlagen && versuche < 10 && Spielstatus != 10);
  if (versuche > 1) DebugLog("Trys: " + std::to_string(versuche));

  if (!harvoOrdner.empty()) platform::fs::RemoveDir(harvoOrdner);
}
