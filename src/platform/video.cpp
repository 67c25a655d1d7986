#include "platform/video.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>

#include "platform/fs.hpp"
#include "platform/mixer.hpp"

namespace platform::video {
namespace {

constexpr float kScale = 32767.0f;  // the resampler's -1..1 in 16-bit sample range
constexpr int kMaxSide = Surface::kMaxSide;
// Exact and repeatable scaling: the same file gives the same pixels on every machine.
constexpr int kScaleFlags = SWS_BILINEAR | SWS_ACCURATE_RND | SWS_BITEXACT;

std::string Text(int err) {
  char buf[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(err, buf, sizeof buf);
  return buf;
}

// The surface's format as the scaler names it; AV_PIX_FMT_NONE for one it cannot write.
AVPixelFormat Ziel(PixelFormat f) {
  switch (f) {
    case PixelFormat::XRGB8888: return AV_PIX_FMT_BGR0;
    case PixelFormat::ARGB8888: return AV_PIX_FMT_BGRA;
    case PixelFormat::RGB565: return AV_PIX_FMT_RGB565LE;
    default: return AV_PIX_FMT_NONE;
  }
}

struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;

// A decoder of one stream, on one thread.
CodecPtr OpenCodec(AVStream* st, Error& error) {
  const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
  if (!codec) {
    error = {AVERROR_DECODER_NOT_FOUND, Text(AVERROR_DECODER_NOT_FOUND)};
    return nullptr;
  }
  CodecPtr c(avcodec_alloc_context3(codec));
  if (!c) {
    error = {AVERROR(ENOMEM), Text(AVERROR(ENOMEM))};
    return nullptr;
  }
  int r = avcodec_parameters_to_context(c.get(), st->codecpar);
  if (r >= 0) {
    c->thread_count = 1;
    c->flags |= AV_CODEC_FLAG_BITEXACT;
    c->pkt_timebase = st->time_base;
    r = avcodec_open2(c.get(), codec, nullptr);
  }
  if (r < 0) {
    error = {r, Text(r)};
    return nullptr;
  }
  return c;
}

constexpr int kLesePuffer = 64 << 10;
// The most bytes of pictures read ahead while looking for sound: the memory a file whose
// sound lies far behind its pictures may take, before its sound is given up on.
constexpr size_t kVorausBytes = 8 << 20;

// The library reads the file through these, so it is opened only as the other readers
// open files: a FIFO or device in place of a video is refused at once instead of blocking
// the open for good.
int Lesen(void* datei, uint8_t* puffer, int n) {
  const int64_t r = static_cast<fs::InputFile*>(datei)->ReadSome(puffer, static_cast<size_t>(std::max(n, 0)));
  return r > 0 ? static_cast<int>(r) : r == 0 ? AVERROR_EOF : AVERROR(EIO);
}

int64_t Springen(void* datei, int64_t offset, int whence) {
  fs::InputFile& f = *static_cast<fs::InputFile*>(datei);
  if (whence & AVSEEK_SIZE) return static_cast<int64_t>(f.Size());
  int64_t ziel = -1;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: ziel = offset; break;
    case SEEK_CUR: ziel = static_cast<int64_t>(f.Pos()) + offset; break;
    case SEEK_END: ziel = static_cast<int64_t>(f.Size()) + offset; break;
    default: break;
  }
  if (ziel < 0 || !f.Seek(static_cast<uint64_t>(ziel))) return AVERROR(EINVAL);
  return ziel;
}

}  // namespace

struct Decoder::Impl {
  std::unique_ptr<fs::InputFile> datei;
  AVIOContext* io = nullptr;  // reads `datei`; freed after the format context
  AVFormatContext* fmt = nullptr;
  CodecPtr bild, ton;
  int bildStrom = -1, tonStrom = -1;
  AVPacket* pkt = nullptr;
  AVFrame* frame = nullptr;    // the current picture
  AVFrame* neu = nullptr;      // the decoder's output, the current picture once it is one
  AVFrame* tonFrame = nullptr;
  SwsContext* sws = nullptr;
  SwrContext* swr = nullptr;
  bool hatBild = false;
  bool dateiEnde = false;  // the file is read to its end, the sound decoder drained
  bool bildGeleert = false;  // the picture decoder has been told that no packets follow
  bool bildEnde = false;     // the picture decoder has given its last picture
  // Pictures read from the file ahead of the sound, not yet decoded, and their bytes.
  std::deque<AVPacket*> wartend;
  size_t wartendBytes = 0;
  double bildZeit = 0, bildLaenge = 0.04;
  std::vector<float> klang;  // converted sound not yet taken
  int64_t tonGenommen = 0;  // frames handed out so far
  double tonStart = -1;     // time of the first sound frame
  std::vector<uint8_t> zwischen;  // a scaled picture that must be clipped
  Error fehler;

  ~Impl() {
    sws_freeContext(sws);
    swr_free(&swr);
    av_frame_free(&frame);
    av_frame_free(&neu);
    av_frame_free(&tonFrame);
    av_packet_free(&pkt);
    for (AVPacket* p : wartend) av_packet_free(&p);
    avformat_close_input(&fmt);
    if (io) av_freep(&io->buffer);
    avio_context_free(&io);
  }

  void Fehler(int r) { fehler = {r, Text(r)}; }

  bool TonOeffnen() {
    AVStream* st = fmt->streams[tonStrom];
    Error e;
    CodecPtr c = OpenCodec(st, e);
    if (!c) return false;
    AVChannelLayout ein{};
    if (c->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || c->ch_layout.nb_channels <= 0)
      av_channel_layout_default(&ein, std::max(1, c->ch_layout.nb_channels));
    else if (av_channel_layout_copy(&ein, &c->ch_layout) < 0)
      return false;
    AVChannelLayout aus = AV_CHANNEL_LAYOUT_STEREO;
    const int r = swr_alloc_set_opts2(&swr, &aus, AV_SAMPLE_FMT_FLT, audio::kOutputRate, &ein, c->sample_fmt,
                                      c->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&ein);
    if (r < 0 || swr_init(swr) < 0) {
      swr_free(&swr);
      return false;
    }
    ton = std::move(c);
    return true;
  }

  // Converts a decoded sound frame (or, for nullptr, what the resampler still holds).
  void TonWandeln(const AVFrame* f) {
    const int ein = f ? f->nb_samples : 0;
    const int platz = swr_get_out_samples(swr, ein);
    if (platz <= 0) return;
    const size_t alt = klang.size();
    klang.resize(alt + static_cast<size_t>(platz) * 2);
    uint8_t* aus = reinterpret_cast<uint8_t*>(klang.data() + alt);
    const int n = swr_convert(swr, &aus, platz, f ? const_cast<const uint8_t**>(f->extended_data) : nullptr, ein);
    klang.resize(alt + static_cast<size_t>(std::max(n, 0)) * 2);
    for (size_t i = alt; i < klang.size(); ++i) klang[i] *= kScale;
  }

  void TonAbholen() {
    while (avcodec_receive_frame(ton.get(), tonFrame) >= 0) {
      if (tonStart < 0) {
        const int64_t pts = tonFrame->best_effort_timestamp;
        tonStart = pts == AV_NOPTS_VALUE ? 0 : std::max(0.0, pts * av_q2d(fmt->streams[tonStrom]->time_base));
      }
      TonWandeln(tonFrame);
      av_frame_unref(tonFrame);
    }
  }

  // Takes the next picture from the decoder, if it has one ready.
  bool BildAbholen() {
    // Received aside: a call that gives nothing clears its frame, and the last picture
    // must stay drawable.
    const int r = avcodec_receive_frame(bild.get(), neu);
    if (r == AVERROR_EOF) bildEnde = true;
    if (r < 0) return false;
    av_frame_unref(frame);
    av_frame_move_ref(frame, neu);
    const int64_t pts = frame->best_effort_timestamp;
    const double zeit = pts == AV_NOPTS_VALUE ? bildZeit + (hatBild ? bildLaenge : 0)
                                               : pts * av_q2d(fmt->streams[bildStrom]->time_base);
    bildZeit = std::max(0.0, zeit);
    hatBild = true;
    return true;
  }

  // The end of the sound decoded so far, in seconds; below 0 while there is none.
  double TonBis() const {
    if (tonStart < 0) return -1;
    return tonStart + static_cast<double>(tonGenommen + static_cast<int64_t>(klang.size() / 2)) / audio::kOutputRate;
  }

  // Reads the next packet of the file: sound is decoded at once, a picture waits in line.
  // False at the end of the file, where the sound decoder gives what it still holds.
  bool Lesen() {
    if (dateiEnde) return false;
    const int r = av_read_frame(fmt, pkt);
    if (r < 0) {
      if (r != AVERROR_EOF) Fehler(r);
      dateiEnde = true;
      if (ton) {
        avcodec_send_packet(ton.get(), nullptr);
        TonAbholen();
        TonWandeln(nullptr);
      }
      return false;
    }
    if (pkt->stream_index == bildStrom) {
      AVPacket* p = av_packet_alloc();
      if (p) {
        av_packet_move_ref(p, pkt);
        wartendBytes += static_cast<size_t>(p->size);
        wartend.push_back(p);
      }
    } else if (ton && pkt->stream_index == tonStrom) {
      if (avcodec_send_packet(ton.get(), pkt) >= 0) TonAbholen();
    }
    av_packet_unref(pkt);
    return true;
  }

  // Hands the picture decoder the next picture in line, or, with none left in the file,
  // the end of the stream.
  void BildSenden() {
    if (wartend.empty()) {
      avcodec_send_packet(bild.get(), nullptr);
      bildGeleert = true;
      return;
    }
    AVPacket* p = wartend.front();
    wartend.pop_front();
    wartendBytes -= static_cast<size_t>(p->size);
    const int s = avcodec_send_packet(bild.get(), p);
    // A damaged picture is passed over, as a player would.
    if (s < 0 && s != AVERROR(EAGAIN)) Fehler(s);
    av_packet_free(&p);
  }

  bool Weiter() {
    if (bildEnde) return false;
    for (;;) {
      if (BildAbholen()) return true;
      if (bildEnde) return false;
      if (bildGeleert) {
        // Drained and still nothing: the decoder is done.
        bildEnde = true;
        return false;
      }
      if (wartend.empty() && Lesen()) continue;
      BildSenden();
    }
  }

  void TonVoraus(double bis) {
    while (ton && TonBis() < bis && wartendBytes < kVorausBytes && Lesen()) {
    }
  }
};

Decoder::Decoder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Decoder::~Decoder() = default;

std::unique_ptr<Decoder> Decoder::Open(std::string_view path, Error& error) {
  av_log_set_level(AV_LOG_ERROR);
  auto d = std::make_unique<Impl>();
  d->datei = std::make_unique<fs::InputFile>(path);
  if (!d->datei->IsOpen()) {
    const int r = AVERROR(d->datei->OpenError());
    error = {r, Text(r)};
    return nullptr;
  }
  uint8_t* puffer = static_cast<uint8_t*>(av_malloc(kLesePuffer));
  if (puffer) d->io = avio_alloc_context(puffer, kLesePuffer, 0, d->datei.get(), Lesen, nullptr, Springen);
  if (!d->io) av_free(puffer);
  d->fmt = d->io ? avformat_alloc_context() : nullptr;
  if (!d->fmt) {
    error = {AVERROR(ENOMEM), Text(AVERROR(ENOMEM))};
    return nullptr;
  }
  d->fmt->pb = d->io;
  // The name still tells the library the kind of file.
  int r = avformat_open_input(&d->fmt, fs::Resolve(path).c_str(), nullptr, nullptr);
  if (r >= 0) r = avformat_find_stream_info(d->fmt, nullptr);
  if (r < 0) {
    error = {r, Text(r)};
    return nullptr;
  }
  d->bildStrom = av_find_best_stream(d->fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (d->bildStrom < 0) {
    error = {d->bildStrom, Text(d->bildStrom)};
    return nullptr;
  }
  AVStream* bs = d->fmt->streams[d->bildStrom];
  if (bs->codecpar->width <= 0 || bs->codecpar->height <= 0 || bs->codecpar->width > kMaxSide ||
      bs->codecpar->height > kMaxSide) {
    error = {AVERROR_INVALIDDATA, Text(AVERROR_INVALIDDATA)};
    return nullptr;
  }
  d->bild = OpenCodec(bs, error);
  if (!d->bild) return nullptr;
  const AVRational rate = bs->avg_frame_rate.num > 0 ? bs->avg_frame_rate : bs->r_frame_rate;
  if (rate.num > 0 && rate.den > 0) d->bildLaenge = av_q2d(av_inv_q(rate));
  d->tonStrom = av_find_best_stream(d->fmt, AVMEDIA_TYPE_AUDIO, -1, d->bildStrom, nullptr, 0);
  // A video whose sound cannot be decoded still plays, silent.
  if (d->tonStrom >= 0 && !d->TonOeffnen()) d->tonStrom = -1;
  d->pkt = av_packet_alloc();
  d->frame = av_frame_alloc();
  d->neu = av_frame_alloc();
  d->tonFrame = av_frame_alloc();
  if (!d->pkt || !d->frame || !d->neu || !d->tonFrame) {
    error = {AVERROR(ENOMEM), Text(AVERROR(ENOMEM))};
    return nullptr;
  }
  return std::unique_ptr<Decoder>(new Decoder(std::move(d)));
}

int32_t Decoder::Width() const { return impl_->bild->width; }
int32_t Decoder::Height() const { return impl_->bild->height; }

double Decoder::Duration() const {
  const AVFormatContext* f = impl_->fmt;
  if (f->duration != AV_NOPTS_VALUE && f->duration > 0) return static_cast<double>(f->duration) / AV_TIME_BASE;
  const AVStream* st = f->streams[impl_->bildStrom];
  if (st->duration != AV_NOPTS_VALUE && st->duration > 0) return st->duration * av_q2d(st->time_base);
  return 0;
}

bool Decoder::HasSound() const { return impl_->ton != nullptr; }
bool Decoder::NextPicture() { return impl_->Weiter(); }
void Decoder::ReadSoundAhead(double untilSeconds) { impl_->TonVoraus(untilSeconds); }
double Decoder::PictureTime() const { return impl_->bildZeit; }
double Decoder::PictureLength() const { return impl_->bildLaenge; }
const Error& Decoder::LastError() const { return impl_->fehler; }

bool Decoder::DrawPicture(Surface& target, const Rect& dest) {
  Impl& d = *impl_;
  const AVPixelFormat ziel = Ziel(target.Format());
  const int dw = dest.Right - dest.Left, dh = dest.Bottom - dest.Top;
  if (!d.hatBild || d.frame->format < 0 || ziel == AV_PIX_FMT_NONE || dw <= 0 || dh <= 0 || dw > kMaxSide || dh > kMaxSide) return false;
  const AVFrame* f = d.frame;
  d.sws = sws_getCachedContext(d.sws, f->width, f->height, static_cast<AVPixelFormat>(f->format), dw, dh, ziel,
                               kScaleFlags, nullptr, nullptr, nullptr);
  if (!d.sws) return false;
  const int bpp = target.BytesPerPixel();
  const bool ganz = dest.Left >= 0 && dest.Top >= 0 && dest.Right <= target.Width() && dest.Bottom <= target.Height();
  if (ganz) {
    uint8_t* aus[4] = {target.Row(dest.Top) + static_cast<size_t>(dest.Left) * bpp, nullptr, nullptr, nullptr};
    int schritt[4] = {target.Pitch(), 0, 0, 0};
    return sws_scale(d.sws, f->data, f->linesize, 0, f->height, aus, schritt) > 0;
  }
  // Partly off the surface: scaled aside, then the visible part copied.
  const int zeile = dw * bpp;
  d.zwischen.resize(static_cast<size_t>(zeile) * dh);
  uint8_t* aus[4] = {d.zwischen.data(), nullptr, nullptr, nullptr};
  int schritt[4] = {zeile, 0, 0, 0};
  if (sws_scale(d.sws, f->data, f->linesize, 0, f->height, aus, schritt) <= 0) return false;
  const int x0 = std::max(0, dest.Left), x1 = std::min(target.Width(), dest.Right);
  const int y0 = std::max(0, dest.Top), y1 = std::min(target.Height(), dest.Bottom);
  for (int y = y0; y < y1 && x0 < x1; ++y)
    std::memcpy(target.Row(y) + static_cast<size_t>(x0) * bpp,
                d.zwischen.data() + static_cast<size_t>(y - dest.Top) * zeile + static_cast<size_t>(x0 - dest.Left) * bpp,
                static_cast<size_t>(x1 - x0) * bpp);
  return true;
}

std::vector<float> Decoder::TakeSound(double& startSeconds) {
  Impl& d = *impl_;
  startSeconds = std::max(0.0, d.tonStart) + static_cast<double>(d.tonGenommen) / audio::kOutputRate;
  std::vector<float> aus;
  aus.swap(d.klang);
  d.tonGenommen += static_cast<int64_t>(aus.size() / 2);
  return aus;
}

}  // namespace platform::video
