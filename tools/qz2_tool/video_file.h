// A video file with one picture stream and one sound stream, encoded with FFmpeg's libraries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;

// The sound of every video file: interleaved float stereo at this rate.
constexpr int kVideoSoundRate = 48000;
constexpr int kLargestVideoWidth = 7680;
constexpr int kLargestVideoHeight = 4320;

struct VideoSettings {
  int width;
  int height;
  int fps;
};

// The container and codecs a file name asks for (".mp4": H.264 and AAC, ".mkv": the same in Matroska,
// ".webm": VP9 and Opus); false for any other name.
bool VideoContainerKnown(const char* path);

class VideoFile {
 public:
  VideoFile() = default;
  VideoFile(const VideoFile&) = delete;
  VideoFile& operator=(const VideoFile&) = delete;
  ~VideoFile();

  // Creates the file; false with a line in error when it cannot be written or encoded.
  bool Open(const char* path, const VideoSettings& settings, std::string& error);
  // One picture: width x height RGB pixels, top row first.
  bool WritePicture(const uint8_t* rgb);
  // Sound samples to follow what was written so far: frames x 2 interleaved floats.
  bool WriteSound(const float* samples, size_t frames);
  // Flushes the encoders and finishes the file so that it plays.
  bool Finish();

 private:
  bool OpenVideo(const char* codec, std::string& error);
  bool OpenSound(const char* codec, std::string& error);
  bool Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
  bool EncodeSoundFrame(size_t frames);

  VideoSettings settings_{};
  AVFormatContext* format_ = nullptr;
  AVCodecContext* video_ = nullptr;
  AVCodecContext* sound_ = nullptr;
  AVStream* videoStream_ = nullptr;
  AVStream* soundStream_ = nullptr;
  AVFrame* picture_ = nullptr;
  AVFrame* soundFrame_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwsContext* scaler_ = nullptr;
  SwrContext* converter_ = nullptr;
  int64_t pictures_ = 0;
  int64_t soundSamples_ = 0;
  std::vector<float> pending_;  // interleaved samples not yet a whole encoder frame
  bool headerWritten_ = false;
};
