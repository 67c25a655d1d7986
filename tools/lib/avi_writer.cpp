#include "lib/avi_writer.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <cstring>

namespace tools {
namespace {

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

AVCodecContext* Codec(AVCodecID id) {
  const AVCodec* codec = avcodec_find_encoder(id);
  if (!codec) return nullptr;
  AVCodecContext* c = avcodec_alloc_context3(codec);
  if (!c) return nullptr;
  c->thread_count = 1;
  c->flags |= AV_CODEC_FLAG_BITEXACT;
  return c;
}

}  // namespace

struct AviWriter::Impl {
  AVFormatContext* oc = nullptr;
  AVCodecContext* bild = nullptr;
  AVCodecContext* ton = nullptr;
  AVStream* bildStrom = nullptr;
  AVStream* tonStrom = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* pkt = nullptr;
  SwsContext* sws = nullptr;
  AVChannelLayout kanaele{};
  Puffer puffer;
  bool ok = false;
  int64_t bilder = 0, tonFrames = 0;  // written so far: the next one's time stamp

  ~Impl() {
    sws_freeContext(sws);
    av_packet_free(&pkt);
    av_frame_free(&frame);
    avcodec_free_context(&bild);
    avcodec_free_context(&ton);
    av_channel_layout_uninit(&kanaele);
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

  bool Oeffnen(const AviFormat& format) {
    if (avformat_alloc_output_context2(&oc, nullptr, "avi", nullptr) < 0) return false;
    oc->flags |= AVFMT_FLAG_BITEXACT;
    constexpr int kBlock = 64 * 1024;
    auto* speicher = static_cast<unsigned char*>(av_malloc(kBlock));
    oc->pb = avio_alloc_context(speicher, kBlock, 1, &puffer, nullptr, Schreiben, Suchen);
    if (!oc->pb) return false;

    bild = Codec(AV_CODEC_ID_MJPEG);
    ton = Codec(AV_CODEC_ID_PCM_S16LE);
    if (!bild || !ton) return false;
    bild->width = format.width;
    bild->height = format.height;
    bild->pix_fmt = AV_PIX_FMT_YUVJ420P;
    bild->color_range = AVCOL_RANGE_JPEG;
    bild->time_base = {1, format.picturesPerSecond};
    bild->framerate = {format.picturesPerSecond, 1};
    bild->flags |= AV_CODEC_FLAG_QSCALE;
    bild->global_quality = FF_QP2LAMBDA * format.quantiser;
    ton->sample_fmt = AV_SAMPLE_FMT_S16;
    ton->sample_rate = format.soundRate;
    ton->time_base = {1, format.soundRate};
    av_channel_layout_default(&kanaele, format.soundChannels);
    if (av_channel_layout_copy(&ton->ch_layout, &kanaele) < 0) return false;
    if (avcodec_open2(bild, nullptr, nullptr) < 0 || avcodec_open2(ton, nullptr, nullptr) < 0) return false;

    bildStrom = avformat_new_stream(oc, nullptr);
    tonStrom = avformat_new_stream(oc, nullptr);
    if (!bildStrom || !tonStrom) return false;
    avcodec_parameters_from_context(bildStrom->codecpar, bild);
    avcodec_parameters_from_context(tonStrom->codecpar, ton);
    bildStrom->time_base = bild->time_base;
    tonStrom->time_base = ton->time_base;
    frame = av_frame_alloc();
    pkt = av_packet_alloc();
    return frame && pkt && avformat_write_header(oc, nullptr) >= 0;
  }
};

AviWriter::AviWriter(const AviFormat& format) : impl_(std::make_unique<Impl>()) {
  // libav's scaler warns of the full-range picture format the Motion-JPEG encoder wants.
  av_log_set_level(AV_LOG_ERROR);
  impl_->ok = impl_->Oeffnen(format);
}

AviWriter::~AviWriter() = default;

bool AviWriter::Picture(const Image& picture) {
  Impl& k = *impl_;
  if (!k.ok) return false;
  k.sws = sws_getCachedContext(k.sws, picture.width, picture.height, AV_PIX_FMT_BGR0, k.bild->width, k.bild->height,
                               AV_PIX_FMT_YUVJ420P, SWS_AREA | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr,
                               nullptr);
  AVFrame* f = k.frame;
  av_frame_unref(f);
  f->format = AV_PIX_FMT_YUVJ420P;
  f->width = k.bild->width;
  f->height = k.bild->height;
  f->color_range = AVCOL_RANGE_JPEG;
  k.ok = k.sws && av_frame_get_buffer(f, 0) >= 0;
  if (!k.ok) return false;
  const uint8_t* quelle[4] = {reinterpret_cast<const uint8_t*>(picture.pixels.data()), nullptr, nullptr, nullptr};
  const int schritt[4] = {picture.width * 4, 0, 0, 0};
  sws_scale(k.sws, quelle, schritt, 0, picture.height, f->data, f->linesize);
  f->pts = k.bilder++;
  f->quality = k.bild->global_quality;
  return k.ok = k.Ausgeben(k.bild, k.bildStrom, f);
}

bool AviWriter::Sound(const int16_t* samples, int frames) {
  Impl& k = *impl_;
  if (!k.ok) return false;
  AVFrame* f = k.frame;
  av_frame_unref(f);
  f->format = AV_SAMPLE_FMT_S16;
  f->sample_rate = k.ton->sample_rate;
  f->nb_samples = frames;
  k.ok = av_channel_layout_copy(&f->ch_layout, &k.kanaele) >= 0 && av_frame_get_buffer(f, 0) >= 0;
  if (!k.ok) return false;
  std::memcpy(f->data[0], samples, static_cast<size_t>(frames) * k.kanaele.nb_channels * 2);
  f->pts = k.tonFrames;
  k.tonFrames += frames;
  return k.ok = k.Ausgeben(k.ton, k.tonStrom, f);
}

std::vector<uint8_t> AviWriter::Finish() {
  Impl& k = *impl_;
  k.ok = k.ok && k.Ausgeben(k.bild, k.bildStrom, nullptr) && k.Ausgeben(k.ton, k.tonStrom, nullptr) &&
         av_write_trailer(k.oc) >= 0;
  if (!k.ok) return {};
  avio_flush(k.oc->pb);
  return k.puffer.bytes;
}

}  // namespace tools
