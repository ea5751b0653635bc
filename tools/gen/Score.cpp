#include "gen/Score.h"

#include <cctype>
#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/core/Trace.h"

namespace gen {

namespace {

constexpr int64_t kMaxTicks = int64_t{kTicksPerQuarter} * 4 * 2000;  // 2000 bars

class CMmlParser {
 public:
  CMmlParser(const std::string& text, MmlState* state, Track* track) : mText(text), mState(state), mTrack(track) {}
  bool Parse(std::string* error);

 private:
  bool Note(int semitone, bool chord, std::vector<double>* chordNotes);
  bool Length(int64_t* ticks);
  bool Number(long* out);
  bool Fail(const std::string& message);
  void Add(double midi, int64_t length);

  const std::string& mText;
  MmlState* mState;
  Track* mTrack;
  size_t mPos = 0;
  std::string mError;
};

bool CMmlParser::Fail(const std::string& message) {
  Trace("CMmlParser::Fail");
  if (mError.empty()) mError = message + " at column " + std::to_string(mPos + 1);
  return false;
}

bool CMmlParser::Number(long* out) {
  Trace("CMmlParser::Number");
  if (mPos >= mText.size() || !isdigit(static_cast<unsigned char>(mText[mPos]))) return false;
  long v = 0;
  while (mPos < mText.size() && isdigit(static_cast<unsigned char>(mText[mPos]))) {
    v = v * 10 + (mText[mPos++] - '0');
    if (v > 100000) return Fail("number too large");
  }
  *out = v;
  return true;
}

bool CMmlParser::Length(int64_t* ticks) {
  Trace("CMmlParser::Length");
  long n;
  int64_t base = mState->length;
  if (Number(&n)) {
    if (n < 1 || (kTicksPerQuarter * 4) % n != 0) return Fail("a length must divide a whole note in 192 ticks");
    base = kTicksPerQuarter * 4 / n;
  }
  int64_t total = base, add = base;
  while (mPos < mText.size() && mText[mPos] == '.') {
    ++mPos;
    add /= 2;
    total += add;
  }
  *ticks = total;
  return true;
}

void CMmlParser::Add(double midi, int64_t length) {
  Trace("CMmlParser::Add");
  NoteEvent e;
  e.tick = mState->tick;
  e.length = length * mState->gate / 8;
  e.midi = midi;
  e.velocity = mState->velocity;
  mTrack->notes.push_back(e);
}

bool CMmlParser::Note(int semitone, bool chord, std::vector<double>* chordNotes) {
  Trace("CMmlParser::Note");
  while (mPos < mText.size() && (mText[mPos] == '+' || mText[mPos] == '#' || mText[mPos] == '-'))
    semitone += mText[mPos++] == '-' ? -1 : 1;
  double midi = (mState->octave + 1) * 12 + semitone;
  if (chord) {
    chordNotes->push_back(midi);
    return true;
  }
  int64_t len;
  if (!Length(&len)) return false;
  Add(midi, len);
  mState->tick += len;
  return true;
}

bool CMmlParser::Parse(std::string* error) {
  Trace("CMmlParser::Parse");
  static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  struct Repeat {
    size_t start;
    long left;
  };
  std::vector<Repeat> repeats;
  long guard = 0;
  while (mPos < mText.size() && mError.empty()) {
    if (++guard > 1000000 || mState->tick > kMaxTicks) {
      Fail("the track is too long");
      break;
    }
    char c = static_cast<char>(tolower(static_cast<unsigned char>(mText[mPos])));
    if (isspace(static_cast<unsigned char>(c)) || c == '|') {
      ++mPos;
      continue;
    }
    ++mPos;
    long n;
    if (c >= 'a' && c <= 'g') {
      Note(kSemitone[c - 'a'], false, nullptr);
    } else if (c == 'r') {
      int64_t len;
      if (Length(&len)) mState->tick += len;
    } else if (c == '&') {
      // A tie lengthens the last note by the next note's length.
      if (mTrack->notes.empty()) { Fail("'&' without a note before it"); break; }
      size_t keep = mTrack->notes.size();
      int64_t before = mState->tick;
      while (mPos < mText.size() && isspace(static_cast<unsigned char>(mText[mPos]))) ++mPos;
      if (mPos >= mText.size() || !strchr("abcdefgABCDEFG", mText[mPos])) { Fail("'&' must be followed by a note"); break; }
      char nc = static_cast<char>(tolower(static_cast<unsigned char>(mText[mPos++])));
      Note(kSemitone[nc - 'a'], false, nullptr);
      if (mTrack->notes.size() == keep + 1) {
        mTrack->notes.pop_back();
        NoteEvent& last = mTrack->notes[keep - 1];
        last.length = mState->tick - last.tick;
      }
      (void)before;
    } else if (c == '{') {
      std::vector<double> notes;
      int octave = mState->octave;
      while (mPos < mText.size() && mText[mPos] != '}') {
        char k = static_cast<char>(tolower(static_cast<unsigned char>(mText[mPos++])));
        if (k >= 'a' && k <= 'g') Note(kSemitone[k - 'a'], true, &notes);
        else if (k == '>') ++mState->octave;
        else if (k == '<') --mState->octave;
        else if (!isspace(static_cast<unsigned char>(k))) { Fail("only notes, '<' and '>' inside { }"); break; }
      }
      if (!mError.empty()) break;
      if (mPos >= mText.size()) {
        Fail("'{' without '}'");
        break;
      }
      ++mPos;
      mState->octave = octave;
      int64_t len;
      if (!Length(&len)) break;
      for (double m : notes) Add(m, len);
      mState->tick += len;
    } else if (c == 'o') {
      if (!Number(&n) || n > 9) { Fail("o needs an octave 0..9"); break; }
      mState->octave = static_cast<int>(n);
    } else if (c == '>') {
      ++mState->octave;
    } else if (c == '<') {
      --mState->octave;
    } else if (c == 'l') {
      int64_t len;
      if (!Length(&len)) break;
      mState->length = static_cast<int>(len);
    } else if (c == 'v') {
      if (!Number(&n) || n > 127) { Fail("v needs 0..127"); break; }
      mState->velocity = n / 127.0;
    } else if (c == 'q') {
      if (!Number(&n) || n < 1 || n > 8) { Fail("q needs 1..8"); break; }
      mState->gate = static_cast<int>(n);
    } else if (c == '[') {
      repeats.push_back(Repeat{mPos, -1});
    } else if (c == ']') {
      if (repeats.empty()) { Fail("']' without '['"); break; }
      Repeat& r = repeats.back();
      if (r.left < 0) r.left = Number(&n) ? n - 1 : 1;
      if (r.left > 0) {
        --r.left;
        mPos = r.start;
      } else {
        repeats.pop_back();
        long skip;
        Number(&skip);
      }
    } else {
      { Fail(std::string("unknown '") + c + "'"); break; }
    }
  }
  if (mError.empty() && !repeats.empty()) Fail("'[' without ']'");
  if (!mError.empty()) *error = mError;
  if (mState->tick > mTrack->end) mTrack->end = mState->tick;
  return mError.empty();
}

bool ParseNumberOpt(const std::string& v, double* out) {
  char* end = nullptr;
  double d = strtod(v.c_str(), &end);
  if (v.empty() || *end || !std::isfinite(d)) return false;
  *out = d;
  return true;
}

struct WaveName {
  const char* name;
  Wave wave;
};
const WaveName kWaves[] = {{"sine", Wave::kSine},   {"tri", Wave::kTriangle}, {"square", Wave::kSquare},
                           {"saw", Wave::kSaw},     {"noise", Wave::kNoise},  {"fm", Wave::kFM},
                           {"pluck", Wave::kPluck}, {"kick", Wave::kKick},    {"snare", Wave::kSnare},
                           {"hat", Wave::kHat},     {"pad", Wave::kPad}};

bool SetInstrument(Instrument* in, const std::string& key, const std::string& v, std::string* error) {
  if (key == "wave") {
    for (const auto& w : kWaves)
      if (v == w.name) {
        in->wave = w.wave;
        return true;
      }
    *error = "wave=sine|tri|square|saw|noise|fm|pluck|kick|snare|hat|pad";
    return false;
  }
  struct Field {
    const char* name;
    double* value;
    double lo, hi;
  };
  double voices = in->voices;
  Field fields[] = {{"attack", &in->attack, 0, 60000},       {"decay", &in->decay, 0, 60000},
                    {"sustain", &in->sustain, 0, 1},         {"release", &in->release, 0, 60000},
                    {"cutoff", &in->cutoff, 0, 20000},       {"q", &in->resonance, 0.5, 10},
                    {"highpass", &in->highpass, 0, 20000},   {"detune", &in->detune, 0, 100},
                    {"voices", &voices, 1, 8},               {"vibrato", &in->vibrato, 0, 200},
                    {"vibratorate", &in->vibratoRate, 0, 20}, {"tremolo", &in->tremolo, 0, 1},
                    {"tremolorate", &in->tremoloRate, 0, 30}, {"ratio", &in->ratio, 0.1, 20},
                    {"index", &in->index, 0, 20},            {"indexdecay", &in->indexDecay, 1, 60000},
                    {"glide", &in->glide, -48, 48},          {"glidetime", &in->glideTime, 1, 60000},
                    {"gain", &in->gain, 0, 4},               {"width", &in->pulseWidth, 0.05, 0.95}};
  for (Field& f : fields) {
    if (key != f.name) continue;
    double d;
    if (!ParseNumberOpt(v, &d) || d < f.lo || d > f.hi) {
      *error = key + " must be " + std::to_string(f.lo) + " to " + std::to_string(f.hi);
      return false;
    }
    *f.value = d;
    in->voices = static_cast<int>(voices);
    return true;
  }
  *error = "instrument does not know '" + key + "='";
  return false;
}

bool SplitWords(const std::string& text, std::vector<std::string>* words) {
  std::string cur;
  for (size_t i = 0; i <= text.size(); ++i) {
    char c = i < text.size() ? text[i] : ' ';
    if (c == ';') c = ' ', i = text.size();
    if (isspace(static_cast<unsigned char>(c))) {
      if (!cur.empty()) words->push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  return true;
}

}  // namespace

bool ParseMml(const std::string& text, MmlState* state, Track* track, std::string* error) {
  CMmlParser parser(text, state, track);
  return parser.Parse(error);
}

bool ParseScore(const std::vector<SourceLine>& lines, Song* song, std::string* error) {
  Trace("ParseScore");
  Track* track = nullptr;
  MmlState state;
  double transpose = 0;
  auto fail = [&](const SourceLine& l, const std::string& m) {
    *error = l.Where() + ": " + m;
    return false;
  };
  for (const SourceLine& line : lines) {
    size_t first = line.text.find_first_not_of(" \t");
    if (first == std::string::npos || line.text[first] == '#' || line.text[first] == ';') continue;
    if (line.text[first] == '|') {
      if (!track) return fail(line, "notes before any track");
      size_t before = track->notes.size();
      std::string e;
      if (!ParseMml(line.text.substr(first + 1), &state, track, &e)) return fail(line, e);
      for (size_t i = before; i < track->notes.size(); ++i) track->notes[i].midi += transpose;
      continue;
    }
    std::vector<std::string> w;
    SplitWords(line.text, &w);
    if (w.empty()) continue;  // only blanks the split treats as space (a stray CR)
    const std::string& cmd = w[0];
    std::map<std::string, std::string> opt;
    std::vector<std::string> pos;
    for (size_t i = 1; i < w.size(); ++i) {
      size_t eq = w[i].find('=');
      if (eq != std::string::npos) opt[w[i].substr(0, eq)] = w[i].substr(eq + 1);
      else pos.push_back(w[i]);
    }
    if (cmd == "song") {
      // The bar's beats first: "bars" counts in them.
      if (opt.count("beats")) {
        double d;
        if (!ParseNumberOpt(opt["beats"], &d) || d < 1 || d > 16) return fail(line, "song: beats must be 1 to 16");
        song->beatsPerBar = static_cast<int>(d);
        opt.erase("beats");
      }
      for (auto& [k, v] : opt) {
        double d;
        if (k == "loop") {
          if (v != "on" && v != "off") return fail(line, "loop=on|off");
          song->loop = v == "on";
          continue;
        }
        if (!ParseNumberOpt(v, &d)) return fail(line, k + "=" + v + ": not a number");
        if (k == "rate" && d >= 8000 && d <= 96000) song->rate = static_cast<int>(d);
        else if (k == "channels" && (d == 1 || d == 2)) song->channels = static_cast<int>(d);
        else if (k == "tempo" && d >= 20 && d <= 400) song->tempo = d;
        else if (k == "bars" && d >= 1 && d <= 2000) song->length = static_cast<int64_t>(d) * song->beatsPerBar * kTicksPerQuarter;
        else if (k == "reverb" && d >= 0 && d <= 1) song->reverb = d;
        else if (k == "room" && d >= 0 && d <= 1) song->room = d;
        else if (k == "tail" && d >= 0 && d <= 60000) song->tail = d;
        else if (k == "peak" && d > 0 && d <= 1) song->peak = d;
        else if (k == "quality" && d >= -0.1 && d <= 1) song->quality = d;
        else return fail(line, "song: " + k + "=" + v + " is not allowed");
      }
      if (!pos.empty()) return fail(line, "song takes only options");
    } else if (cmd == "instrument") {
      if (pos.size() != 1) return fail(line, "instrument NAME options...");
      Instrument in;
      for (auto& [k, v] : opt) {
        std::string e;
        if (!SetInstrument(&in, k, v, &e)) return fail(line, e);
      }
      song->instruments[pos[0]] = in;
    } else if (cmd == "track") {
      if (pos.size() != 1) return fail(line, "track INSTRUMENT options...");
      if (!song->instruments.count(pos[0])) return fail(line, "no instrument '" + pos[0] + "'");
      song->tracks.emplace_back();
      track = &song->tracks.back();
      track->instrument = pos[0];
      state = MmlState();
      transpose = 0;
      for (auto& [k, v] : opt) {
        double d;
        if (!ParseNumberOpt(v, &d)) return fail(line, k + "=" + v + ": not a number");
        if (k == "vol" && d >= 0 && d <= 4) track->volume = d;
        else if (k == "pan" && d >= -1 && d <= 1) track->pan = d;
        else if (k == "octave" && d >= 0 && d <= 9) state.octave = static_cast<int>(d);
        else if (k == "transpose" && d >= -48 && d <= 48) transpose = d;
        else if (k == "start" && d >= 0 && d <= 8000) state.tick = static_cast<int64_t>(d * kTicksPerQuarter);
        else return fail(line, "track: " + k + "=" + v + " is not allowed");
      }
    } else {
      return fail(line, "unknown command '" + cmd + "' (song, instrument, track, or | notes)");
    }
  }
  if (song->tracks.empty()) {
    *error = (lines.empty() ? std::string("score") : lines[0].file) + ": no tracks";
    return false;
  }
  if (song->length == 0) {
    int64_t bar = int64_t{song->beatsPerBar} * kTicksPerQuarter;
    for (const Track& t : song->tracks) song->length = std::max(song->length, t.end);
    song->length = (song->length + bar - 1) / bar * bar;
    if (song->length == 0) song->length = bar;
  }
  return true;
}

}  // namespace gen
