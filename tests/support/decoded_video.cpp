#include "tests/support/decoded_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <memory>

namespace {

struct Decoder {
    AVCodecContext *codec = nullptr;
    int stream = -1;
    ~Decoder() { avcodec_free_context(&codec); }
};

bool openDecoder(AVFormatContext *input, AVMediaType type, Decoder &decoder) {
    decoder.stream = av_find_best_stream(input, type, -1, -1, nullptr, 0);
    if (decoder.stream < 0) return false;
    const AVCodecParameters *parameters = input->streams[decoder.stream]->codecpar;
    const AVCodec *codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec) return false;
    decoder.codec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder.codec, parameters);
    decoder.codec->pkt_timebase = input->streams[decoder.stream]->time_base;
    return avcodec_open2(decoder.codec, codec, nullptr) >= 0;
}

// Back to RGBA with the BT.709 limited-range matrix the files are tagged with.
std::vector<uint8_t> toRgba(const AVFrame *frame) {
    SwsContext *converter = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                           frame->height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    const int *bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(converter, bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
    std::vector<uint8_t> rgba(size_t(frame->width) * frame->height * 4);
    const int stride = frame->width * 4;
    uint8_t *planes[1] = {rgba.data() + size_t(frame->height - 1) * stride};   // bottom row first
    const int strides[1] = {-stride};
    sws_scale(converter, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(converter);
    return rgba;
}

// The planes of a yuv420p frame without their row padding.
std::vector<uint8_t> packedPlanes(const AVFrame *frame) {
    std::vector<uint8_t> planes;
    for (int plane = 0; plane < 3; ++plane) {
        const int width = plane == 0 ? frame->width : (frame->width + 1) / 2;
        const int height = plane == 0 ? frame->height : (frame->height + 1) / 2;
        for (int y = 0; y < height; ++y) {
            const uint8_t *row = frame->data[plane] + size_t(y) * frame->linesize[plane];
            planes.insert(planes.end(), row, row + width);
        }
    }
    return planes;
}

void takeFrames(DecodedVideo &video, Decoder &decoder, AVFrame *frame, bool isVideo, int64_t keepFrame) {
    while (avcodec_receive_frame(decoder.codec, frame) >= 0) {
        if (isVideo) {
            if (video.frames == keepFrame) {
                video.frame = toRgba(frame);
                if (frame->format == AV_PIX_FMT_YUV420P) video.frameYuv = packedPlanes(frame);
            }
            ++video.frames;
        } else {
            for (int c = 0; c < frame->ch_layout.nb_channels; ++c) {
                for (int i = 0; i < frame->nb_samples; ++i) {
                    float v = frame->format == AV_SAMPLE_FMT_FLTP
                                  ? reinterpret_cast<const float *>(frame->extended_data[c])[i]
                                  : frame->format == AV_SAMPLE_FMT_FLT
                                        ? reinterpret_cast<const float *>(frame->data[0])[i * frame->ch_layout.nb_channels + c]
                                        : 0.0f;
                    video.soundPeak = std::max(video.soundPeak, std::fabs(v));
                }
            }
        }
        av_frame_unref(frame);
    }
}

}  // namespace

DecodedVideo decodeVideo(const std::string &path, int64_t keepFrame) {
    DecodedVideo video;
    AVFormatContext *input = nullptr;
    if (avformat_open_input(&input, path.c_str(), nullptr, nullptr) < 0) {
        video.error = "cannot open " + path;
        return video;
    }
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext *)> closer(input, [](AVFormatContext *c) {
        avformat_close_input(&c);
    });
    avformat_find_stream_info(input, nullptr);
    Decoder pictures, sound;
    if (!openDecoder(input, AVMEDIA_TYPE_VIDEO, pictures) || !openDecoder(input, AVMEDIA_TYPE_AUDIO, sound)) {
        video.error = "a video and an audio stream are expected";
        return video;
    }
    video.videoCodec = pictures.codec->codec->name;
    video.audioCodec = sound.codec->codec->name;
    if (video.audioCodec == "libopus") video.audioCodec = "opus";
    video.width = pictures.codec->width;
    video.height = pictures.codec->height;
    video.fps = av_q2d(input->streams[pictures.stream]->avg_frame_rate);
    video.sampleRate = sound.codec->sample_rate;
    video.channels = sound.codec->ch_layout.nb_channels;

    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    while (av_read_frame(input, packet) >= 0) {
        const AVStream *stream = input->streams[packet->stream_index];
        const double end = double(packet->pts + packet->duration) * av_q2d(stream->time_base);
        if (packet->stream_index == pictures.stream) video.videoSeconds = std::max(video.videoSeconds, end);
        if (packet->stream_index == sound.stream) video.soundSeconds = std::max(video.soundSeconds, end);
        Decoder *decoder = packet->stream_index == pictures.stream ? &pictures
                           : packet->stream_index == sound.stream ? &sound
                                                                  : nullptr;
        if (decoder && avcodec_send_packet(decoder->codec, packet) >= 0) {
            takeFrames(video, *decoder, frame, decoder == &pictures, keepFrame);
        }
        av_packet_unref(packet);
    }
    for (Decoder *decoder : {&pictures, &sound}) {
        avcodec_send_packet(decoder->codec, nullptr);
        takeFrames(video, *decoder, frame, decoder == &pictures, keepFrame);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    video.ok = true;
    return video;
}

std::vector<uint8_t> toYuv420(const std::vector<uint8_t> &rgba, int width, int height) {
    SwsContext *converter = sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, AV_PIX_FMT_YUV420P,
                                           SWS_BILINEAR, nullptr, nullptr, nullptr);
    const int *bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(converter, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    AVFrame *yuv = av_frame_alloc();
    yuv->format = AV_PIX_FMT_YUV420P;
    yuv->width = width;
    yuv->height = height;
    av_frame_get_buffer(yuv, 0);
    const int stride = width * 4;
    const uint8_t *planes[1] = {rgba.data() + size_t(height - 1) * stride};   // upright
    const int strides[1] = {-stride};
    sws_scale(converter, planes, strides, 0, height, yuv->data, yuv->linesize);
    sws_freeContext(converter);
    std::vector<uint8_t> packed = packedPlanes(yuv);
    av_frame_free(&yuv);
    return packed;
}

double psnr(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = double(a[i]) - double(b[i]);
        sum += d * d;
    }
    if (sum == 0) return 1000;
    return 10 * std::log10(255.0 * 255.0 / (sum / double(a.size())));
}
