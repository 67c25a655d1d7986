#include "shell/archive.hpp"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "platform/bytes.hpp"
#include "platform/copy_folder.hpp"
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

// The most a zlib stream of `n` bytes can inflate to: deflate packs at most 1032 to 1.
size_t Hoechstens(size_t n) {
  constexpr size_t kVerhaeltnis = 1032, kRest = 64 << 10;
  return n > (SIZE_MAX - kRest) / kVerhaeltnis ? SIZE_MAX : n * kVerhaeltnis + kRest;
}

// Inflates into `out`, up to `cap` bytes. The result is
// what zlib's uncompress gives with a buffer of `cap` bytes: Z_OK when the stream ended
// within it, Z_BUF_ERROR when it holds more, Z_DATA_ERROR when it is damaged or cut
// short; and Z_MEM_ERROR when memory runs out. `out` is cut to the output on success.
int InflateBegrenzt(std::span<const uint8_t> in, size_t cap, std::vector<uint8_t>& out) {
  out.clear();
  // The buffer is made once at the size the stream can really fill (or the memory it
  // already holds), so a large member never costs the old and the grown buffer at once;
  // a stated size alone is never trusted for the allocation.
  const size_t start = std::min(cap, std::max(out.capacity(), Hoechstens(in.size())));
  if (start > out.capacity()) std::vector<uint8_t>().swap(out);
  z_stream s{};
  if (inflateInit(&s) != Z_OK) return Z_MEM_ERROR;
  s.next_in = const_cast<Bytef*>(in.data());
  size_t eingabe = in.size();  // not yet handed to zlib, which takes at most 4 GiB a call
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
//
// The members waiting to be written hold at most a few megabytes, or a single member
// when it is larger: memory stays near the largest member, however large the archive.
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
    space_.wait(lock, [&] { return Room(data.capacity()); });
    if (!failed_.empty()) return false;
    queued_ += data.capacity();
    jobs_.push_back({std::move(path), std::move(temp), std::move(member), std::move(data)});
    work_.notify_one();
    return true;
  }

  // A buffer for a member of at most `size` bytes, once the writer has room for it: one
  // the writer is done with, so its memory is reused.
  std::vector<uint8_t> TakeBuffer(size_t size) {
    std::unique_lock<std::mutex> lock(mutex_);
    space_.wait(lock, [&] { return Room(size); });
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
  static constexpr size_t kMaxQueued = 16u << 20;
  struct Job {
    std::string path, temp, member;
    std::vector<uint8_t> data;
  };

  // Room for `bytes` more: within the limit, or nothing held at all.
  bool Room(size_t bytes) const { return queued_ == 0 || queued_ + bytes <= kMaxQueued || !failed_.empty(); }

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
      bool ok = platform::fs::exact::WriteNew(job.temp, job.data.data(), job.data.size()) &&
                platform::fs::exact::Rename(job.temp, job.path);
      if (!ok) platform::fs::exact::DeleteFile(job.temp);
      std::unique_lock<std::mutex> lock(mutex_);
      queued_ -= job.data.capacity();
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

// The members this run has unpacked (their files' paths) and not deleted since: a second
// unpack into the same folder uses them as they are. A file of such a name that is not
// among them was left by another run, perhaps one ended halfway, and is written anew.
std::set<std::string>& Entpackt() {
  static std::set<std::string> dateien;
  return dateien;
}

// Forgets the members of the folder `ordner` (a resolved path ending in '/').
void Vergessen(const std::string& ordner) {
  std::set<std::string>& e = Entpackt();
  for (auto it = e.lower_bound(ordner); it != e.end() && it->compare(0, ordner.size(), ordner) == 0;) it = e.erase(it);
}

// The temporary names of the members being written: ".part", this process's number and
// a count, so that a forked child, which goes on in its parent's folder, never writes
// into the parent's.
constexpr const char* kTeilPraefix = ".part";

// Puts the members into the unpack folder through the writer thread. Each is written
// under a short temporary name in "Harvo\" first, beside the unpack folders and never
// among the members: a member of the longest name, or one named like a temporary file,
// is written all the same.
class Ablage : public UnpackSink {
 public:
  Ablage(std::string ordner, std::string harvo)
      : ordner_(std::move(ordner)), teil_(std::move(harvo) + kTeilPraefix + std::to_string(getpid()) + ".") {}
  bool Wanted(const std::string& member) override {
    const std::string ziel = ordner_ + member;
    if (geschrieben_.count(ziel)) return false;  // the archive holds the name twice: the first counts
    return !(Entpackt().count(ziel) && platform::fs::exact::FileExists(ziel));
  }
  std::vector<uint8_t> Buffer(size_t size) override { return schreiber_.TakeBuffer(size); }
  bool Put(const std::string& member, std::vector<uint8_t> contents) override {
    const std::string ziel = ordner_ + member;
    geschrieben_.insert(ziel);
    return schreiber_.Put(ziel, teil_ + std::to_string(++nummer_), member, std::move(contents));
  }
  // Waits for the writer; only an unpack whose every file was written adds them to the
  // members of this run.
  bool Finish(std::string& failedMember) {
    if (!schreiber_.Finish(failedMember)) return false;
    Entpackt().insert(geschrieben_.begin(), geschrieben_.end());
    return true;
  }

 private:
  std::string ordner_, teil_;
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

// An archive on disk, read as the byte reader reads one in memory: the same fields, the
// same sticky failure, and every length checked against the bytes left. Only the block
// being handed on is held, in one buffer that keeps its memory from block to block.
class DateiLeser {
 public:
  explicit DateiLeser(platform::fs::InputFile& datei) : datei_(datei) {}
  bool Ok() const { return ok_; }
  size_t Remaining() const { return static_cast<size_t>(datei_.Size() - std::min(datei_.Pos(), datei_.Size())); }
  // Ran out of memory for a block (rather than out of bytes).
  bool OhneSpeicher() const { return ohneSpeicher_; }

  int32_t Int32() {
    uint8_t b[4] = {};
    if (!Lesen(b, sizeof b)) return 0;
    return static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
  }
  // The next `n` bytes, valid until the next block; empty on failure.
  std::span<const uint8_t> Block(size_t n) {
    if (!ok_ || n > Remaining()) {
      Fehlschlag();
      return {};
    }
    try {
      // A larger block replaces the old one rather than growing it: never both at once.
      if (n > block_.capacity()) std::vector<uint8_t>().swap(block_);
      block_.resize(n);
    } catch (const std::bad_alloc&) {
      ohneSpeicher_ = true;
      Fehlschlag();
      return {};
    }
    if (!Lesen(block_.data(), n)) return {};
    return block_;
  }
  bool Skip(size_t n) {
    if (!ok_ || n > Remaining() || !datei_.Seek(datei_.Pos() + n)) return Fehlschlag();
    return true;
  }

 private:
  bool Fehlschlag() { return ok_ = false; }
  bool Lesen(uint8_t* out, size_t n) {
    if (!ok_ || n > Remaining() || !datei_.Read(out, n)) return Fehlschlag();
    return true;
  }

  platform::fs::InputFile& datei_;
  std::vector<uint8_t> block_;
  bool ok_ = true;
  bool ohneSpeicher_ = false;
};

// What a failed read of either reader means.
Err Lesefehler(const platform::ByteReader&) { return kEingabeZuEnde; }
Err Lesefehler(const DateiLeser& in) { return in.OhneSpeicher() ? kSpeicher : kEingabeZuEnde; }

// Reads the head of the next entry from either reader: the member's name (inflated, German
// umlauts and ß spelt out) and stated size into `e`, and the length of its packed data,
// which follows. The zlib globals take the lengths as they are read. False, with `error`,
// at damage: a length out of range, a name that does not inflate, bytes missing (the data
// too must be there, whether they are read or passed over).
template <class In>
bool Kopf(In& in, ArchiveEntry& e, size_t& gepackt, std::vector<uint8_t>& name, ArchiveError& error) {
  auto fehler = [&](const Err& f) {
    error = {f, e.name};
    return false;
  };
  // Reads a length and checks it against its limit.
  auto laenge = [&](int32_t grenze, int32_t& wert) {
    wert = in.Int32();
    if (!in.Ok()) return fehler(Lesefehler(in));
    if (wert < 0 || wert > grenze) return fehler(kUngueltig);
    return true;
  };
  if (!laenge(kNameMax, ZLibOriginalGroesse) || !laenge(kGroesseMax, ZLibGepacktGroesse)) return false;
  const int32_t nameRoh = ZLibOriginalGroesse;
  std::span<const uint8_t> nameGepackt = in.Block(static_cast<size_t>(ZLibGepacktGroesse));
  if (!in.Ok()) return fehler(Lesefehler(in));
  if (Entpacken(nameGepackt, nameRoh, name) != Z_OK) return fehler(kUngueltig);
  e.name = UmlauteAusschreiben(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));

  if (!laenge(kGroesseMax, ZLibOriginalGroesse) || !laenge(kGroesseMax, ZLibGepacktGroesse)) return false;
  e.size = ZLibOriginalGroesse;
  gepackt = static_cast<size_t>(ZLibGepacktGroesse);
  if (gepackt > in.Remaining()) return fehler(kEingabeZuEnde);
  return true;
}

// Whether the unpack takes a member: selected, usable as a file name, and wanted by the sink.
bool Nehmen(const Auswahl& auswahl, const std::string& name, UnpackSink& sink) {
  if (!auswahl.Will(name)) return false;
  if (Unbrauchbar(name)) {
    DebugLogWennAn("Unzulaessiger Name im Archiv: " + name);
    return false;
  }
  return sink.Wanted(name);
}

// The unpack over either reader, entry by entry: a member not taken is passed over without
// reading or inflating its data; one taken is read, inflated and handed to the sink.
template <class In>
bool Auspacken(In& in, const std::string& Filename, UnpackSink& sink, ArchiveError& error) {
  const Auswahl auswahl(Filename);
  ArchiveEntry e;
  std::vector<uint8_t> name;
  size_t gepackt = 0;
  while (in.Remaining() > 0) {
    if (!Kopf(in, e, gepackt, name, error)) return false;
    if (!Nehmen(auswahl, e.name, sink)) {
      in.Skip(gepackt);
      continue;
    }
    // The buffer first: it may wait until the writer has room, before the packed bytes
    // are held as well.
    std::vector<uint8_t> inhalt = sink.Buffer(static_cast<size_t>(e.size));
    e.packed = in.Block(gepackt);
    if (!in.Ok()) {
      error = {Lesefehler(in), e.name};
      return false;
    }
    const int32_t r = Entpacken(e.packed, e.size, inhalt);
    if (r == Z_MEM_ERROR) {
      error = {kSpeicher, e.name};
      return false;
    }
    if (r != Z_OK) {
      DebugLogWennAn("Fehler beim Entpacken (" + Filename + " - " + e.name + " - defekter Inhalt)");
      continue;
    }
    if (!sink.Put(e.name, std::move(inhalt))) return true;  // the sink ends the unpack
  }
  return true;
}

// The private temporary folder every copy of the game of this user shares: the system's,
// or when that cannot be had, "tmp" in the per-user folder (never the working folder).
std::string GemeinsamerTempOrdner() {
  std::string temp = platform::fs::PrivateTempFolder();
  if (temp.empty() && !DatenOrdner.empty()) temp = platform::fs::PrivateFolder(platform::fs::Resolve(DatenOrdner + "tmp"));
  return temp;
}

}  // namespace

std::string GetTempFolder() { return platform::CopyFolder(GemeinsamerTempOrdner()); }

int ClearFoldersOfEndedCopies() {
  const std::string temp = GemeinsamerTempOrdner();
  return temp.empty() ? 0 : platform::ClearEndedCopies(temp);
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
  size_t gepackt = 0;
  while (in.Remaining() > 0) {
    if (!Kopf(in, e, gepackt, name, error)) return false;
    e.packed = in.Block(gepackt);
    if (!each(e)) return true;
  }
  return true;
}

bool UnpackBytes(std::span<const uint8_t> bytes, const std::string& Filename, UnpackSink& sink, ArchiveError& error) {
  platform::ByteReader in(bytes);
  return Auspacken(in, Filename, sink, error);
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
    // Read entry by entry: an archive larger than the memory unpacks all the same.
    platform::fs::InputFile datei(Path + "Data\\" + archiv);
    if (!datei.IsOpen()) return scheitern({53, "File not found"}, "");
    DateiLeser in(datei);
    // Members are written under their exact names into the folder found once here.
    Ablage ablage(platform::fs::Resolve(ordner), platform::fs::Resolve(harvo));
    const bool ok = Auspacken(in, Filename, ablage, fehler);
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

  Vergessen(ziel);
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
