#include "demodata/videos.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <future>
#include <memory>

namespace demo {
namespace {

// The sound is mono at a quarter of the rate of a CD, an eighth of its bytes: the scenes'
// pads, bells and rushing air keep their sound, and the videos stay small.
constexpr int kTonRate = 11025;
// The pictures are drawn at the game's 800 x 600 and made smaller for the files: a video
// plays stretched over the whole screen, and Motion JPEG, a picture at a time, grows
// with every pixel. The JPEG quantisers keep the letters clean at a few kilobytes a
// picture.
struct Format {
  int breite, hoehe, quantisierer;
};
constexpr Format kGross{512, 384, 14}, kKlein{320, 240, 16};

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

bool Oeffnen(Kodierer& k, const Format& format, int bilderProSekunde) {
  const int w = format.breite, h = format.hoehe;
  if (avformat_alloc_output_context2(&k.oc, nullptr, "avi", nullptr) < 0) return false;
  k.oc->flags |= AVFMT_FLAG_BITEXACT;
  // The sound lies in the file a picture and more ahead of the pictures it goes with: a
  // player that reads no further than the next picture then has it before it is due,
  // also the little its resampler holds back on the way to the mixer's rate.
  k.oc->audio_preload = 150000;
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
  k.bild->time_base = {1, bilderProSekunde};
  k.bild->framerate = {bilderProSekunde, 1};
  k.bild->flags |= AV_CODEC_FLAG_QSCALE;
  k.bild->global_quality = FF_QP2LAMBDA * format.quantisierer;
  k.ton->sample_fmt = AV_SAMPLE_FMT_S16;
  k.ton->sample_rate = kTonRate;
  k.ton->time_base = {1, kTonRate};
  AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
  if (av_channel_layout_copy(&k.ton->ch_layout, &mono) < 0) return false;
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
  k.sws = sws_getContext(kFilmBreite, kFilmHoehe, AV_PIX_FMT_BGR0, w, h, AV_PIX_FMT_YUVJ420P,
                         SWS_AREA | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
  return k.frame && k.pkt && k.sws && avformat_write_header(k.oc, nullptr) >= 0;
}

bool BildSchreiben(Kodierer& k, const tools::Image& img, int i) {
  AVFrame* f = k.frame;
  av_frame_unref(f);
  f->format = AV_PIX_FMT_YUVJ420P;
  f->width = k.bild->width;
  f->height = k.bild->height;
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
  AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
  if (av_channel_layout_copy(&f->ch_layout, &mono) < 0 || av_frame_get_buffer(f, 0) < 0) return false;
  std::memcpy(f->data[0], s.data() + ab, static_cast<size_t>(anzahl) * 2);
  f->pts = ab;
  return k.Ausgeben(k.ton, k.tonStrom, f);
}

// The frame as the encoder takes it, `hell` times as bright (the fades).
tools::Image Bildpunkte(const Canvas& c, float hell) {
  tools::Image img(c.w, c.h);
  auto byte = [hell](float v) { return static_cast<uint32_t>(std::clamp(v * hell, 0.0f, 1.0f) * 255 + 0.5f); };
  for (size_t i = 0; i < c.px.size(); ++i)
    img.pixels[i] = byte(c.px[i].r) << 16 | byte(c.px[i].g) << 8 | byte(c.px[i].b);
  return img;
}

// `frames` samples of the scene's sound at the videos' rate, each a weighted mean of the
// five about its place, which keeps out what the lower rate cannot carry; dying away
// over the last `ausklang` seconds, as the pictures fade.
std::vector<int16_t> Ton(const std::vector<float>& s, int frames, double ausklang) {
  constexpr int kSchritt = 44100 / kTonRate;
  constexpr float kGewicht[5] = {0.125f, 0.25f, 0.25f, 0.25f, 0.125f};
  std::vector<int16_t> aus(static_cast<size_t>(std::max(0, frames)));
  for (size_t k = 0; k < aus.size(); ++k) {
    float v = 0;
    for (int j = 0; j < 5; ++j) {
      const long i = static_cast<long>(k) * kSchritt + j - 2;
      if (i >= 0 && i < static_cast<long>(s.size())) v += kGewicht[j] * s[static_cast<size_t>(i)];
    }
    v *= Smooth(0, static_cast<float>(ausklang * kTonRate), static_cast<float>(aus.size() - k - 1));
    aus[k] = static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767));
  }
  return aus;
}

}  // namespace

std::vector<tools::ArchiveMember> SceneVideos(const Szene& szene, const std::vector<Fassung>& fassungen) {
  // libav's scaler warns of the full-range picture format the Motion-JPEG encoder wants.
  av_log_set_level(AV_LOG_ERROR);
  std::vector<tools::ArchiveMember> m;
  std::vector<std::unique_ptr<Kodierer>> k;
  bool ok = true;
  for (const Fassung& f : fassungen) {
    m.push_back({f.stamm + ".avi", {}});
    m.push_back({f.stamm + "Low.avi", {}});
    for (int klein = 0; klein < 2; ++klein) {
      k.push_back(std::make_unique<Kodierer>());
      ok = ok && Oeffnen(*k.back(), klein ? kKlein : kGross, szene.bilderProSekunde);
    }
  }
  const int fps = szene.bilderProSekunde;
  const int bilder = static_cast<int>(std::lround(szene.sekunden * fps));
  // The sound stops with the last picture's start: the picture is black by then, and a
  // player that ends with whichever stream ends last, while its mixer runs a little
  // behind, would cut off the sound's end otherwise.
  const std::vector<int16_t> ton = Ton(szene.ton, (bilder - 1) * kTonRate / fps, szene.ausblenden);
  const int tonFrames = static_cast<int>(ton.size());
  int tonAb = 0;
  for (int i = 0; ok && i < bilder; ++i) {
    const double t = static_cast<double>(i) / fps, ende = static_cast<double>(i + 1) / fps;
    // Black in the first picture and the last.
    const float hell = Smooth(0, static_cast<float>(szene.einblenden), static_cast<float>(t)) *
                       Smooth(static_cast<float>(szene.sekunden), static_cast<float>(szene.sekunden - szene.ausblenden),
                              static_cast<float>(ende));
    Canvas welt(kFilmBreite, kFilmHoehe);
    for (Col& p : welt.px) p = {0, 0, 0, 1};
    szene.welt(t, welt);
    for (int y = 0; y < kFilmHoehe; ++y)
      if (y < kBalken || y >= kFilmHoehe - kBalken)
        std::fill_n(welt.px.begin() + static_cast<long>(y) * kFilmBreite, kFilmBreite, Col{0, 0, 0, 1});
    for (size_t v = 0; ok && v < fassungen.size(); ++v) {
      Canvas bild = welt;
      if (szene.worte) szene.worte(t, fassungen[v].sprache, bild);
      const tools::Image img = Bildpunkte(bild, hell);
      ok = BildSchreiben(*k[2 * v], img, i) && BildSchreiben(*k[2 * v + 1], img, i);
    }
    // The sound up to the end of this picture, so the two streams interleave.
    const int bis = std::min(tonFrames, (i + 1) * kTonRate / fps);
    for (size_t n = 0; ok && bis > tonAb && n < k.size(); ++n) ok = TonSchreiben(*k[n], ton, tonAb, bis - tonAb);
    tonAb = bis;
  }
  for (size_t n = 0; ok && n < k.size(); ++n) {
    Kodierer& film = *k[n];
    ok = film.Ausgeben(film.bild, film.bildStrom, nullptr) && film.Ausgeben(film.ton, film.tonStrom, nullptr) &&
         av_write_trailer(film.oc) >= 0;
    avio_flush(film.oc->pb);
    if (ok) m[n].data = film.puffer.bytes;
  }
  return m;
}

namespace {

std::vector<tools::ArchiveMember> Alle(std::vector<std::future<std::vector<tools::ArchiveMember>>> teile) {
  std::vector<tools::ArchiveMember> m;
  for (auto& t : teile)
    for (tools::ArchiveMember& v : t.get()) m.push_back(std::move(v));
  return m;
}

// A scene made into its videos on a thread of its own.
std::future<std::vector<tools::ArchiveMember>> Nebenher(Szene (*szene)(), std::vector<Fassung> fassungen) {
  return std::async(std::launch::async, [szene, fassungen] { return SceneVideos(szene(), fassungen); });
}

std::vector<Fassung> Sprachen(const std::string& stamm) {
  return {{stamm + "D", "D"}, {stamm + "E", "E"}, {stamm + "R", "R"}};
}

}  // namespace

std::vector<tools::ArchiveMember> FolderVideos() {
  std::vector<std::future<std::vector<tools::ArchiveMember>>> teile;
  teile.push_back(Nebenher(LogoScene, {{"Logo", ""}}));
  teile.push_back(Nebenher(IntroScene, Sprachen("Intro")));
  return Alle(std::move(teile));
}

std::vector<tools::ArchiveMember> ArchiveVideos() {
  std::vector<std::future<std::vector<tools::ArchiveMember>>> teile;
  teile.push_back(Nebenher(DeepScene, {{"Deep", ""}}));
  teile.push_back(Nebenher(OutroScene, Sprachen("Outro")));
  teile.push_back(Nebenher(Outro2Scene, Sprachen("Outro2")));
  return Alle(std::move(teile));
}

}  // namespace demo
