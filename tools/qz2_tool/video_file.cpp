// A video file with one picture stream and one sound stream, encoded with FFmpeg's libraries.
#include "tools/qz2_tool/video_file.h"

#include <cstdio>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

struct Container {
  const char* extension;
  const char* format;
  const char* videoCodec;
  const char* soundCodec;
};

constexpr Container kContainers[] = {
    {".mp4", "mp4", "libx264", "aac"},
    {".mkv", "matroska", "libx264", "aac"},
    {".webm", "webm", "libvpx-vp9", "libopus"},
};

constexpr int64_t kSoundBitRate = 192000;
// A fixed thread count keeps the encoded frames the same from one capture to the next.
constexpr int kEncoderThreads = 2;

const Container* ContainerFor(const char* path) {
  const char* dot = std::strrchr(path, '.');
  if (!dot || std::strchr(dot, '/')) return nullptr;
  for (const Container& c : kContainers) {
    if (strcasecmp(dot, c.extension) == 0) return &c;
  }
  return nullptr;
}

std::string FfmpegError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

}  // namespace

bool VideoContainerKnown(const char* path) { return ContainerFor(path) != nullptr; }

VideoFile::~VideoFile() {
  if (format_ && format_->pb) avio_closep(&format_->pb);
  avformat_free_context(format_);
  avcodec_free_context(&video_);
  avcodec_free_context(&sound_);
  av_frame_free(&picture_);
  av_frame_free(&soundFrame_);
  av_packet_free(&packet_);
  sws_freeContext(scaler_);
  swr_free(&converter_);
}

bool VideoFile::Open(const char* path, const VideoSettings& settings, std::string& error) {
  settings_ = settings;
  // The encoders' own statistics would drown the progress line.
  av_log_set_level(AV_LOG_ERROR);
  const Container* container = ContainerFor(path);
  if (!container) {
    error = "unknown container (the file name must end in .mp4, .mkv or .webm)";
    return false;
  }
  int result = avformat_alloc_output_context2(&format_, nullptr, container->format, path);
  if (result < 0) {
    error = "cannot make a " + std::string(container->format) + " file: " + FfmpegError(result);
    return false;
  }
  packet_ = av_packet_alloc();
  if (!packet_ || !OpenVideo(container->videoCodec, error) || !OpenSound(container->soundCodec, error)) return false;
  result = avio_open(&format_->pb, path, AVIO_FLAG_WRITE);
  if (result < 0) {
    error = "cannot write " + std::string(path) + ": " + FfmpegError(result);
    return false;
  }
  result = avformat_write_header(format_, nullptr);
  if (result < 0) {
    error = "cannot start " + std::string(path) + ": " + FfmpegError(result);
    avio_closep(&format_->pb);
    std::remove(path);
    return false;
  }
  headerWritten_ = true;
  return true;
}

bool VideoFile::OpenVideo(const char* name, std::string& error) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (!codec || !(videoStream_ = avformat_new_stream(format_, nullptr)) || !(video_ = avcodec_alloc_context3(codec))) {
    error = std::string("no ") + name + " encoder";
    return false;
  }
  video_->width = settings_.width;
  video_->height = settings_.height;
  video_->time_base = AVRational{1, settings_.fps};
  video_->framerate = AVRational{settings_.fps, 1};
  video_->pix_fmt = AV_PIX_FMT_YUV420P;
  video_->gop_size = settings_.fps * 2;
  // Frames in display order only: every frame decodes back where it was put, with no reordering delay.
  video_->max_b_frames = 0;
  video_->thread_count = kEncoderThreads;
  if (std::strcmp(name, "libx264") == 0) {
    av_opt_set(video_->priv_data, "preset", "veryfast", 0);
    av_opt_set(video_->priv_data, "crf", "18", 0);
  } else {
    av_opt_set(video_->priv_data, "deadline", "realtime", 0);
    av_opt_set(video_->priv_data, "cpu-used", "8", 0);
    av_opt_set(video_->priv_data, "crf", "24", 0);
    video_->bit_rate = 0;
  }
  if (format_->oformat->flags & AVFMT_GLOBALHEADER) video_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int result = avcodec_open2(video_, codec, nullptr);
  if (result < 0) {
    error = std::string("cannot open the ") + name + " encoder: " + FfmpegError(result);
    return false;
  }
  avcodec_parameters_from_context(videoStream_->codecpar, video_);
  videoStream_->time_base = video_->time_base;
  picture_ = av_frame_alloc();
  scaler_ = sws_getContext(settings_.width, settings_.height, AV_PIX_FMT_RGB24, settings_.width, settings_.height,
                           AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!picture_ || !scaler_) {
    error = "out of memory";
    return false;
  }
  picture_->format = video_->pix_fmt;
  picture_->width = settings_.width;
  picture_->height = settings_.height;
  if (av_frame_get_buffer(picture_, 0) < 0) {
    error = "out of memory";
    return false;
  }
  return true;
}

bool VideoFile::OpenSound(const char* name, std::string& error) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (!codec || !(soundStream_ = avformat_new_stream(format_, nullptr)) || !(sound_ = avcodec_alloc_context3(codec))) {
    error = std::string("no ") + name + " encoder";
    return false;
  }
  sound_->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
  sound_->sample_rate = kVideoSoundRate;
  av_channel_layout_default(&sound_->ch_layout, 2);
  sound_->bit_rate = kSoundBitRate;
  sound_->time_base = AVRational{1, kVideoSoundRate};
  if (format_->oformat->flags & AVFMT_GLOBALHEADER) sound_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int result = avcodec_open2(sound_, codec, nullptr);
  if (result < 0) {
    error = std::string("cannot open the ") + name + " encoder: " + FfmpegError(result);
    return false;
  }
  avcodec_parameters_from_context(soundStream_->codecpar, sound_);
  soundStream_->time_base = sound_->time_base;
  AVChannelLayout stereo;
  av_channel_layout_default(&stereo, 2);
  soundFrame_ = av_frame_alloc();
  if (!soundFrame_ ||
      swr_alloc_set_opts2(&converter_, &sound_->ch_layout, sound_->sample_fmt, kVideoSoundRate, &stereo,
                          AV_SAMPLE_FMT_FLT, kVideoSoundRate, 0, nullptr) < 0 ||
      swr_init(converter_) < 0) {
    error = "cannot convert the sound for the encoder";
    return false;
  }
  const int frameSize = sound_->frame_size > 0 ? sound_->frame_size : 1024;
  soundFrame_->format = sound_->sample_fmt;
  soundFrame_->sample_rate = kVideoSoundRate;
  soundFrame_->nb_samples = frameSize;
  av_channel_layout_copy(&soundFrame_->ch_layout, &sound_->ch_layout);
  if (av_frame_get_buffer(soundFrame_, 0) < 0) {
    error = "out of memory";
    return false;
  }
  return true;
}

bool VideoFile::Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
  if (avcodec_send_frame(codec, frame) < 0) return false;
  for (;;) {
    int result = avcodec_receive_packet(codec, packet_);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
    if (result < 0) return false;
    // Every picture lasts one frame: without it the container would cut the last one short.
    if (codec == video_) packet_->duration = 1;
    av_packet_rescale_ts(packet_, codec->time_base, stream->time_base);
    packet_->stream_index = stream->index;
    if (av_interleaved_write_frame(format_, packet_) < 0) return false;
  }
}

bool VideoFile::WritePicture(const uint8_t* rgb) {
  if (av_frame_make_writable(picture_) < 0) return false;
  const uint8_t* source[1] = {rgb};
  const int stride[1] = {settings_.width * 3};
  sws_scale(scaler_, source, stride, 0, settings_.height, picture_->data, picture_->linesize);
  picture_->pts = pictures_++;
  return Encode(video_, videoStream_, picture_);
}

bool VideoFile::EncodeSoundFrame(size_t frames) {
  if (av_frame_make_writable(soundFrame_) < 0) return false;
  const uint8_t* source[1] = {reinterpret_cast<const uint8_t*>(pending_.data())};
  const int frameSize = soundFrame_->nb_samples;
  int converted = swr_convert(converter_, soundFrame_->data, frameSize, source, static_cast<int>(frames));
  if (converted < 0) return false;
  // A short last frame is handed over as it is where the encoder takes one, else filled with silence.
  if (converted < frameSize) {
    if (sound_->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) {
      soundFrame_->nb_samples = converted;
    } else {
      av_samples_set_silence(soundFrame_->data, converted, frameSize - converted, 2, sound_->sample_fmt);
    }
  }
  soundFrame_->pts = soundSamples_;
  soundSamples_ += soundFrame_->nb_samples;
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(frames * 2));
  return Encode(sound_, soundStream_, soundFrame_);
}

bool VideoFile::WriteSound(const float* samples, size_t frames) {
  pending_.insert(pending_.end(), samples, samples + frames * 2);
  const size_t frameSize = static_cast<size_t>(soundFrame_->nb_samples);
  while (pending_.size() / 2 >= frameSize) {
    if (!EncodeSoundFrame(frameSize)) return false;
  }
  return true;
}

bool VideoFile::Finish() {
  if (!headerWritten_) return false;
  bool ok = pending_.empty() || EncodeSoundFrame(pending_.size() / 2);
  ok = Encode(video_, videoStream_, nullptr) && ok;
  ok = Encode(sound_, soundStream_, nullptr) && ok;
  ok = av_write_trailer(format_) == 0 && ok;
  headerWritten_ = false;
  return avio_closep(&format_->pb) == 0 && ok;
}
