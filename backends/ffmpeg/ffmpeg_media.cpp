#include "backends/ffmpeg/ffmpeg_media.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

#include "media/clip_plan.h"
#include "media/jpeg_probe.h"
#include "media/pcm_convert.h"

namespace {

// No single allocation of FFmpeg's may exceed this. The largest a file
// that plays needs is a decoded picture (at most kMaxClipDecodePixels, a few
// bytes each); a damaged header can ask for gigabytes (an AVI stream format
// of 1.6 GB in a file of 600 bytes), which is refused instead.
constexpr std::size_t kMaxFfmpegAllocation = std::size_t{256} << 20;

// FFmpeg's settings for the whole program, once: its messages off, its
// allocations bounded.
void quietFfmpeg() {
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_QUIET);
        av_max_alloc(kMaxFfmpegAllocation);
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
    // Opens the file and its best stream of `type`, then its decoder after
    // `configure` has set it up (false from it refuses the stream).
    bool Open(const std::string& path, AVMediaType type,
              const std::function<bool(AVCodecContext&, const AVCodec&)>& configure = {}) {
        quietFfmpeg();
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return false;
        if (!findStreamInfo(type)) return false;
        const AVCodec* decoder = nullptr;
        stream = av_find_best_stream(format, type, -1, -1, &decoder, 0);
        if (stream < 0 || !decoder) return false;
        codec = avcodec_alloc_context3(decoder);
        if (!codec) return false;
        if (avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) < 0)
            return false;
        codec->thread_count = 1; // the same frames on every run
        if (configure && !configure(*codec, *decoder)) return false;
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
            if (packet->stream_index == stream && (!accept || accept(*packet)))
                avcodec_send_packet(codec, packet);
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
    // Which packets of the stream go to the decoder (all without it).
    std::function<bool(const AVPacket&)> accept;

  private:
    // Reads the streams' parameters. The probe decodes a picture of a video
    // stream, so no larger one than a clip may have is decoded for it; a
    // stream whose picture was too large for that keeps the size its header
    // gave, for the clip's plan to refuse or reduce.
    bool findStreamInfo(AVMediaType type) {
        if (type != AVMEDIA_TYPE_VIDEO) return avformat_find_stream_info(format, nullptr) >= 0;
        const unsigned count = format->nb_streams;
        std::vector<AVDictionary*> options(count, nullptr);
        std::vector<std::pair<int, int>> headerSizes;
        for (unsigned i = 0; i < count; ++i) {
            av_dict_set_int(&options[i], "max_pixels", kMaxClipDecodePixels, 0);
            const AVCodecParameters* p = format->streams[i]->codecpar;
            headerSizes.emplace_back(p->width, p->height);
        }
        const int probed = avformat_find_stream_info(format, options.data());
        for (AVDictionary*& o : options) av_dict_free(&o);
        for (unsigned i = 0; i < count && i < format->nb_streams; ++i) {
            AVCodecParameters* p = format->streams[i]->codecpar;
            if (p->width <= 0 || p->height <= 0) std::tie(p->width, p->height) = headerSizes[i];
        }
        return probed >= 0;
    }
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
    ~VideoFileStream() override {
        sws_freeContext(scaler_);
        av_frame_free(&pending_);
        av_frame_free(&due_);
    }

    // A failure without text when the file has no video to decode; with
    // the reason when its pictures are too large.
    Loaded<> Open(const std::string& path) {
        pending_ = av_frame_alloc();
        due_ = av_frame_alloc();
        if (!pending_ || !due_) return LoadFailure{};
        std::string refusal;
        const bool opened =
            in_.Open(path, AVMEDIA_TYPE_VIDEO, [&](AVCodecContext& codec, const AVCodec& decoder) {
                source_ = {codec.width, codec.height};
                if (source_.width <= 0 && source_.height <= 0) return false; // size unknown
                Loaded<ClipPlan> plan = PlanClip(source_, decoder.max_lowres);
                if (!plan) {
                    refusal = plan.error;
                    return false;
                }
                limitDecoder(codec, *plan);
                return true;
            });
        if (!refusal.empty()) return LoadFailure{refusal};
        if (!opened) return LoadFailure{};
        const AVStream* stream = in_.format->streams[in_.stream];
        if (stream->duration > 0)
            lengthMs_ = av_rescale_q(stream->duration, stream->time_base, {1, 1000});
        else if (in_.format->duration > 0)
            lengthMs_ = in_.format->duration / (AV_TIME_BASE / 1000);
        if (lengthMs_ <= 0) return LoadFailure{};
        return LoadedDone();
    }

    std::int64_t LengthMs() const override { return lengthMs_; }
    ClipSize SourceSize() const override { return source_; }
    ClipSize DecodedSize() const override { return decoded_; }

    // Decodes up to `ms`; only the last picture due is converted, into the
    // one picture kept.
    const VideoPicture* PictureAt(std::int64_t ms) override {
        bool advanced = false;
        for (;;) {
            if (!havePending_ && !decode()) break;
            if (pendingMs_ > ms) break;
            av_frame_unref(due_);
            av_frame_move_ref(due_, pending_);
            havePending_ = false;
            advanced = true;
        }
        if (advanced && show(due_)) haveShown_ = true;
        av_frame_unref(due_);
        return haveShown_ ? &shown_ : nullptr;
    }

  private:
    // The decoder reduces as planned and never holds a picture larger than
    // the clip's own (a little padding allowed) or, unreduced, than the
    // limit. FFmpeg checks the whole size against max_pixels, so reduced it
    // is the clip's size. Motion-JPEG pictures are looked at before
    // decoding: one larger than the clip, or progressive beyond the limit
    // (its decoder keeps the whole picture's coefficients), is skipped.
    void limitDecoder(AVCodecContext& codec, const ClipPlan& plan) {
        const int most = kMaxClipSide;
        const int width = std::min(FFALIGN(source_.width, 16), most);
        const int height = std::min(FFALIGN(source_.height, 16), most);
        codec.lowres = plan.reduction;
        codec.max_pixels = plan.reduction > 0 ? std::int64_t{width} * height : kMaxClipDecodePixels;
        decoded_ = plan.decoded;
        if (codec.codec_id == AV_CODEC_ID_MJPEG)
            in_.accept = [width, height](const AVPacket& packet) {
                return JpegFrameAcceptable({packet.data, static_cast<std::size_t>(packet.size)},
                                           width, height, kMaxClipDecodePixels);
            };
    }

    bool decode() {
        if (!in_.Next()) return false;
        av_frame_unref(pending_);
        av_frame_move_ref(pending_, in_.frame);
        const std::int64_t pts = pending_->best_effort_timestamp;
        pendingMs_ = pts == AV_NOPTS_VALUE ? lastMs_ : av_rescale_q(pts, in_.TimeBase(), {1, 1000});
        lastMs_ = pendingMs_;
        havePending_ = true;
        return true;
    }

    // The frame as RGB, scaled down to fit the largest picture.
    bool show(const AVFrame* f) {
        const ClipSize from{f->width, f->height};
        if (!DecodedClipFits(from)) return false;
        const ClipSize to = FitClipPicture(from);
        const bool same = to.width == from.width && to.height == from.height;
        scaler_ = sws_getCachedContext(scaler_, from.width, from.height,
                                       static_cast<AVPixelFormat>(f->format), to.width, to.height,
                                       AV_PIX_FMT_RGB24, same ? SWS_POINT : SWS_AREA | SWS_BITEXACT,
                                       nullptr, nullptr, nullptr);
        if (!scaler_) return false;
        shown_.width = to.width;
        shown_.height = to.height;
        shown_.rgb.assign(static_cast<std::size_t>(to.width) * to.height * 3, 0);
        std::uint8_t* planes[1] = {shown_.rgb.data()};
        const int strides[1] = {to.width * 3};
        sws_scale(scaler_, f->data, f->linesize, 0, from.height, planes, strides);
        return true;
    }

    Decoding in_;
    SwsContext* scaler_ = nullptr;
    std::int64_t lengthMs_ = 0;
    ClipSize source_, decoded_;
    VideoPicture shown_;
    AVFrame* pending_ = nullptr; // decoded, not yet due
    AVFrame* due_ = nullptr;
    std::int64_t pendingMs_ = 0, lastMs_ = 0;
    bool haveShown_ = false, havePending_ = false;
};

} // namespace

std::unique_ptr<MusicStream> FfmpegAudioFile(const std::string& path) {
    auto stream = std::make_unique<AudioFileStream>();
    if (!stream->Open(path)) return nullptr;
    return stream;
}

Loaded<std::unique_ptr<VideoStream>> FfmpegVideo(const std::string& path) {
    auto stream = std::make_unique<VideoFileStream>();
    const Loaded<> opened = stream->Open(path);
    if (!opened) return LoadFailure{opened.error};
    return LoadedValue<std::unique_ptr<VideoStream>>(std::move(stream));
}
