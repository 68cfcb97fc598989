// Damaged and hostile files: each gives a LoadError or loads, never
// another exception, a crash, a hang or an allocation sized by a count
// the file made up.  Run under the sanitizers, these also catch reads
// outside the data.
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/lightwave_files.h"
#include "host/lws_scene_builder.h"
#include "lightwave/iff_writer.h"
#include "lightwave/lwo_reader.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lwo3_writer.h"
#include "lightwave/lws_reader.h"
#include "sample_files.h"

namespace host {
namespace {

using lwfiles_test::ScratchFolder;

// Loads damaged object bytes; false when they were refused.
bool LoadsObject(const std::vector<std::uint8_t>& bytes, const std::string& what) {
  try {
    ReadLwo(bytes, "damaged.lwo");
    return true;
  } catch (const LoadError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("damaged.lwo: ", 0), 0u) << what << ": " << error.what();
    return false;
  } catch (const std::exception& error) {
    ADD_FAILURE() << what << ": " << error.what();
    return false;
  }
}

bool LoadsScene(const std::string& text, const std::string& scenePath, const std::string& what) {
  try {
    SceneFromLws(ReadLws(text, scenePath), scenePath, {});
    return true;
  } catch (const LoadError&) {
    return false;
  } catch (const std::exception& error) {
    ADD_FAILURE() << what << ": " << error.what();
    return false;
  }
}

void SetFormLength(std::vector<std::uint8_t>& bytes) {
  const auto length = static_cast<std::uint32_t>(bytes.size() - 8);
  for (int i = 0; i < 4; ++i) bytes[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
}

// The sample object in each format: LWO2, and LWO3 with each material
// kind (a Principled material holds one image colour layer).
std::vector<std::uint8_t> SampleObject(const std::string& format) {
  host::Lwo2Object object = lwfiles_test::LayeredObject();
  if (format == "LWO2") return WriteLwo2(object);
  if (format == "LWO3Standard") return WriteLwo3(object, Lwo3Material::kStandard);
  object.surfaces[0].colorLayers = {object.surfaces[0].colorLayers[1]};
  return WriteLwo3(object, Lwo3Material::kPrincipled);
}

class DamagedObject : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedObject, EveryTruncation) {
  const std::vector<std::uint8_t> whole = SampleObject(GetParam());
  ASSERT_TRUE(LoadsObject(whole, "whole"));
  for (std::size_t length = 0; length < whole.size(); ++length) {
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(LoadsObject(cut, "cut at " + std::to_string(length)));
    // With the form's length made to match, the cut reaches the chunks.
    if (length >= 12) {
      SetFormLength(cut);
      LoadsObject(cut, "cut at " + std::to_string(length) + ", form length fixed");
    }
  }
}

TEST_P(DamagedObject, ByteFlips) {
  const std::vector<std::uint8_t> whole = SampleObject(GetParam());
  // An LWO3 file is many times longer than its LWO2 twin, mostly names and
  // lengths: two masks a byte reach its structure at a bearable cost.
  const std::vector<int> masks = GetParam() == "LWO2" ? std::vector<int>{0xFF, 0x80, 0x01}
                                                      : std::vector<int>{0xFF, 0x01};
  int refused = 0;
  for (std::size_t at = 0; at < whole.size(); ++at) {
    for (int mask : masks) {
      std::vector<std::uint8_t> flipped = whole;
      flipped[at] = static_cast<std::uint8_t>(flipped[at] ^ mask);
      refused += LoadsObject(flipped, "byte " + std::to_string(at) + " ^ " + std::to_string(mask)) ? 0 : 1;
    }
  }
  EXPECT_GT(refused, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, DamagedObject, ::testing::Values("LWO2", "LWO3Standard", "LWO3Principled"),
                         [](const ::testing::TestParamInfo<std::string>& format) { return format.param; });

// A short scene that still has every construct the reader knows: items
// of each kind with ids, envelopes, parents, pivots, plug-in data and a
// block of another kind.
const char kSampleScene[] =
    "LWSC\n5\n\nFramesPerSecond 30\n"
    "LoadObjectLayer 1 10000000 cube.lwo\nObjectMotion\nNumChannels 9\nChannel 0\n{ Envelope\n  2\n"
    "  Key 1 0 0 0 0 0 0 0 0\n  Key 2 1 5 -0.2 0 0.3 0.5 0 0\n  Behaviors 1 4\n}\nChannel 4\n"
    "{ Envelope\n  1\n  Key 0.5 0 3 0 0 0 0 0 0\n  Behaviors 2 3\n}\n"
    "PivotPosition 0.5 0 0\nPivotRotation 90 0 0\nParentItem 10000001\n"
    "Plugin CustomObjHandler 1 Odd\n{ x\nEndPlugin\n"
    "AddNullObject 10000001 Rig Root\n{ Nodes\n  { Inner\n  }\n}\n"
    "AddBone 40000000\nBoneName Arm\nParentItem 10000001\n"
    "AddLight 20000000\nLightName Sun\nParentItem 40000000\n";

TEST(BadInput, EveryTruncationAndManyEditsOfAScene) {
  ScratchFolder folder;
  folder.Write("cube.lwo", WriteLwo2(lwfiles_test::CubeObject()));
  const std::string scenePath = (folder.path() / "sample.lws").string();
  const std::string whole = kSampleScene;
  ASSERT_TRUE(LoadsScene(whole, scenePath, "whole"));
  for (std::size_t length = 0; length < whole.size(); ++length) {
    LoadsScene(whole.substr(0, length), scenePath, "cut at " + std::to_string(length));
  }
  for (std::size_t at = 0; at < whole.size(); ++at) {
    for (char replacement : {'\n', '{', '}', '7', 'x', '\0'}) {
      std::string edited = whole;
      edited[at] = replacement;
      LoadsScene(edited, scenePath, "byte " + std::to_string(at) + " = " + std::to_string(replacement));
    }
  }
}

std::string ErrorOf(const std::vector<std::uint8_t>& bytes) {
  try {
    ReadLwo(bytes, "hostile.lwo");
  } catch (const LoadError& error) {
    return error.what();
  }
  return "(loaded)";
}

TEST(BadInput, MadeUpCountsAndDepthsAreRefusedCheaply) {
  // A form and a chunk that claim four gigabytes.
  std::vector<std::uint8_t> form = {'F', 'O', 'R', 'M', 0xFF, 0xFF, 0xFF, 0xFF, 'L', 'W', 'O', '2'};
  EXPECT_NE(ErrorOf(form).find("truncated"), std::string::npos);
  IffWriter chunk;
  chunk.Begin(MakeId("FORM"), IffLength::kU4);
  chunk.Id4(MakeId("LWO2"));
  chunk.Id4(MakeId("PNTS"));
  chunk.U4(0xFFFFFFF0u);
  chunk.End();
  EXPECT_NE(ErrorOf(chunk.bytes()).find("PNTS says it holds 4294967280 bytes"), std::string::npos);

  // A polygon that claims 1023 vertices in a chunk of four bytes.
  IffWriter polygon;
  polygon.Begin(MakeId("FORM"), IffLength::kU4);
  polygon.Id4(MakeId("LWO2"));
  polygon.Begin(MakeId("POLS"), IffLength::kU4);
  polygon.Id4(MakeId("FACE"));
  polygon.U2(1023);
  polygon.End();
  polygon.End();
  EXPECT_NE(ErrorOf(polygon.bytes()).find("a polygon of 1023 vertices runs past the end"), std::string::npos);

  // Scenes: a key count of a billion, a hundred thousand nested blocks.
  ScratchFolder folder;
  const std::string keys = "LWSC\n2\nAddNullObject N\nObjectMotion (unnamed)\n9\n1000000000\n0 0 0 0 0 0\n";
  EXPECT_FALSE(LoadsScene(keys, (folder.path() / "keys.lws").string(), "key count"));
  std::string nested = "LWSC\n3\n";
  for (int i = 0; i < 100000; ++i) nested += "{ Deep\n";
  EXPECT_FALSE(LoadsScene(nested, (folder.path() / "nested.lws").string(), "nesting"));
}

TEST(BadInput, AnObjectsFirstFaultInReadingOrderIsTheOneNamed) {
  // A polygon naming a point the object lacks, then one whose four-byte
  // index is cut short.
  IffWriter cut;
  cut.Begin(MakeId("FORM"), IffLength::kU4);
  cut.Id4(MakeId("LWO2"));
  cut.Begin(MakeId("PNTS"), IffLength::kU4);
  for (int p = 0; p < 3; ++p) cut.Vec12({0.0f, 0.0f, static_cast<float>(p)});
  cut.End();
  cut.Begin(MakeId("POLS"), IffLength::kU4);
  cut.Id4(MakeId("FACE"));
  cut.U2(3);
  for (std::uint32_t point : {0u, 1u, 5u}) cut.Vx(point);
  cut.U2(1);
  cut.U1(0xFF);
  cut.U1(0x00);
  cut.End();
  cut.End();
  EXPECT_NE(ErrorOf(cut.bytes()).find("point index 5 is past the 3 points"), std::string::npos)
      << ErrorOf(cut.bytes());
}

}  // namespace
}  // namespace host
