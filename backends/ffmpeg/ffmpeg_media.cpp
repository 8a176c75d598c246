#include "backends/ffmpeg/ffmpeg_media.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <vector>

#include "media/pcm_convert.h"

namespace {

void quietFfmpeg() {
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_QUIET);
        return true;
    }();
    (void)quiet;
}

// One stream of a file with its decoder: the packets of that stream are fed
// to the decoder, and frames come out in order until the end.
class Decoding {
  public:
    ~Decoding() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
    bool Open(const std::string& path, AVMediaType type) {
        quietFfmpeg();
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return false;
        if (avformat_find_stream_info(format, nullptr) < 0) return false;
        const AVCodec* decoder = nullptr;
        stream = av_find_best_stream(format, type, -1, -1, &decoder, 0);
        if (stream < 0 || !decoder) return false;
        codec = avcodec_alloc_context3(decoder);
        if (!codec) return false;
        if (avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) < 0)
            return false;
        codec->thread_count = 1; // the same frames on every run
        if (avcodec_open2(codec, decoder, nullptr) < 0) return false;
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        return packet && frame;
    }
    // The next decoded frame in `frame`; false at the end or on an error.
    bool Next() {
        for (;;) {
            const int got = avcodec_receive_frame(codec, frame);
            if (got == 0) return true;
            if (got != AVERROR(EAGAIN) || drained) return false;
            if (av_read_frame(format, packet) < 0) {
                avcodec_send_packet(codec, nullptr); // drain what the decoder holds
                drained = true;
                continue;
            }
            if (packet->stream_index == stream) avcodec_send_packet(codec, packet);
            av_packet_unref(packet);
        }
    }
    AVRational TimeBase() const { return format->streams[stream]->time_base; }

    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    bool drained = false;
};

class AudioFileStream : public MusicStream {
  public:
    ~AudioFileStream() override { swr_free(&resampler_); }

    bool Open(const std::string& path) {
        if (!in_.Open(path, AVMEDIA_TYPE_AUDIO)) return false;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        AVChannelLayout source;
        if (in_.codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&source, in_.codec->ch_layout.nb_channels);
        else if (av_channel_layout_copy(&source, &in_.codec->ch_layout) < 0)
            return false;
        const int made =
            swr_alloc_set_opts2(&resampler_, &stereo, AV_SAMPLE_FMT_FLT, kDeviceRate, &source,
                                in_.codec->sample_fmt, in_.codec->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&source);
        return made >= 0 && swr_init(resampler_) >= 0;
    }

    int Read(float* stereo, int frames) override {
        int done = 0;
        while (done < frames) {
            if (used_ == pending_.size() / 2 && !refill()) break;
            const std::size_t n = std::min<std::size_t>(frames - done, pending_.size() / 2 - used_);
            std::copy_n(pending_.data() + 2 * used_, 2 * n, stereo + 2 * done);
            used_ += n;
            done += static_cast<int>(n);
        }
        return done;
    }

  private:
    // Resamples the next frame (or, at the end, what the resampler holds).
    bool refill() {
        pending_.clear();
        used_ = 0;
        while (pending_.empty()) {
            const bool more = !ended_ && in_.Next();
            if (!more) ended_ = true;
            const int inSamples = more ? in_.frame->nb_samples : 0;
            const int room = swr_get_out_samples(resampler_, inSamples);
            if (room <= 0) return false;
            pending_.resize(static_cast<std::size_t>(room) * 2);
            auto* out = reinterpret_cast<std::uint8_t*>(pending_.data());
            const int got = swr_convert(
                resampler_, &out, room,
                more ? const_cast<const std::uint8_t**>(in_.frame->extended_data) : nullptr,
                inSamples);
            pending_.resize(static_cast<std::size_t>(std::max(got, 0)) * 2);
            if (!more && pending_.empty()) return false;
        }
        return true;
    }

    Decoding in_;
    SwrContext* resampler_ = nullptr;
    std::vector<float> pending_;
    std::size_t used_ = 0;
    bool ended_ = false;
};

class VideoFileStream : public VideoStream {
  public:
    ~VideoFileStream() override { sws_freeContext(scaler_); }

    bool Open(const std::string& path) {
        if (!in_.Open(path, AVMEDIA_TYPE_VIDEO)) return false;
        if (in_.codec->width <= 0 || in_.codec->height <= 0) return false;
        const AVStream* stream = in_.format->streams[in_.stream];
        if (stream->duration > 0)
            lengthMs_ = av_rescale_q(stream->duration, stream->time_base, {1, 1000});
        else if (in_.format->duration > 0)
            lengthMs_ = in_.format->duration / (AV_TIME_BASE / 1000);
        return lengthMs_ > 0;
    }

    std::int64_t LengthMs() const override { return lengthMs_; }

    const VideoPicture* PictureAt(std::int64_t ms) override {
        for (;;) {
            if (!havePending_ && !decode()) break;
            if (pendingMs_ > ms) break;
            std::swap(shown_, pending_);
            havePending_ = false;
            haveShown_ = true;
        }
        return haveShown_ ? &shown_ : nullptr;
    }

  private:
    bool decode() {
        if (!in_.Next()) return false;
        AVFrame* f = in_.frame;
        scaler_ = sws_getCachedContext(scaler_, f->width, f->height,
                                       static_cast<AVPixelFormat>(f->format), f->width, f->height,
                                       AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
        if (!scaler_) return false;
        pending_.width = f->width;
        pending_.height = f->height;
        pending_.rgb.resize(static_cast<std::size_t>(f->width) * f->height * 3);
        std::uint8_t* planes[1] = {pending_.rgb.data()};
        const int strides[1] = {f->width * 3};
        sws_scale(scaler_, f->data, f->linesize, 0, f->height, planes, strides);
        const std::int64_t pts = f->best_effort_timestamp;
        pendingMs_ = pts == AV_NOPTS_VALUE ? lastMs_ : av_rescale_q(pts, in_.TimeBase(), {1, 1000});
        lastMs_ = pendingMs_;
        havePending_ = true;
        return true;
    }

    Decoding in_;
    SwsContext* scaler_ = nullptr;
    std::int64_t lengthMs_ = 0;
    VideoPicture shown_, pending_;
    std::int64_t pendingMs_ = 0, lastMs_ = 0;
    bool haveShown_ = false, havePending_ = false;
};

} // namespace

std::unique_ptr<MusicStream> FfmpegAudioFile(const std::string& path) {
    auto stream = std::make_unique<AudioFileStream>();
    if (!stream->Open(path)) return nullptr;
    return stream;
}

std::unique_ptr<VideoStream> FfmpegVideo(const std::string& path) {
    auto stream = std::make_unique<VideoFileStream>();
    if (!stream->Open(path)) return nullptr;
    return stream;
}
