#include "gen/Voice.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/core/Trace.h"
#include "platform/Random.h"

namespace gen {

namespace {

constexpr double kTwoPi = 2.0 * M_PI;

enum class Cons { kNone, kK, kG, kS, kSh, kZ, kJ, kT, kD, kCh, kTs, kN, kH, kF, kB, kP, kM, kY, kR, kW, kNasal, kGap };

struct Syllable {
  Cons cons = Cons::kNone;
  int vowel = 0;       // 0 a, 1 i, 2 u, 3 e, 4 o; -1 none (a nasal or a gap)
  bool glide = false;  // a y-glide between consonant and vowel (kya)
  double length = 1;   // in morae
  int tone = 0;        // 1..4 for tonal speech, 0 for none
  double accent = 0;   // pitch accent of this syllable, -1 … 1
  double pause = 0;    // ms of silence after it
  bool question = false;
};

// Hiragana from U+3041 to U+3096 as they sound; "_x" are the small kana
// that change the syllable before them, "Q" the small tsu (a stop).
const char* const kKana[86] = {
    "_a", "a",  "_i", "i",  "_u", "u",  "_e", "e",  "_o", "o",  "ka", "ga", "ki", "gi", "ku", "gu", "ke", "ge",
    "ko", "go", "sa", "za", "shi", "ji", "su", "zu", "se", "ze", "so", "zo", "ta", "da", "chi", "ji", "Q",  "tsu",
    "zu", "te", "de", "to", "do", "na", "ni", "nu", "ne", "no", "ha", "ba", "pa", "hi", "bi", "pi", "fu", "bu",
    "pu", "he", "be", "pe", "ho", "bo", "po", "ma", "mi", "mu", "me", "mo", "_ya", "ya", "_yu", "yu", "_yo", "yo",
    "ra", "ri", "ru", "re", "ro", "_wa", "wa", "i",  "e",  "o",  "N",  "bu", "ka", "ke"};

struct ConsName {
  const char* name;
  Cons cons;
};
const ConsName kConsNames[] = {{"ch", Cons::kCh}, {"sh", Cons::kSh}, {"ts", Cons::kTs}, {"k", Cons::kK},
                               {"g", Cons::kG},   {"s", Cons::kS},   {"z", Cons::kZ},   {"j", Cons::kJ},
                               {"t", Cons::kT},   {"d", Cons::kD},   {"n", Cons::kN},   {"h", Cons::kH},
                               {"f", Cons::kF},   {"b", Cons::kB},   {"p", Cons::kP},   {"m", Cons::kM},
                               {"y", Cons::kY},   {"r", Cons::kR},   {"w", Cons::kW}};

int VowelOf(char c) {
  const char* v = strchr("aiueo", c);
  return v ? static_cast<int>(v - "aiueo") : 0;
}

Syllable FromRomaji(const char* r) {
  Syllable s;
  for (const ConsName& c : kConsNames) {
    size_t n = strlen(c.name);
    if (strncmp(r, c.name, n) == 0 && r[n]) {
      s.cons = c.cons;
      r += n;
      break;
    }
  }
  s.vowel = VowelOf(*r);
  return s;
}

uint32_t HashCode(uint32_t c, uint32_t salt) {
  uint32_t x = c * 0x9E3779B1u ^ salt * 0x85EBCA77u;
  x ^= x >> 15;
  x *= 0x2C1B3C6Du;
  x ^= x >> 12;
  return x;
}

const Cons kDrawnCons[] = {Cons::kK, Cons::kS, Cons::kT, Cons::kN, Cons::kH, Cons::kM, Cons::kR, Cons::kG, Cons::kSh,
                           Cons::kCh, Cons::kB, Cons::kD, Cons::kY, Cons::kW, Cons::kNone, Cons::kJ, Cons::kZ, Cons::kF};

std::vector<uint32_t> DecodeUtf8(const std::string& s) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    uint32_t cp = n == 1 ? c : c & (0x3F >> (n - 1));
    for (int k = 1; k < n && i + static_cast<size_t>(k) < s.size(); ++k) cp = cp << 6 | (s[i + static_cast<size_t>(k)] & 0x3F);
    out.push_back(cp);
    i += static_cast<size_t>(n);
  }
  return out;
}

bool IsKana(uint32_t c) { return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30F6); }
bool IsIdeograph(uint32_t c) { return c >= 0x3400 && c <= 0x9FFF; }

// Reads the text as syllables.
std::vector<Syllable> Syllables(const std::vector<uint32_t>& text) {
  bool tonal = std::none_of(text.begin(), text.end(), IsKana) && std::any_of(text.begin(), text.end(), IsIdeograph);
  std::vector<Syllable> out;
  int word = 0;  // position in the current word, for the pitch accent
  for (uint32_t c : text) {
    if (c >= 0x30A1 && c <= 0x30F6) c -= 0x60;
    if (c >= 0x3041 && c <= 0x3096) {
      const char* r = kKana[c - 0x3041];
      if (r[0] == '_' && !out.empty()) {
        Syllable& prev = out.back();
        bool palatal = prev.cons == Cons::kSh || prev.cons == Cons::kCh || prev.cons == Cons::kJ;
        prev.vowel = VowelOf(r[1] == 'y' || r[1] == 'w' ? r[2] : r[1]);
        prev.glide = r[1] == 'y' && !palatal;
        continue;
      }
      Syllable s = r[0] == 'Q' ? Syllable{Cons::kGap, -1} : r[0] == 'N' ? Syllable{Cons::kNasal, -1} : FromRomaji(r[0] == '_' ? r + 1 : r);
      s.accent = word == 0 ? -0.4 : word < 3 ? 0.5 : 0.1;
      ++word;
      out.push_back(s);
    } else if (c == 0x30FC && !out.empty()) {  // ー lengthens the vowel
      out.back().length += 1;
    } else if (IsIdeograph(c) || (c < 0x80 && isalnum(static_cast<int>(c)))) {
      uint32_t h = HashCode(c, 1);
      if (tonal) {
        Syllable s;
        s.cons = kDrawnCons[h % 18];
        s.vowel = static_cast<int>((h >> 8) % 5);
        s.tone = static_cast<int>((h >> 12) % 4) + 1;
        s.length = 1.6;
        out.push_back(s);
        if ((h >> 16) % 10 < 4) out.push_back(Syllable{Cons::kNasal, -1, false, 0.5});
      } else {
        int morae = 1 + static_cast<int>((h >> 20) % 2);
        for (int m = 0; m < morae; ++m) {
          uint32_t k = HashCode(c, static_cast<uint32_t>(m) + 7);
          Syllable s;
          if (m == 1 && k % 3 == 0) {
            s = Syllable{Cons::kNasal, -1};
          } else {
            s.cons = kDrawnCons[k % 18];
            s.vowel = static_cast<int>((k >> 8) % 5);
          }
          s.accent = word == 0 ? -0.3 : word < 3 ? 0.5 : 0.0;
          ++word;
          out.push_back(s);
        }
      }
    } else if (c == 0x3001 || c == 0xFF0C || c == ',' || c == 0x30FB) {  // 、 ， , ・
      if (!out.empty()) out.back().pause += 160;
      word = 0;
    } else if (c == 0x3002 || c == '.' || c == 0xFF01 || c == '!' || c == 0x2026 || c == 0xFF0E) {  // 。 . ！ ! …
      if (!out.empty()) out.back().pause += c == 0x2026 ? 260 : 320;
      word = 0;
    } else if (c == 0xFF1F || c == '?') {  // ？ ?
      if (!out.empty()) {
        out.back().pause += 320;
        out.back().question = true;
      }
      word = 0;
    } else if (c == ' ' || c == 0x3000) {
      word = 0;
    }
  }
  return out;
}

// Vowel formants of a woman's voice, Hz: F1, F2, F3.
const double kFormants[5][3] = {{820, 1300, 2700}, {330, 2450, 3100}, {360, 1450, 2500}, {520, 1950, 2700}, {540, 950, 2650}};

struct Resonator {
  double y1 = 0, y2 = 0;
};

double Resonate(Resonator& r, double x, double f, double bw, double rate) {
  double c = -std::exp(-kTwoPi * bw / rate);
  double b = 2.0 * std::exp(-M_PI * bw / rate) * std::cos(kTwoPi * f / rate);
  double a = 1.0 - b - c;
  double y = a * x + b * r.y1 + c * r.y2;
  r.y2 = r.y1;
  r.y1 = y;
  return y;
}

// One stretch of sound with steady targets, in samples.
struct Frame {
  size_t samples = 0;
  double voice = 0;     // glottal source level
  double hiss = 0;      // frication level
  double hissFreq = 5000;
  double burst = 0;     // a short noise burst at the start
  double f[3] = {500, 1500, 2500};
  double pitch = 1;     // pitch factor
  double pitchEnd = 1;  // pitch factor at the end (glides through the frame)
};

void AddConsonant(const Syllable& s, const double* vf, double scale, double ms, std::vector<Frame>* frames) {
  auto frame = [&](double len, double voice, double hiss, double freq, double burst) {
    Frame fr;
    fr.samples = static_cast<size_t>(len * ms);
    fr.voice = voice;
    fr.hiss = hiss;
    fr.hissFreq = freq * scale;
    fr.burst = burst;
    for (int i = 0; i < 3; ++i) fr.f[i] = vf[i] * scale;
    frames->push_back(fr);
  };
  switch (s.cons) {
    case Cons::kNone: break;
    case Cons::kK: frame(45, 0, 0, 2000, 0); frame(18, 0, 0.5, 2200, 0.8); break;
    case Cons::kT: frame(40, 0, 0, 4000, 0); frame(14, 0, 0.5, 4200, 0.8); break;
    case Cons::kP: frame(45, 0, 0, 900, 0); frame(12, 0, 0.4, 1000, 0.7); break;
    case Cons::kG: frame(30, 0.25, 0, 2000, 0); frame(12, 0.5, 0.3, 2200, 0.5); break;
    case Cons::kD: frame(28, 0.25, 0, 4000, 0); frame(10, 0.5, 0.3, 4000, 0.5); break;
    case Cons::kB: frame(30, 0.3, 0, 900, 0); frame(10, 0.5, 0.2, 1000, 0.4); break;
    case Cons::kS: frame(85, 0, 0.9, 6500, 0); break;
    case Cons::kSh: frame(85, 0, 0.9, 3600, 0); break;
    case Cons::kZ: frame(60, 0.4, 0.5, 6000, 0); break;
    case Cons::kJ: frame(30, 0.3, 0, 3500, 0.5); frame(45, 0.4, 0.6, 3600, 0); break;
    case Cons::kCh: frame(35, 0, 0, 3500, 0); frame(55, 0, 0.9, 3600, 0.6); break;
    case Cons::kTs: frame(35, 0, 0, 6000, 0); frame(50, 0, 0.9, 6500, 0.6); break;
    case Cons::kH: frame(60, 0.05, 0.45, 1500, 0); break;
    case Cons::kF: frame(65, 0.05, 0.45, 1200, 0); break;
    case Cons::kN: {
      const double nasal[3] = {260, 1500, 2600};
      frame(55, 0.45, 0, 0, 0);
      for (int i = 0; i < 3; ++i) frames->back().f[i] = nasal[i] * scale;
      break;
    }
    case Cons::kM: {
      const double nasal[3] = {250, 1000, 2400};
      frame(60, 0.45, 0, 0, 0);
      for (int i = 0; i < 3; ++i) frames->back().f[i] = nasal[i] * scale;
      break;
    }
    case Cons::kR: {
      const double flap[3] = {380, 1400, 2300};
      frame(28, 0.6, 0, 0, 0);
      for (int i = 0; i < 3; ++i) frames->back().f[i] = flap[i] * scale;
      break;
    }
    case Cons::kY:
      frame(45, 0.8, 0, 0, 0);
      for (int i = 0; i < 3; ++i) frames->back().f[i] = kFormants[1][i] * scale;
      break;
    case Cons::kW:
      frame(45, 0.8, 0, 0, 0);
      for (int i = 0; i < 3; ++i) frames->back().f[i] = kFormants[2][i] * 0.8 * scale;
      break;
    case Cons::kNasal:
    case Cons::kGap:
      break;
  }
}

// The pitch factor of a syllable at its start and end.
void SyllablePitch(const Syllable& s, double pos, double expressive, double* start, double* end) {
  double base = 1.12 - 0.22 * pos;  // the voice falls through the sentence
  double a = 1.0 + 0.12 * s.accent * expressive;
  *start = *end = base * a;
  switch (s.tone) {
    case 1: *start = *end = base * 1.22; break;
    case 2: *start = base * 0.98; *end = base * 1.28; break;
    case 3: *start = base * 0.92; *end = base * 0.82; break;
    case 4: *start = base * 1.32; *end = base * 0.86; break;
    default: break;
  }
  if (s.question) *end = *start * 1.35;
}

}  // namespace

bool SpeakerPreset(const std::string& name, Speaker* out) {
  Trace("SpeakerPreset");
  Speaker s;
  if (name == "girl") s = Speaker{260, 1.06, 1.08, 0.07, 1.2};
  else if (name == "woman") s = Speaker{210, 1.0, 1.0, 0.06, 1.0};
  else if (name == "boy") s = Speaker{165, 0.92, 1.05, 0.05, 1.0};
  else if (name == "man") s = Speaker{115, 0.84, 0.95, 0.04, 0.8};
  else if (name == "old") s = Speaker{105, 0.82, 0.82, 0.12, 0.7};
  else return false;
  *out = s;
  return true;
}

std::vector<int16_t> RenderVoice(const std::string& text, const Speaker& sp, int rate) {
  Trace("RenderVoice");
  std::vector<uint32_t> cps = DecodeUtf8(text);
  std::vector<Syllable> syl = Syllables(cps);
  uint32_t seed = 1;
  for (uint32_t c : cps) seed = HashCode(c, seed);
  plat::SRand(seed & 0x7FFFFFFF);
  const double ms = rate / 1000.0;
  const double mora = 125.0 / std::max(0.2, sp.speed);
  std::vector<Frame> frames;
  Frame lead;
  lead.samples = static_cast<size_t>(60 * ms);
  frames.push_back(lead);
  for (size_t i = 0; i < syl.size(); ++i) {
    const Syllable& s = syl[i];
    double pos = syl.size() > 1 ? static_cast<double>(i) / (syl.size() - 1) : 0;
    double p0, p1;
    SyllablePitch(s, pos, sp.expressive, &p0, &p1);
    const double* vf = kFormants[s.vowel < 0 ? 2 : s.vowel];
    size_t first = frames.size();
    AddConsonant(s, vf, sp.formant, ms, &frames);
    double used = 0;
    for (size_t k = first; k < frames.size(); ++k) used += frames[k].samples / ms;
    if (s.cons == Cons::kGap) {
      Frame gap;
      gap.samples = static_cast<size_t>(mora * 0.8 * ms);
      frames.push_back(gap);
    } else if (s.cons == Cons::kNasal) {
      Frame n;
      n.samples = static_cast<size_t>(mora * 0.85 * s.length * ms);
      n.voice = 0.5;
      const double nasal[3] = {260, 1300, 2500};
      for (int k = 0; k < 3; ++k) n.f[k] = nasal[k] * sp.formant;
      frames.push_back(n);
    } else {
      if (s.glide) {
        Frame g;
        g.samples = static_cast<size_t>(35 * ms);
        g.voice = 0.8;
        for (int k = 0; k < 3; ++k) g.f[k] = kFormants[1][k] * sp.formant;
        frames.push_back(g);
        used += 35;
      }
      Frame v;
      // Devoiced vowels are short: Japanese "desu", "shita".
      double len = std::max(50.0, mora * s.length * (s.tone ? 1.0 : 1.0) - used * 0.5);
      v.samples = static_cast<size_t>(len * ms);
      v.voice = 1.0;
      for (int k = 0; k < 3; ++k) v.f[k] = vf[k] * sp.formant;
      frames.push_back(v);
    }
    for (size_t k = first; k < frames.size(); ++k) {
      double t = frames.size() - first > 1 ? static_cast<double>(k - first) / (frames.size() - first - 1) : 0;
      frames[k].pitch = p0 + (p1 - p0) * t;
      frames[k].pitchEnd = frames[k].pitch;
    }
    frames.back().pitchEnd = p1;
    if (s.pause > 0) {
      Frame pause;
      pause.samples = static_cast<size_t>(s.pause / std::max(0.2, sp.speed) * ms);
      pause.pitch = pause.pitchEnd = p1;
      frames.push_back(pause);
    }
  }
  Frame tail;
  tail.samples = static_cast<size_t>(120 * ms);
  frames.push_back(tail);

  size_t total = 0;
  for (const Frame& f : frames) total += f.samples;
  std::vector<double> out(total, 0.0);
  Resonator r1, r2, r3, r4, hissRes;
  double voice = 0, hiss = 0, f1 = 500, f2 = 1500, f3 = 2500, hf = 5000, pitch = 1;
  double phase = 0, prevFlow = 0, hp = 0, hpPrev = 0;
  const double smooth = 1.0 - std::exp(-1.0 / (12 * ms));
  const double ampSmooth = 1.0 - std::exp(-1.0 / (6 * ms));
  size_t at = 0;
  for (const Frame& fr : frames) {
    for (size_t i = 0; i < fr.samples; ++i, ++at) {
      double t = fr.samples > 1 ? static_cast<double>(i) / (fr.samples - 1) : 0;
      double targetPitch = fr.pitch + (fr.pitchEnd - fr.pitch) * t;
      pitch += (targetPitch - pitch) * smooth;
      voice += (fr.voice - voice) * ampSmooth;
      hiss += (fr.hiss - hiss) * ampSmooth;
      f1 += (fr.f[0] - f1) * smooth;
      f2 += (fr.f[1] - f2) * smooth;
      f3 += (fr.f[2] - f3) * smooth;
      if (fr.hissFreq > 0) hf += (fr.hissFreq - hf) * smooth;
      double now = static_cast<double>(at) / ms;
      double f0 = sp.pitch * pitch * (1.0 + 0.006 * std::sin(kTwoPi * 5.2 * now / 1000.0)) *
                  (1.0 + 0.01 * (plat::Rand() / 16383.5 - 1.0));
      phase += f0 / rate;
      if (phase >= 1.0) phase -= 1.0;
      // A glottal pulse (Rosenberg shape) taken as its slope, with breath.
      double flow = phase < 0.4 ? 0.5 * (1.0 - std::cos(M_PI * phase / 0.4))
                                : phase < 0.56 ? std::cos(M_PI * (phase - 0.4) / 0.32) : 0.0;
      double source = (flow - prevFlow) * 18.0;
      prevFlow = flow;
      double noise = plat::Rand() / 16383.5 - 1.0;
      double excitation = voice * (source + sp.breath * noise * flow * 2.0);
      double y = Resonate(r1, excitation, f1, 90, rate);
      y = Resonate(r2, y, f2, 110, rate);
      y = Resonate(r3, y, f3, 170, rate);
      y = Resonate(r4, y, 3600 * sp.formant, 250, rate);
      double h = Resonate(hissRes, noise, std::min(hf, rate * 0.45), 1800, rate) * hiss * 0.2;
      if (fr.burst > 0 && i < static_cast<size_t>(6 * ms)) h += noise * fr.burst * 0.3;
      double s = y * 0.8 + h;
      // Take away the rumble below the voice.
      hp = 0.995 * (hp + s - hpPrev);
      hpPrev = s;
      out[at] = hp;
    }
  }
  double peak = 0;
  for (double v : out) peak = std::max(peak, std::fabs(v));
  double gain = peak > 0 ? 0.8 * 32767.0 / peak : 0;
  std::vector<int16_t> samples(total);
  for (size_t i = 0; i < total; ++i)
    samples[i] = static_cast<int16_t>(std::clamp(std::lround(out[i] * gain), -32768L, 32767L));
  return samples;
}

}  // namespace gen
