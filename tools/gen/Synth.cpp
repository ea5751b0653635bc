#include "gen/Synth.h"

#include <algorithm>
#include <cmath>

#include "app/core/Trace.h"
#include "platform/Random.h"

namespace gen {

namespace {

constexpr double kTwoPi = 2.0 * M_PI;

double Noise() { return plat::Rand() / 16383.5 - 1.0; }

// The band-limiting correction of a saw or square step at phase t (0 … 1)
// for a phase increment dt.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

struct Svf {
  double low = 0, band = 0;
};

// One sample through a state-variable filter: low, band and high pass.
void SvfStep(Svf& f, double in, double k, double q, double* lowOut, double* bandOut, double* highOut) {
  f.low += k * f.band;
  double high = in - f.low - q * f.band;
  f.band += k * high;
  if (lowOut) *lowOut = f.low;
  if (bandOut) *bandOut = f.band;
  if (highOut) *highOut = high;
}

double SvfCoefficient(double cutoff, int rate) {
  double fc = std::min(cutoff, rate / 6.0);
  return 2.0 * std::sin(M_PI * fc / rate);
}

// Attack, decay, sustain while the gate is open, then a linear release.
double Envelope(const Instrument& in, double t, double gate) {
  auto held = [&](double x) {
    if (x < in.attack) return in.attack > 0 ? x / in.attack : 1.0;
    x -= in.attack;
    if (x < in.decay) return 1.0 - (1.0 - in.sustain) * (in.decay > 0 ? x / in.decay : 1.0);
    return in.sustain;
  };
  if (t < gate) return held(t);
  if (in.release <= 0) return 0.0;
  double r = (t - gate) / in.release;
  return r >= 1 ? 0.0 : held(gate) * (1.0 - r);
}

// Comb and all-pass delays of a simple room (lengths for 44100 Hz).
const int kCombLengths[4] = {1116, 1188, 1277, 1356};
const int kAllpassLengths[2] = {556, 441};

struct Reverb {
  std::vector<std::vector<double>> comb, allpass;
  std::vector<size_t> combAt, allpassAt;
  std::vector<double> damp;
  double feedback = 0;
};

Reverb MakeReverb(int rate, double room, int spread) {
  Reverb r;
  double k = rate / 44100.0;
  for (int len : kCombLengths) r.comb.emplace_back(static_cast<size_t>(std::max(8.0, (len + spread) * k)), 0.0);
  for (int len : kAllpassLengths) r.allpass.emplace_back(static_cast<size_t>(std::max(8.0, (len + spread) * k)), 0.0);
  r.combAt.assign(r.comb.size(), 0);
  r.allpassAt.assign(r.allpass.size(), 0);
  r.damp.assign(r.comb.size(), 0.0);
  r.feedback = 0.7 + 0.28 * room;
  return r;
}

double ReverbStep(Reverb& r, double in) {
  double out = 0;
  for (size_t i = 0; i < r.comb.size(); ++i) {
    double y = r.comb[i][r.combAt[i]];
    r.damp[i] = y * 0.7 + r.damp[i] * 0.3;
    r.comb[i][r.combAt[i]] = in * 0.015 + r.damp[i] * r.feedback;
    if (++r.combAt[i] == r.comb[i].size()) r.combAt[i] = 0;
    out += y;
  }
  for (size_t i = 0; i < r.allpass.size(); ++i) {
    double b = r.allpass[i][r.allpassAt[i]];
    r.allpass[i][r.allpassAt[i]] = out + b * 0.5;
    out = b - out;
    if (++r.allpassAt[i] == r.allpass[i].size()) r.allpassAt[i] = 0;
  }
  return out;
}

}  // namespace

std::vector<float> RenderNote(const Instrument& in, double midi, double velocity, int64_t gateSamples, int rate) {
  Trace("RenderNote");
  const double ms = rate / 1000.0;
  double gate = static_cast<double>(gateSamples) / ms;  // in ms
  double span = gate + in.release;
  switch (in.wave) {
    case Wave::kKick:
    case Wave::kSnare:
    case Wave::kHat:
    case Wave::kPluck:
      span = std::max(span, in.decay * 4 + in.release);
      break;
    default:
      break;
  }
  size_t n = static_cast<size_t>(std::max(1.0, span * ms));
  std::vector<float> out(n, 0.0f);
  double freq = 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
  int voices = in.wave == Wave::kPad ? std::max(in.voices, 4) : in.voices;
  double detune = in.wave == Wave::kPad ? std::max(in.detune, 10.0) : in.detune;
  std::vector<double> phase(static_cast<size_t>(voices)), spread(static_cast<size_t>(voices), 1.0);
  for (int v = 0; v < voices; ++v) {
    phase[static_cast<size_t>(v)] = std::fmod(v * 0.37, 1.0);
    double cents = voices > 1 ? detune * (v - (voices - 1) / 2.0) / ((voices - 1) / 2.0) : 0;
    spread[static_cast<size_t>(v)] = std::pow(2.0, cents / 1200.0);
  }
  double modPhase = 0;
  Svf filter, drum;
  double hpState = 0, hpPrev = 0;
  double fc = in.cutoff > 0 ? SvfCoefficient(in.cutoff, rate) : 0;
  double q = 1.0 / in.resonance;
  double hpA = in.highpass > 0 ? 1.0 / (1.0 + kTwoPi * in.highpass / rate) : 0;
  // The string of a plucked note: one period of noise that a soft filter
  // wears down.
  std::vector<double> string;
  size_t stringAt = 0;
  if (in.wave == Wave::kPluck) {
    string.resize(static_cast<size_t>(std::max(2.0, std::round(rate / freq))));
    for (double& s : string) s = Noise();
  }
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / ms;  // ms
    double pitch = freq;
    if (in.glide != 0) pitch *= std::pow(2.0, in.glide * std::exp(-t / in.glideTime) / 12.0);
    if (in.vibrato > 0) {
      double depth = in.vibrato * std::min(1.0, t / 300.0);
      pitch *= std::pow(2.0, depth / 1200.0 * std::sin(kTwoPi * in.vibratoRate * t / 1000.0));
    }
    double s = 0;
    switch (in.wave) {
      case Wave::kSine:
      case Wave::kTriangle:
      case Wave::kSquare:
      case Wave::kSaw:
      case Wave::kPad: {
        for (int v = 0; v < voices; ++v) {
          double& p = phase[static_cast<size_t>(v)];
          double dt = pitch * spread[static_cast<size_t>(v)] / rate;
          double x;
          if (in.wave == Wave::kSine) {
            x = std::sin(kTwoPi * p);
          } else if (in.wave == Wave::kTriangle) {
            x = 4.0 * std::fabs(p - 0.5) - 1.0;
          } else if (in.wave == Wave::kSquare) {
            x = (p < in.pulseWidth ? 1.0 : -1.0) + PolyBlep(p, dt) - PolyBlep(std::fmod(p + 1.0 - in.pulseWidth, 1.0), dt);
          } else {
            x = 2.0 * p - 1.0 - PolyBlep(p, dt);
          }
          s += x;
          p += dt;
          if (p >= 1.0) p -= 1.0;
        }
        s /= std::sqrt(static_cast<double>(voices));
        break;
      }
      case Wave::kNoise:
        s = Noise();
        break;
      case Wave::kFM: {
        double idx = in.index * std::pow(3.0, -t / in.indexDecay);
        s = std::sin(kTwoPi * phase[0] + idx * std::sin(kTwoPi * modPhase));
        phase[0] = std::fmod(phase[0] + pitch / rate, 1.0);
        modPhase = std::fmod(modPhase + pitch * in.ratio / rate, 1.0);
        break;
      }
      case Wave::kPluck: {
        size_t next = (stringAt + 1) % string.size();
        s = string[stringAt];
        string[stringAt] = 0.5 * (string[stringAt] + string[next]) * 0.998;
        stringAt = next;
        break;
      }
      case Wave::kKick: {
        double f = freq * (1.0 + 5.0 * std::exp(-t / 12.0));
        phase[0] = std::fmod(phase[0] + f / rate, 1.0);
        s = std::sin(kTwoPi * phase[0]) * std::exp(-t / std::max(in.decay, 1.0)) + (t < 2 ? Noise() * 0.3 : 0);
        break;
      }
      case Wave::kSnare: {
        double band;
        SvfStep(drum, Noise(), SvfCoefficient(1800, rate), 0.8, nullptr, &band, nullptr);
        phase[0] = std::fmod(phase[0] + 185.0 / rate, 1.0);
        s = band * std::exp(-t / std::max(in.decay, 1.0)) * 1.4 + std::sin(kTwoPi * phase[0]) * std::exp(-t / 40.0) * 0.5;
        break;
      }
      case Wave::kHat: {
        double high;
        SvfStep(drum, Noise(), SvfCoefficient(7000, rate), 1.0, nullptr, nullptr, &high);
        s = high * std::exp(-t / std::max(in.decay, 1.0));
        break;
      }
    }
    if (fc > 0) SvfStep(filter, s, fc, q, &s, nullptr, nullptr);
    if (hpA > 0) {
      hpState = hpA * (hpState + s - hpPrev);
      hpPrev = s;
      s = hpState;
    }
    double env;
    switch (in.wave) {
      case Wave::kKick:
      case Wave::kSnare:
      case Wave::kHat:
        env = t < gate + in.decay * 4 ? 1.0 : 0.0;
        break;
      case Wave::kPluck:
        env = std::exp(-t / std::max(in.decay, 1.0)) * (t < gate ? 1.0 : std::max(0.0, 1.0 - (t - gate) / std::max(in.release, 1.0)));
        break;
      default:
        env = Envelope(in, t, gate);
        break;
    }
    if (in.tremolo > 0) env *= 1.0 - in.tremolo * (0.5 + 0.5 * std::sin(kTwoPi * in.tremoloRate * t / 1000.0));
    out[i] = static_cast<float>(s * env * velocity * in.gain);
  }
  return out;
}

bool RenderSong(const Song& song, std::vector<int16_t>* out, std::string* error) {
  Trace("RenderSong");
  plat::SRand(1);
  const double spt = song.rate * 60.0 / (song.tempo * kTicksPerQuarter);
  const double ms = song.rate / 1000.0;
  size_t length = static_cast<size_t>(std::llround(song.length * spt));
  size_t total = length;
  if (!song.loop) {
    double end = 0;
    for (const Track& t : song.tracks)
      for (const NoteEvent& e : t.notes) {
        const Instrument& in = song.instruments.at(t.instrument);
        end = std::max(end, (e.tick + e.length) * spt + std::max(in.release, in.decay * 4) * ms);
      }
    total = static_cast<size_t>(std::max(static_cast<double>(length), end) + song.tail * ms);
  }
  if (total == 0 || total > static_cast<size_t>(song.rate) * 600) {
    *error = "the song must last between one sample and ten minutes";
    return false;
  }
  std::vector<double> left(total, 0.0), right(total, 0.0);
  for (const Track& t : song.tracks) {
    const Instrument& in = song.instruments.at(t.instrument);
    double gl = t.volume * std::cos((t.pan + 1.0) * M_PI / 4.0) * std::sqrt(2.0);
    double gr = t.volume * std::sin((t.pan + 1.0) * M_PI / 4.0) * std::sqrt(2.0);
    for (const NoteEvent& e : t.notes) {
      size_t start = static_cast<size_t>(std::llround(e.tick * spt));
      int64_t gate = std::llround(e.length * spt);
      std::vector<float> note = RenderNote(in, e.midi, e.velocity, gate, song.rate);
      for (size_t i = 0; i < note.size(); ++i) {
        size_t at = start + i;
        if (song.loop) at %= total;
        else if (at >= total) break;
        left[at] += note[i] * gl;
        right[at] += note[i] * gr;
      }
    }
  }
  if (song.reverb > 0) {
    Reverb rl = MakeReverb(song.rate, song.room, 0), rr = MakeReverb(song.rate, song.room, 23);
    std::vector<double> wetL(total), wetR(total);
    // A looping song goes round twice, so that the room already rings with
    // the end of the piece when its start is heard.
    int rounds = song.loop ? 2 : 1;
    for (int r = 0; r < rounds; ++r)
      for (size_t i = 0; i < total; ++i) {
        wetL[i] = ReverbStep(rl, left[i]);
        wetR[i] = ReverbStep(rr, right[i]);
      }
    for (size_t i = 0; i < total; ++i) {
      left[i] = left[i] * (1.0 - song.reverb * 0.5) + wetL[i] * song.reverb;
      right[i] = right[i] * (1.0 - song.reverb * 0.5) + wetR[i] * song.reverb;
    }
  }
  double peak = 0;
  for (size_t i = 0; i < total; ++i) peak = std::max(peak, std::max(std::fabs(left[i]), std::fabs(right[i])));
  if (!song.loop && peak > 0) {
    // A song that ends stops 50 ms after its last sound above -60 dB
    // (instead of at the longest envelope any note could have).
    size_t last = 0;
    for (size_t i = 0; i < total; ++i)
      if (std::max(std::fabs(left[i]), std::fabs(right[i])) > peak * 0.001) last = i;
    total = std::min(total, std::max(length, last + 1 + static_cast<size_t>(50 * ms)));
  }
  double gain = peak > 0 ? song.peak / peak : 0;
  out->assign(total * static_cast<size_t>(song.channels), 0);
  auto sample = [&](double v) {
    return static_cast<int16_t>(std::clamp(std::lround(v * gain * 32767.0), -32768L, 32767L));
  };
  for (size_t i = 0; i < total; ++i) {
    if (song.channels == 1) {
      (*out)[i] = sample((left[i] + right[i]) * 0.5);
    } else {
      (*out)[2 * i] = sample(left[i]);
      (*out)[2 * i + 1] = sample(right[i]);
    }
  }
  return true;
}

}  // namespace gen
