#include "tools/demo_signal/demo_signal.h"

#include <algorithm>
#include <array>
#include <numbers>

namespace lumra {
namespace {

// Sine and cosine of a small angle by their series; exact to double precision for |x| < 1.
void SinCos(double x, double& s, double& c) {
  double term = x;
  s = 0.0;
  for (int k = 1; k < 40; k += 2) {
    s += term;
    term *= -x * x / ((k + 1) * (k + 2));
  }
  term = 1.0;
  c = 0.0;
  for (int k = 0; k < 40; k += 2) {
    c += term;
    term *= -x * x / ((k + 1) * (k + 2));
  }
}

class Noise {
 public:
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  std::uint32_t state_ = 22222;
};

struct Note {
  double Start, Frequency, Length, Pan, Level;
};

struct Hit {
  double Start, Pan, Level, Decay, Tone;
};

// Adds a decaying sine that starts at `start` seconds, through a rotating phasor.
void AddNote(StereoSignal& s, const Note& note) {
  const double rate = s.SampleRate;
  const auto first = static_cast<std::size_t>(note.Start * rate);
  const auto count = std::min(static_cast<std::size_t>(note.Length * rate), s.Left.size() - first);
  double sinW = 0.0, cosW = 0.0;
  SinCos(2.0 * std::numbers::pi * note.Frequency / rate, sinW, cosW);
  const double decayPerSample = 1.0 - 4.0 / (note.Length * rate);
  double re = 1.0, im = 0.0, envelope = note.Level;
  const std::size_t attack = static_cast<std::size_t>(0.005 * rate);
  for (std::size_t i = 0; i < count; ++i) {
    const double ramp = i < attack ? static_cast<double>(i) / attack : 1.0;
    const double x = im * envelope * ramp;
    s.Left[first + i] += static_cast<float>(x * (1.0 - note.Pan));
    s.Right[first + i] += static_cast<float>(x * (1.0 + note.Pan));
    const double nextRe = re * cosW - im * sinW;
    im = re * sinW + im * cosW;
    re = nextRe;
    envelope *= decayPerSample;
  }
}

// Adds a burst of noise, low-passed by a one-pole filter and decaying fast.
void AddHit(StereoSignal& s, const Hit& hit, Noise& noise) {
  const double rate = s.SampleRate;
  const auto first = static_cast<std::size_t>(hit.Start * rate);
  const auto count = std::min(static_cast<std::size_t>(0.3 * rate), s.Left.size() - first);
  const double decay = 1.0 - 1.0 / (hit.Decay * rate);
  double envelope = hit.Level, state = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    state += (noise.Next() - state) * hit.Tone;
    const double x = state * envelope;
    s.Left[first + i] += static_cast<float>(x * (1.0 - hit.Pan));
    s.Right[first + i] += static_cast<float>(x * (1.0 + hit.Pan));
    envelope *= decay;
  }
}

}  // namespace

StereoSignal MakeDemoSignal(std::int32_t sampleRate, double seconds) {
  StereoSignal s;
  s.SampleRate = sampleRate;
  const auto frames = static_cast<std::size_t>(seconds * sampleRate);
  s.Left.assign(frames, 0.0f);
  s.Right.assign(frames, 0.0f);

  // A short arpeggio and a held chord, then silence for the tail to be heard.
  constexpr std::array<Note, 8> notes{{{0.50, 261.63, 0.6, -0.5, 0.20},
                                       {0.75, 329.63, 0.6, 0.0, 0.20},
                                       {1.00, 392.00, 0.6, 0.5, 0.20},
                                       {1.25, 523.25, 0.8, 0.2, 0.18},
                                       {2.00, 220.00, 1.2, -0.3, 0.15},
                                       {2.00, 277.18, 1.2, 0.3, 0.15},
                                       {2.00, 329.63, 1.2, 0.0, 0.15},
                                       {2.00, 880.00, 0.4, 0.6, 0.06}}};
  constexpr std::array<Hit, 5> hits{{{0.00, 0.0, 0.7, 0.020, 0.6},
                                     {0.25, -0.6, 0.5, 0.010, 0.9},
                                     {1.50, 0.6, 0.6, 0.015, 0.4},
                                     {1.625, -0.2, 0.4, 0.008, 0.95},
                                     {3.00, 0.0, 0.8, 0.030, 0.3}}};
  for (const Note& note : notes)
    if (note.Start < seconds) AddNote(s, note);
  Noise noise;
  for (const Hit& hit : hits)
    if (hit.Start < seconds) AddHit(s, hit, noise);
  return s;
}

}  // namespace lumra
