// velto-tool music: composes music and sound effects from a score (a song
// of synthesised instruments and tracks of notes). docs/music.md describes
// the score language.
#include <string>
#include <vector>

#include "Command.h"
#include "gen/SoundOut.h"
#include "gen/SourceOptions.h"
#include "gen/Synth.h"

namespace {

int MusicMain(const tool::Args& args);

VELTO_TOOL_COMMAND("music", "compose music and sound effects from a score",
                   "usage: velto-tool music [--var NAME=VALUE]... [-I DIR]... [--deps FILE] IN.score OUT.ogg|OUT.wav\n"
                   "\n"
                   "Renders the score: a looping song (the default) ends exactly where it\n"
                   "begins, so the game's music loop has no seam; a song with loop=off ends\n"
                   "after its last notes and their tails (sound effects).\n",
                   &MusicMain);

int MusicMain(const tool::Args& input) {
  std::vector<std::string> args = input;
  gen::SourceOptions options;
  std::string error;
  if (!gen::TakeSourceOptions(&args, &options, &error)) return tool::Fail(error);
  if (args.size() != 2 || args[0].empty() || args[0][0] == '-') return tool::Usage("music");
  gen::CPreprocessor pre;
  gen::ApplySourceOptions(options, &pre);
  std::vector<gen::SourceLine> lines;
  gen::Song song;
  std::vector<int16_t> samples;
  if (!pre.Run(args[0], &lines, &error) || !gen::ParseScore(lines, &song, &error) ||
      !gen::RenderSong(song, &samples, &error) ||
      !gen::WriteSound(args[1], samples, song.rate, song.channels, static_cast<float>(song.quality), &error) ||
      !gen::WriteDepFile(options, args[1], pre.Files(), &error))
    return tool::Fail(error);
  return 0;
}

}  // namespace
