#include "lightwave/lws_envelope.h"

#include <cmath>
#include <cstddef>

namespace host {
namespace {

// Keys of a damaged file may share a time; a ratio over a zero interval
// counts as 0 instead of producing NaN.
double Ratio(double numerator, double denominator) {
  return denominator == 0.0 ? 0.0 : numerator / denominator;
}

// A 2-D Bezier handle's slope: value offset over time offset, with the
// very steep limit LightWave uses for a vertical handle.
double HandleSlope(double valueOffset, double timeOffset, double span) {
  const double scaled = valueOffset * span;
  return std::fabs(timeOffset) > 1e-5 ? scaled / timeOffset : scaled * 1e5;
}

class KeyPair {
 public:
  KeyPair(const std::vector<EnvelopeKey>& keys, std::size_t first)
      : keys_(keys), i_(first), k0_(keys[first]), k1_(keys[first + 1]) {}

  // The tangent leaving k0 towards k1, shaped by k0's kind of key.
  double Outgoing() const {
    const double span = k1_.time - k0_.time;
    const bool hasPrevious = i_ > 0;
    const EnvelopeKey* previous = hasPrevious ? &keys_[i_ - 1] : nullptr;
    switch (k0_.shape) {
      case SpanShape::kTcb: {
        const double a = (1 - k0_.p[0]) * (1 + k0_.p[1]) * (1 + k0_.p[2]);
        const double b = (1 - k0_.p[0]) * (1 - k0_.p[1]) * (1 - k0_.p[2]);
        const double d = k1_.value - k0_.value;
        if (!previous) return b * d;
        return Ratio(span, k1_.time - previous->time) * (a * (k0_.value - previous->value) + b * d);
      }
      case SpanShape::kLinear: {
        const double d = k1_.value - k0_.value;
        if (!previous) return d;
        return Ratio(span, k1_.time - previous->time) * (k0_.value - previous->value + d);
      }
      case SpanShape::kHermite:
      case SpanShape::kBezier1D:
        return previous ? k0_.p[4] * Ratio(span, k1_.time - previous->time) : k0_.p[4];
      case SpanShape::kBezier2D: return HandleSlope(k0_.p[3], k0_.p[2], span);
      case SpanShape::kStepped: break;
    }
    return 0.0;
  }

  // The tangent arriving at k1 from k0, shaped by k1's kind of key.
  double Incoming() const {
    const double span = k1_.time - k0_.time;
    const EnvelopeKey* next = i_ + 2 < keys_.size() ? &keys_[i_ + 2] : nullptr;
    switch (k1_.shape) {
      case SpanShape::kTcb: {
        const double a = (1 - k1_.p[0]) * (1 - k1_.p[1]) * (1 + k1_.p[2]);
        const double b = (1 - k1_.p[0]) * (1 + k1_.p[1]) * (1 - k1_.p[2]);
        const double d = k1_.value - k0_.value;
        if (!next) return a * d;
        return Ratio(span, next->time - k0_.time) * (b * (next->value - k1_.value) + a * d);
      }
      case SpanShape::kLinear: {
        const double d = k1_.value - k0_.value;
        if (!next) return d;
        return Ratio(span, next->time - k0_.time) * (next->value - k1_.value + d);
      }
      case SpanShape::kHermite:
      case SpanShape::kBezier1D:
        return next ? k1_.p[3] * Ratio(span, next->time - k0_.time) : k1_.p[3];
      case SpanShape::kBezier2D: return HandleSlope(k1_.p[1], k1_.p[0], span);
      case SpanShape::kStepped: break;
    }
    return 0.0;
  }

  // The value at `time`, which lies strictly inside the span.
  double Interpolate(double time) const {
    const double t = Ratio(time - k0_.time, k1_.time - k0_.time);
    switch (k1_.shape) {
      case SpanShape::kTcb:
      case SpanShape::kHermite:
      case SpanShape::kBezier1D: return Hermite(t);
      case SpanShape::kBezier2D: return Bezier2D(time);
      case SpanShape::kLinear: return k0_.value + t * (k1_.value - k0_.value);
      case SpanShape::kStepped: break;
    }
    return k0_.value;
  }

 private:
  double Hermite(double t) const {
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double h1 = 2 * t3 - 3 * t2 + 1;
    const double h2 = -2 * t3 + 3 * t2;
    const double h3 = t3 - 2 * t2 + t;
    const double h4 = t3 - t2;
    return h1 * k0_.value + h2 * k1_.value + h3 * Outgoing() + h4 * Incoming();
  }

  static double Cubic(const std::array<double, 4>& c, double t) {
    const double u = 1 - t;
    return u * u * u * c[0] + 3 * u * u * t * c[1] + 3 * u * t * t * c[2] + t * t * t * c[3];
  }

  // The curve through the two keys and their handles; a key that is not a
  // 2-D Bezier key leaves with a handle a third of the span long.
  double Bezier2D(double time) const {
    std::array<double, 4> x{k0_.time, 0.0, k1_.time + k1_.p[0], k1_.time};
    std::array<double, 4> y{k0_.value, 0.0, k1_.value + k1_.p[1], k1_.value};
    if (k0_.shape == SpanShape::kBezier2D) {
      x[1] = k0_.time + k0_.p[2];
      y[1] = k0_.value + k0_.p[3];
    } else {
      x[1] = k0_.time + (k1_.time - k0_.time) / 3;
      y[1] = k0_.value + Outgoing() / 3;
    }
    // The curve's time grows along the span; find the parameter by halving.
    double low = 0.0;
    double high = 1.0;
    for (int step = 0; step < 60; ++step) {
      const double middle = (low + high) / 2;
      if (Cubic(x, middle) < time) {
        low = middle;
      } else {
        high = middle;
      }
    }
    return Cubic(y, (low + high) / 2);
  }

  const std::vector<EnvelopeKey>& keys_;
  std::size_t i_;
  const EnvelopeKey& k0_;
  const EnvelopeKey& k1_;
};

// Maps `time` into [first, last]; `cycles` is how many whole periods it
// was moved by (negative before the first key).
double WrapTime(double time, double first, double last, double& cycles) {
  const double period = last - first;
  if (period <= 0.0) {
    cycles = 0.0;
    return first;
  }
  cycles = std::floor((time - first) / period);
  return time - cycles * period;
}

}  // namespace

double Envelope::Evaluate(double time) const {
  if (keys.empty()) return 0.0;
  const EnvelopeKey& first = keys.front();
  const EnvelopeKey& last = keys.back();
  if (keys.size() == 1) return first.value;

  double offset = 0.0;
  const bool before = time < first.time;
  const bool after = time > last.time;
  if (before || after) {
    const Behavior behavior = before ? pre : post;
    double cycles = 0.0;
    switch (behavior) {
      case Behavior::kReset: return 0.0;
      case Behavior::kConstant: return before ? first.value : last.value;
      case Behavior::kLinear: {
        // The line continues the tangent at the end key.
        if (before) {
          const double slope = Ratio(KeyPair(keys, 0).Outgoing(), keys[1].time - first.time);
          return first.value + slope * (time - first.time);
        }
        const std::size_t beforeLast = keys.size() - 2;
        const double slope = Ratio(KeyPair(keys, beforeLast).Incoming(), last.time - keys[beforeLast].time);
        return last.value + slope * (time - last.time);
      }
      case Behavior::kRepeat: time = WrapTime(time, first.time, last.time, cycles); break;
      case Behavior::kOscillate:
        time = WrapTime(time, first.time, last.time, cycles);
        if (std::fmod(std::fabs(cycles), 2.0) == 1.0) time = last.time - (time - first.time);
        break;
      case Behavior::kOffsetRepeat:
        time = WrapTime(time, first.time, last.time, cycles);
        offset = cycles * (last.value - first.value);
        break;
    }
  }
  // The span whose end key is the first at or after `time`.
  std::size_t end = 1;
  while (end + 1 < keys.size() && keys[end].time < time) ++end;
  if (time <= keys[end - 1].time) return keys[end - 1].value + offset;
  if (time >= keys[end].time) return keys[end].value + offset;
  return KeyPair(keys, end - 1).Interpolate(time) + offset;
}

}  // namespace host
