#include "platform/video_file.h"

extern "C" {
#include <libavcodec/avcodec.h>     // H.264, VP9, AAC and Opus encoders
#include <libavformat/avformat.h>   // MP4, Matroska and WebM muxers
#include <libavutil/opt.h>          // encoder options (preset, crf, ...)
#include <libswscale/swscale.h>     // RGBA to yuv420p
}

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// What each container is written with.
struct ContainerCodecs {
    const char *muxer;
    const char *videoEncoder;
    const char *audioEncoder;
    int64_t audioBitRate;   // bits per second
};

ContainerCodecs codecsOf(VideoContainer container) {
    switch (container) {
        case VideoContainer::Mp4: return {"mp4", "libx264", "aac", 192000};
        case VideoContainer::Matroska: return {"matroska", "libx264", "aac", 192000};
        case VideoContainer::WebM: return {"webm", "libvpx-vp9", "libopus", 160000};
        case VideoContainer::None: break;
    }
    return {nullptr, nullptr, nullptr, 0};
}

std::string ffmpegError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

}  // namespace

struct VideoFile {
    VideoFileFormat format;
    AVFormatContext *muxer = nullptr;
    AVCodecContext *video = nullptr;
    AVCodecContext *audio = nullptr;
    AVStream *videoStream = nullptr;
    AVStream *audioStream = nullptr;
    SwsContext *converter = nullptr;
    AVFrame *yuvFrame = nullptr;
    AVFrame *soundFrame = nullptr;
    AVPacket *packet = nullptr;
    int64_t framesWritten = 0;          // video frames handed to the encoder
    int64_t soundFramesWritten = 0;     // sound frames handed to the encoder
    std::vector<float> pendingSound;    // interleaved stereo, less than one encoder frame
    bool failed = false;
    std::string failure;
    VideoFileTimes times;
};

namespace {

bool failWith(VideoFile &file, const std::string &reason) {
    if (!file.failed) file.failure = reason;
    file.failed = true;
    return false;
}

// Takes every packet the encoder has ready and hands it to the muxer.
bool drainEncoder(VideoFile &file, AVCodecContext *codec, AVStream *stream) {
    for (;;) {
        int result = avcodec_receive_packet(codec, file.packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
        if (result < 0) return failWith(file, "encoding failed: " + ffmpegError(result));
        // Every picture lasts one frame: the muxer needs that to time the last one.
        if (codec == file.video && file.packet->duration == 0) file.packet->duration = 1;
        av_packet_rescale_ts(file.packet, codec->time_base, stream->time_base);
        file.packet->stream_index = stream->index;
        result = av_interleaved_write_frame(file.muxer, file.packet);
        if (result < 0) return failWith(file, "cannot write: " + ffmpegError(result));
    }
}

bool encode(VideoFile &file, AVCodecContext *codec, AVStream *stream, const AVFrame *frame) {
    int result = avcodec_send_frame(codec, frame);
    if (result < 0 && result != AVERROR_EOF) return failWith(file, "encoding failed: " + ffmpegError(result));
    return drainEncoder(file, codec, stream);
}

AVCodecContext *openVideoEncoder(VideoFile &file, const char *name) {
    const AVCodec *codec = avcodec_find_encoder_by_name(name);
    if (!codec) return failWith(file, std::string("this FFmpeg has no ") + name + " encoder"), nullptr;
    AVCodecContext *video = avcodec_alloc_context3(codec);
    const VideoFileFormat &format = file.format;
    video->width = format.width;
    video->height = format.height;
    video->time_base = AVRational{1, format.fps};
    video->framerate = AVRational{format.fps, 1};
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    // What the colour conversion below produces: BT.709 in the limited range.
    video->colorspace = AVCOL_SPC_BT709;
    video->color_primaries = AVCOL_PRI_BT709;
    video->color_trc = AVCOL_TRC_BT709;
    video->color_range = AVCOL_RANGE_MPEG;
    video->thread_count = 0;   // as many threads of its own as the machine has cores
    if (file.muxer->oformat->flags & AVFMT_GLOBALHEADER) video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (format.container == VideoContainer::WebM) {
        // Constant quality (bit rate 0), at the speed meant for live streams.
        video->bit_rate = 0;
        av_opt_set(video->priv_data, "crf", "32", 0);
        av_opt_set(video->priv_data, "deadline", "realtime", 0);
        av_opt_set(video->priv_data, "cpu-used", "8", 0);
        av_opt_set(video->priv_data, "row-mt", "1", 0);
    } else {
        av_opt_set(video->priv_data, "preset", "veryfast", 0);
        av_opt_set(video->priv_data, "crf", "20", 0);
    }
    int result = avcodec_open2(video, codec, nullptr);
    if (result < 0) {
        avcodec_free_context(&video);
        return failWith(file, std::string(name) + " will not open: " + ffmpegError(result)), nullptr;
    }
    return video;
}

AVCodecContext *openAudioEncoder(VideoFile &file, const char *name, int64_t bitRate) {
    const AVCodec *codec = avcodec_find_encoder_by_name(name);
    if (!codec) return failWith(file, std::string("this FFmpeg has no ") + name + " encoder"), nullptr;
    AVCodecContext *audio = avcodec_alloc_context3(codec);
    // Float samples as they come when the encoder takes them; AAC wants them planar.
    audio->sample_fmt = AV_SAMPLE_FMT_FLT;
    for (const AVSampleFormat *f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == AV_SAMPLE_FMT_FLTP) audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
        if (*f == AV_SAMPLE_FMT_FLT) {
            audio->sample_fmt = AV_SAMPLE_FMT_FLT;
            break;
        }
    }
    audio->sample_rate = file.format.sampleRate;
    audio->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    audio->bit_rate = bitRate;
    audio->time_base = AVRational{1, file.format.sampleRate};
    if (file.muxer->oformat->flags & AVFMT_GLOBALHEADER) audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(audio, codec, nullptr);
    if (result < 0) {
        avcodec_free_context(&audio);
        return failWith(file, std::string(name) + " will not open: " + ffmpegError(result)), nullptr;
    }
    return audio;
}

AVStream *addStream(VideoFile &file, AVCodecContext *codec) {
    AVStream *stream = avformat_new_stream(file.muxer, nullptr);
    if (!stream) return failWith(file, "out of memory"), nullptr;
    avcodec_parameters_from_context(stream->codecpar, codec);
    stream->time_base = codec->time_base;
    // Matroska times packets in milliseconds; the rate itself goes in the track.
    if (codec->codec_type == AVMEDIA_TYPE_VIDEO) stream->avg_frame_rate = codec->framerate;
    return stream;
}

bool prepareConverter(VideoFile &file) {
    const VideoFileFormat &format = file.format;
    const AVPixelFormat input = format.bgra ? AV_PIX_FMT_BGRA : AV_PIX_FMT_RGBA;
    file.converter = sws_getContext(format.width, format.height, input, format.width, format.height,
                                    AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!file.converter) return failWith(file, "no colour conversion to yuv420p");
    const int *bt709 = sws_getCoefficients(SWS_CS_ITU709);
    // Full-range RGB in, limited-range BT.709 out, as the stream is tagged.
    sws_setColorspaceDetails(file.converter, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    file.yuvFrame = av_frame_alloc();
    file.yuvFrame->format = AV_PIX_FMT_YUV420P;
    file.yuvFrame->width = format.width;
    file.yuvFrame->height = format.height;
    if (av_frame_get_buffer(file.yuvFrame, 0) < 0) return failWith(file, "out of memory");
    return true;
}

bool formatInRange(const VideoFileFormat &format) {
    auto evenIn = [](int32_t v) { return v >= 2 && v <= 16384 && v % 2 == 0; };
    return codecsOf(format.container).muxer && evenIn(format.width) && evenIn(format.height) && format.fps >= 1 &&
           format.fps <= 1000 && format.sampleRate >= 8000 && format.sampleRate <= 192000;
}

// Hands the pending sound to the encoder in its frame size; with flush, also
// the last, shorter frame.
bool encodePendingSound(VideoFile &file, bool flush) {
    AVCodecContext *audio = file.audio;
    const size_t frameSize = audio->frame_size > 0 ? size_t(audio->frame_size) : 1024;
    size_t offset = 0;   // sound frames of pendingSound already encoded
    const size_t available = file.pendingSound.size() / 2;
    while (available - offset >= frameSize || (flush && offset < available)) {
        const size_t count = std::min(frameSize, available - offset);
        AVFrame *frame = file.soundFrame;
        av_frame_unref(frame);
        frame->format = audio->sample_fmt;
        frame->sample_rate = audio->sample_rate;
        frame->nb_samples = int(count);
        av_channel_layout_copy(&frame->ch_layout, &audio->ch_layout);
        if (av_frame_get_buffer(frame, 0) < 0) return failWith(file, "out of memory");
        const float *in = file.pendingSound.data() + offset * 2;
        if (audio->sample_fmt == AV_SAMPLE_FMT_FLTP) {
            auto *left = reinterpret_cast<float *>(frame->data[0]);
            auto *right = reinterpret_cast<float *>(frame->data[1]);
            for (size_t i = 0; i < count; ++i) {
                left[i] = in[2 * i];
                right[i] = in[2 * i + 1];
            }
        } else {
            std::copy(in, in + count * 2, reinterpret_cast<float *>(frame->data[0]));
        }
        frame->pts = file.soundFramesWritten;
        file.soundFramesWritten += int64_t(count);
        offset += count;
        if (!encode(file, audio, file.audioStream, frame)) return false;
    }
    file.pendingSound.erase(file.pendingSound.begin(), file.pendingSound.begin() + ptrdiff_t(offset * 2));
    return true;
}

}  // namespace

VideoFile *videoFileOpen(const std::string &path, const VideoFileFormat &format, std::string &error) {
    if (!formatInRange(format)) {
        error = "unsupported video format";
        return nullptr;
    }
    auto *file = new VideoFile;
    file->format = format;
    const ContainerCodecs codecs = codecsOf(format.container);
    // "file:" keeps a name with a colon from being taken for a protocol.
    const std::string url = "file:" + path;
    // Failures come back as results and are said once, by the caller.
    av_log_set_level(AV_LOG_QUIET);
    int result = avformat_alloc_output_context2(&file->muxer, nullptr, codecs.muxer, url.c_str());
    if (result < 0 || !file->muxer) {
        failWith(*file, std::string("no ") + codecs.muxer + " muxer: " + ffmpegError(result));
    } else if ((file->video = openVideoEncoder(*file, codecs.videoEncoder)) &&
               (file->audio = openAudioEncoder(*file, codecs.audioEncoder, codecs.audioBitRate)) &&
               (file->videoStream = addStream(*file, file->video)) &&
               (file->audioStream = addStream(*file, file->audio)) && prepareConverter(*file)) {
        result = avio_open(&file->muxer->pb, url.c_str(), AVIO_FLAG_WRITE);
        if (result < 0) failWith(*file, ffmpegError(result));
    }
    if (!file->failed) {
        AVDictionary *options = nullptr;
        // The index first, so that a player can start before the whole file has come.
        if (format.container == VideoContainer::Mp4) av_dict_set(&options, "movflags", "+faststart", 0);
        result = avformat_write_header(file->muxer, &options);
        av_dict_free(&options);
        if (result < 0) failWith(*file, "cannot write: " + ffmpegError(result));
    }
    if (file->failed) {
        error = file->failure;
        videoFileClose(file);
        return nullptr;
    }
    file->soundFrame = av_frame_alloc();
    file->packet = av_packet_alloc();
    return file;
}

bool videoFileWriteFrame(VideoFile *file, const uint8_t *pixels) {
    if (!file || file->failed || !pixels) return false;
    const Clock::time_point start = Clock::now();
    if (av_frame_make_writable(file->yuvFrame) < 0) return failWith(*file, "out of memory");
    const VideoFileFormat &format = file->format;
    const int stride = format.width * 4;
    // The last row first: a negative stride turns the bottom-up frame upright.
    const uint8_t *planes[1] = {pixels + size_t(format.height - 1) * size_t(stride)};
    const int strides[1] = {-stride};
    sws_scale(file->converter, planes, strides, 0, format.height, file->yuvFrame->data, file->yuvFrame->linesize);
    const Clock::time_point converted = Clock::now();
    file->times.convert += std::chrono::duration<double>(converted - start).count();
    file->yuvFrame->pts = file->framesWritten++;
    const bool ok = encode(*file, file->video, file->videoStream, file->yuvFrame);
    file->times.encode += secondsSince(converted);
    return ok;
}

bool videoFileWriteSound(VideoFile *file, const float *stereo, size_t frames) {
    if (!file || file->failed || (!stereo && frames > 0)) return false;
    const Clock::time_point start = Clock::now();
    file->pendingSound.insert(file->pendingSound.end(), stereo, stereo + frames * 2);
    const bool ok = encodePendingSound(*file, false);
    file->times.encode += secondsSince(start);
    return ok;
}

bool videoFileFinish(VideoFile *file, std::string &error) {
    if (!file) return false;
    const Clock::time_point start = Clock::now();
    if (!file->failed && encodePendingSound(*file, true) && encode(*file, file->audio, file->audioStream, nullptr) &&
        encode(*file, file->video, file->videoStream, nullptr)) {
        int result = av_write_trailer(file->muxer);
        if (result < 0) failWith(*file, "cannot write: " + ffmpegError(result));
        if (!file->failed) {
            result = avio_closep(&file->muxer->pb);
            if (result < 0) failWith(*file, "cannot write: " + ffmpegError(result));
        }
    }
    file->times.encode += secondsSince(start);
    if (file->failed) error = file->failure;
    return !file->failed;
}

void videoFileClose(VideoFile *file) {
    if (!file) return;
    if (file->muxer) {
        if (file->muxer->pb) avio_closep(&file->muxer->pb);
        avformat_free_context(file->muxer);
    }
    avcodec_free_context(&file->video);
    avcodec_free_context(&file->audio);
    sws_freeContext(file->converter);
    av_frame_free(&file->yuvFrame);
    av_frame_free(&file->soundFrame);
    av_packet_free(&file->packet);
    delete file;
}

VideoFileTimes videoFileTimes(const VideoFile *file) { return file ? file->times : VideoFileTimes{}; }
