#include "demodata/videos.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>

#include "demodata/draw.hpp"

namespace demo {
namespace {

constexpr int kBilderProSekunde = 10;
constexpr int kTonRate = 44100;
constexpr int kTonBlock = 1470;  // sound frames per packet: a fifteenth of a second
constexpr int kQualitaet = 5;    // JPEG quantiser: small files, clean letters

// The muxer writes into memory; it seeks back to complete the AVI headers.
struct Puffer {
  std::vector<uint8_t> bytes;
  size_t pos = 0;
};

int Schreiben(void* opaque, uint8_t* buf, int size) {
  Puffer& p = *static_cast<Puffer*>(opaque);
  if (p.pos + size > p.bytes.size()) p.bytes.resize(p.pos + size);
  std::memcpy(p.bytes.data() + p.pos, buf, size);
  p.pos += size;
  return size;
}

int64_t Suchen(void* opaque, int64_t offset, int whence) {
  Puffer& p = *static_cast<Puffer*>(opaque);
  if (whence & AVSEEK_SIZE) return static_cast<int64_t>(p.bytes.size());
  int64_t ziel = offset;
  if ((whence & 3) == SEEK_CUR) ziel += static_cast<int64_t>(p.pos);
  if ((whence & 3) == SEEK_END) ziel += static_cast<int64_t>(p.bytes.size());
  if (ziel < 0) return -1;
  p.pos = static_cast<size_t>(ziel);
  return ziel;
}

uint32_t Hash(const std::string& s) {
  uint32_t h = 2166136261u;
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
}

std::string Gross(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Picture `i` of `n`: a dark gradient in the video's own hue, its name, and a bar that
// runs across as the video plays.
tools::Image Bild(const std::string& name, int w, int h, int i, int n) {
  const uint32_t farbe = Hash(name);
  const uint32_t oben = Rgb(20 + (farbe & 63), 20 + (farbe >> 8 & 63), 40 + (farbe >> 16 & 63));
  tools::Image img(w, h);
  VerticalGradient(img, oben, Rgb(0, 0, 8));
  const std::string text = Gross(name);
  const int scale = std::max(1, std::min(w / (TextWidth(text, 1) + 4), h / 14));
  Text(img, (w - TextWidth(text, scale)) / 2, h / 2 - 7 * scale, text, scale, Rgb(255, 230, 120));
  const int breite = w * (i + 1) / n;
  FillRect(img, 0, h * 3 / 4, breite, std::max(2, h / 30), Rgb(90, 200, 255));
  return img;
}

// The tone: a chord that rises with the name's hash, faded in and out.
std::vector<int16_t> Ton(const std::string& name, double seconds) {
  const int n = static_cast<int>(seconds * kTonRate);
  const double f = 330.0 + (Hash(name) % 12) * 20.0;
  std::vector<int16_t> s(static_cast<size_t>(n) * 2);
  for (int k = 0; k < n; ++k) {
    const double t = static_cast<double>(k) / kTonRate;
    const double huelle = std::min({1.0, t * 20, (seconds - t) * 20});
    const double l = 0.25 * std::sin(2 * M_PI * f * t) * huelle;
    const double r = 0.25 * std::sin(2 * M_PI * f * 1.5 * t) * huelle;
    s[2 * k] = static_cast<int16_t>(std::lround(l * 32767));
    s[2 * k + 1] = static_cast<int16_t>(std::lround(r * 32767));
  }
  return s;
}

struct Kodierer {
  AVFormatContext* oc = nullptr;
  AVCodecContext* bild = nullptr;
  AVCodecContext* ton = nullptr;
  AVStream* bildStrom = nullptr;
  AVStream* tonStrom = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* pkt = nullptr;
  SwsContext* sws = nullptr;
  Puffer puffer;
  ~Kodierer() {
    sws_freeContext(sws);
    av_packet_free(&pkt);
    av_frame_free(&frame);
    avcodec_free_context(&bild);
    avcodec_free_context(&ton);
    if (oc) {
      if (oc->pb) {
        av_freep(&oc->pb->buffer);
        avio_context_free(&oc->pb);
      }
      avformat_free_context(oc);
    }
  }

  bool Ausgeben(AVCodecContext* c, AVStream* st, const AVFrame* f) {
    if (avcodec_send_frame(c, f) < 0) return false;
    for (;;) {
      const int r = avcodec_receive_packet(c, pkt);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
      if (r < 0) return false;
      av_packet_rescale_ts(pkt, c->time_base, st->time_base);
      pkt->stream_index = st->index;
      if (av_interleaved_write_frame(oc, pkt) < 0) return false;
    }
  }
};

AVCodecContext* Codec(AVCodecID id) {
  const AVCodec* codec = avcodec_find_encoder(id);
  if (!codec) return nullptr;
  AVCodecContext* c = avcodec_alloc_context3(codec);
  if (!c) return nullptr;
  c->thread_count = 1;
  c->flags |= AV_CODEC_FLAG_BITEXACT;
  return c;
}

bool Oeffnen(Kodierer& k, int w, int h) {
  if (avformat_alloc_output_context2(&k.oc, nullptr, "avi", nullptr) < 0) return false;
  k.oc->flags |= AVFMT_FLAG_BITEXACT;
  constexpr int kBlock = 64 * 1024;
  auto* speicher = static_cast<unsigned char*>(av_malloc(kBlock));
  k.oc->pb = avio_alloc_context(speicher, kBlock, 1, &k.puffer, nullptr, Schreiben, Suchen);
  if (!k.oc->pb) return false;

  k.bild = Codec(AV_CODEC_ID_MJPEG);
  k.ton = Codec(AV_CODEC_ID_PCM_S16LE);
  if (!k.bild || !k.ton) return false;
  k.bild->width = w;
  k.bild->height = h;
  k.bild->pix_fmt = AV_PIX_FMT_YUVJ420P;
  k.bild->color_range = AVCOL_RANGE_JPEG;
  k.bild->time_base = {1, kBilderProSekunde};
  k.bild->framerate = {kBilderProSekunde, 1};
  k.bild->flags |= AV_CODEC_FLAG_QSCALE;
  k.bild->global_quality = FF_QP2LAMBDA * kQualitaet;
  k.ton->sample_fmt = AV_SAMPLE_FMT_S16;
  k.ton->sample_rate = kTonRate;
  k.ton->time_base = {1, kTonRate};
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  if (av_channel_layout_copy(&k.ton->ch_layout, &stereo) < 0) return false;
  if (avcodec_open2(k.bild, nullptr, nullptr) < 0 || avcodec_open2(k.ton, nullptr, nullptr) < 0) return false;

  k.bildStrom = avformat_new_stream(k.oc, nullptr);
  k.tonStrom = avformat_new_stream(k.oc, nullptr);
  if (!k.bildStrom || !k.tonStrom) return false;
  avcodec_parameters_from_context(k.bildStrom->codecpar, k.bild);
  avcodec_parameters_from_context(k.tonStrom->codecpar, k.ton);
  k.bildStrom->time_base = k.bild->time_base;
  k.tonStrom->time_base = k.ton->time_base;
  k.frame = av_frame_alloc();
  k.pkt = av_packet_alloc();
  k.sws = sws_getContext(w, h, AV_PIX_FMT_BGR0, w, h, AV_PIX_FMT_YUVJ420P,
                         SWS_BILINEAR | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
  return k.frame && k.pkt && k.sws && avformat_write_header(k.oc, nullptr) >= 0;
}

bool BildSchreiben(Kodierer& k, const tools::Image& img, int i) {
  AVFrame* f = k.frame;
  av_frame_unref(f);
  f->format = AV_PIX_FMT_YUVJ420P;
  f->width = img.width;
  f->height = img.height;
  f->color_range = AVCOL_RANGE_JPEG;
  if (av_frame_get_buffer(f, 0) < 0) return false;
  const uint8_t* quelle[4] = {reinterpret_cast<const uint8_t*>(img.pixels.data()), nullptr, nullptr, nullptr};
  const int schritt[4] = {img.width * 4, 0, 0, 0};
  sws_scale(k.sws, quelle, schritt, 0, img.height, f->data, f->linesize);
  f->pts = i;
  f->quality = k.bild->global_quality;
  return k.Ausgeben(k.bild, k.bildStrom, f);
}

bool TonSchreiben(Kodierer& k, const std::vector<int16_t>& s, int ab, int anzahl) {
  AVFrame* f = k.frame;
  av_frame_unref(f);
  f->format = AV_SAMPLE_FMT_S16;
  f->sample_rate = kTonRate;
  f->nb_samples = anzahl;
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  if (av_channel_layout_copy(&f->ch_layout, &stereo) < 0 || av_frame_get_buffer(f, 0) < 0) return false;
  std::memcpy(f->data[0], s.data() + static_cast<size_t>(ab) * 2, static_cast<size_t>(anzahl) * 4);
  f->pts = ab;
  return k.Ausgeben(k.ton, k.tonStrom, f);
}

}  // namespace

std::vector<uint8_t> DemoVideo(const std::string& name, int w, int h, double seconds) {
  Kodierer k;
  if (!Oeffnen(k, w, h)) return {};
  const int bilder = static_cast<int>(std::lround(seconds * kBilderProSekunde));
  const std::vector<int16_t> ton = Ton(name, seconds);
  const int frames = static_cast<int>(ton.size() / 2);
  int tonAb = 0;
  for (int i = 0; i < bilder; ++i) {
    if (!BildSchreiben(k, Bild(name, w, h, i, bilder), i)) return {};
    // The sound up to the end of this picture, so the two streams interleave.
    const int bis = std::min(frames, (i + 1) * kTonRate / kBilderProSekunde);
    while (tonAb < bis) {
      const int n = std::min(kTonBlock, bis - tonAb);
      if (!TonSchreiben(k, ton, tonAb, n)) return {};
      tonAb += n;
    }
  }
  if (!k.Ausgeben(k.bild, k.bildStrom, nullptr) || !k.Ausgeben(k.ton, k.tonStrom, nullptr)) return {};
  if (av_write_trailer(k.oc) < 0) return {};
  avio_flush(k.oc->pb);
  return k.puffer.bytes;
}

namespace {

// A video and its small twin, named "<stem>.avi" and "<stem>Low.avi".
void Paar(std::vector<tools::ArchiveMember>& m, const std::string& stamm, double seconds) {
  m.push_back({stamm + ".avi", DemoVideo(stamm + ".avi", 800, 600, seconds)});
  m.push_back({stamm + "Low.avi", DemoVideo(stamm + "Low.avi", 400, 300, seconds)});
}

}  // namespace

std::vector<tools::ArchiveMember> FolderVideos() {
  std::vector<tools::ArchiveMember> m;
  Paar(m, "Logo", 1.5);
  for (const char* sprache : {"D", "E", "R"}) Paar(m, std::string("Intro") + sprache, 1.2);
  return m;
}

std::vector<tools::ArchiveMember> ArchiveVideos() {
  std::vector<tools::ArchiveMember> m;
  Paar(m, "Deep", 1.2);
  for (const char* stamm : {"Outro", "Outro2"})
    for (const char* sprache : {"D", "E", "R"}) Paar(m, std::string(stamm) + sprache, 1.2);
  return m;
}

}  // namespace demo
