// Motion channels of scene items: keys with their span shapes and the
// behaviours before the first and after the last key, evaluated the way
// Layout evaluates them.
#pragma once

#include <array>
#include <vector>

namespace host {

// How the span that ends at a key is interpolated; the numbers are the
// ones scene files write.
enum class SpanShape { kTcb = 0, kHermite = 1, kBezier1D = 2, kLinear = 3, kStepped = 4, kBezier2D = 5 };

// What a channel does outside its keys; the numbers are the ones scene
// files write.
enum class Behavior { kReset = 0, kConstant = 1, kRepeat = 2, kOscillate = 3, kOffsetRepeat = 4, kLinear = 5 };

struct EnvelopeKey {
  double value = 0.0;
  double time = 0.0;  // seconds
  SpanShape shape = SpanShape::kTcb;
  // The six curve parameters of the scene file's Key line.  TCB spans use
  // tension, continuity and bias (0-2); Hermite and 1-D Bezier spans the
  // incoming and outgoing tangents (3, 4); 2-D Bezier spans the incoming
  // time and value offsets (0, 1) and the outgoing ones (2, 3).
  std::array<double, 6> p{};
};

struct Envelope {
  std::vector<EnvelopeKey> keys;  // in increasing time order
  Behavior pre = Behavior::kConstant;
  Behavior post = Behavior::kConstant;

  // The channel's value at `time` seconds: 0 without keys, the value of a
  // lone key at every time.
  double Evaluate(double time) const;
};

}  // namespace host
