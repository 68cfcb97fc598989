#include "lightwave/lws_envelope.h"

#include <gtest/gtest.h>

namespace host {
namespace {

EnvelopeKey Key(double time, double value, SpanShape shape) {
  EnvelopeKey key;
  key.time = time;
  key.value = value;
  key.shape = shape;
  return key;
}

TEST(Envelope, KeysAloneAndExactTimes) {
  Envelope envelope;
  EXPECT_EQ(envelope.Evaluate(0.0), 0.0);
  envelope.keys = {Key(2.0, 7.0, SpanShape::kTcb)};
  envelope.pre = Behavior::kReset;
  EXPECT_EQ(envelope.Evaluate(0.0), 7.0) << "a lone key holds at every time, whatever the behaviour";
  envelope.keys.push_back(Key(3.0, 9.0, SpanShape::kTcb));
  EXPECT_EQ(envelope.Evaluate(2.0), 7.0);
  EXPECT_EQ(envelope.Evaluate(3.0), 9.0);
}

// Linear keys (1, 1), (2, 2), (3, 6): each behaviour sampled half a
// second before the first key and a second and a half after the last.
TEST(Envelope, BehavioursBeforeTheFirstAndAfterTheLastKey) {
  Envelope envelope;
  envelope.keys = {Key(1, 1, SpanShape::kLinear), Key(2, 2, SpanShape::kLinear), Key(3, 6, SpanShape::kLinear)};
  struct Case {
    Behavior behavior;
    double before;
    double after;
  };
  const Case cases[] = {
      {Behavior::kReset, 0.0, 0.0},          {Behavior::kConstant, 1.0, 6.0},
      {Behavior::kRepeat, 1.5, 4.0},         {Behavior::kOscillate, 4.0, 1.5},
      {Behavior::kOffsetRepeat, -3.5, 9.0},  {Behavior::kLinear, -0.5, 12.0},
  };
  for (const Case& c : cases) {
    envelope.pre = envelope.post = c.behavior;
    EXPECT_DOUBLE_EQ(envelope.Evaluate(-0.5), c.before) << static_cast<int>(c.behavior);
    EXPECT_DOUBLE_EQ(envelope.Evaluate(4.5), c.after) << static_cast<int>(c.behavior);
  }
}

TEST(Envelope, SpanShapes) {
  Envelope stepped;
  stepped.keys = {Key(0, 0, SpanShape::kLinear), Key(1, 5, SpanShape::kStepped)};
  EXPECT_EQ(stepped.Evaluate(0.9), 0.0);

  // A TCB rise and fall: the middle key's tangent is flat.
  Envelope tcb;
  tcb.keys = {Key(0, 0, SpanShape::kTcb), Key(1, 1, SpanShape::kTcb), Key(2, 0, SpanShape::kTcb)};
  EXPECT_DOUBLE_EQ(tcb.Evaluate(0.5), 0.625);
  EXPECT_DOUBLE_EQ(tcb.Evaluate(1.5), 0.625);

  // Hermite: outgoing tangent 2 at the first key, flat at the second.
  Envelope hermite;
  hermite.keys = {Key(0, 0, SpanShape::kHermite), Key(1, 1, SpanShape::kHermite)};
  hermite.keys[0].p[4] = 2.0;
  EXPECT_DOUBLE_EQ(hermite.Evaluate(0.5), 0.75);

  // 2-D Bezier with flat handles half the span long: an ease in and out,
  // symmetric about the middle.
  Envelope bezier;
  bezier.keys = {Key(0, 0, SpanShape::kBezier2D), Key(1, 1, SpanShape::kBezier2D)};
  bezier.keys[0].p[2] = 0.5;
  bezier.keys[1].p[0] = -0.5;
  EXPECT_NEAR(bezier.Evaluate(0.5), 0.5, 1e-9);
  EXPECT_LT(bezier.Evaluate(0.25), 0.2);
  EXPECT_NEAR(bezier.Evaluate(0.25) + bezier.Evaluate(0.75), 1.0, 1e-9);
}

}  // namespace
}  // namespace host
