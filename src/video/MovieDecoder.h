// FFmpeg behind the movie player: the container read from a movie stream,
// the first video stream's decoder, and the first audio stream's decoder
// with its conversion to the sound device's 44100 Hz stereo 16-bit. Used by
// one thread at a time (the player's worker once the movie runs).
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVIOContext;
struct AVPacket;
struct SwrContext;
class CMovieStream;

// What the container says about a movie.
struct MovieFormat {
  std::string container;   // the demuxer's name, e.g. "mpeg"
  std::string videoCodec;  // "" without a video stream
  std::string audioCodec;  // "" without an audio stream
  int width = 0;
  int height = 0;
  int64_t durationMs = -1;  // -1 when unknown
  int frameMs = 33;         // time of one picture
  int audioRate = 0;
  int audioChannels = 0;
  // One line per stream of the container: "video mpeg1video 320x240",
  // "audio mp2 44100 Hz 2 ch", "data …".
  std::vector<std::string> streams;
};

class CMovieDecoder {
 public:
  // A picture of more pixels than this is not decoded.
  static constexpr int64_t kMaxPixels = 4096 * 4096;

  CMovieDecoder();
  ~CMovieDecoder();
  CMovieDecoder(const CMovieDecoder&) = delete;
  CMovieDecoder& operator=(const CMovieDecoder&) = delete;

  // Opens the container over `stream` (which must outlive the decoder) and
  // the decoders; the sound only when `wantAudio`. False with the reason in
  // `error`. `quit` (may be null) cuts a long read short when it turns true.
  bool Open(CMovieStream* stream, bool wantAudio, const std::atomic<bool>* quit, std::string* error);
  void Close();
  // What the last Open learned, also when it failed part way.
  const MovieFormat& Format() const { return mFormat; }

  enum class Result { kFrame, kNeedInput, kEnd };
  // The next picture from the packets read so far, with its time in ms from
  // the start of the movie (never earlier than the picture before). The
  // frame belongs to the decoder until the next call. kNeedInput: read more
  // packets first; kEnd: no picture follows.
  Result ReceiveVideo(AVFrame** frame, int64_t* timeMs);

  // Reads one packet. A video packet waits in the queue for ReceiveVideo; an
  // audio packet is decoded at once and its sound appended to `sound`
  // (interleaved stereo), with `*soundStart` set to the frame number at which
  // the sound of the movie begins. False at the end of the input; the sound
  // still inside the decoders is then appended too.
  bool ReadPacket(std::vector<int16_t>* sound, int64_t* soundStart);
  bool AtEnd() const { return mbInputEnd; }
  // Bytes of video packets waiting.
  size_t QueuedBytes() const { return mQueuedBytes; }

 private:
  static int Interrupt(void* opaque);
  void DescribeStreams();
  bool OpenVideo(std::string* error);
  void OpenAudio();
  void DecodeAudio(std::vector<int16_t>* sound, int64_t* soundStart);
  void ConvertAudio(const AVFrame* frame, std::vector<int16_t>* sound, int64_t* soundStart);
  bool PrepareResampler(const AVFrame* frame);
  int64_t StreamMs(int64_t ts, int stream) const;
  int64_t PlaceVideo(int64_t rawMs);

  CMovieStream* mpStream = nullptr;
  AVIOContext* mpIO = nullptr;
  AVFormatContext* mpFormat = nullptr;
  AVCodecContext* mpVideo = nullptr;
  AVCodecContext* mpAudio = nullptr;
  SwrContext* mpSwr = nullptr;
  AVFrame* mpFrame = nullptr;
  AVFrame* mpAudioFrame = nullptr;
  AVPacket* mpPacket = nullptr;
  const std::atomic<bool>* mpQuit = nullptr;
  int mVideoIndex = -1;
  int mAudioIndex = -1;
  int64_t mStartMs = 0;
  MovieFormat mFormat;

  std::deque<AVPacket*> mQueue;
  size_t mQueuedBytes = 0;
  bool mbInputEnd = false;
  bool mbVideoFlushed = false;
  bool mbVideoEnd = false;

  // Picture times: each follows the one before; a jump is bridged.
  bool mbHaveTime = false;
  int64_t mLastMs = 0;
  int64_t mTimeShift = 0;

  // Sound: where it begins, and the resampler's current input.
  bool mbSoundPlaced = false;
  int64_t mSoundStart = 0;
  int mSwrRate = 0;
  int mSwrFormat = -1;
  int mSwrChannels = 0;
  std::vector<int16_t> mConvert;
};
