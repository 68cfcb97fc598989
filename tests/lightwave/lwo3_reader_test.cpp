// LWO3 files as LightWave and other writers may lay them out, beyond what
// the LWO3 writer makes: Principled values, graphs that cannot be
// followed, items the reader does not know, and where a fault is named.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lightwave/iff_writer.h"
#include "lightwave/load_error.h"
#include "lightwave/lwo3_writer.h"
#include "lightwave/lwo_reader.h"
#include "sample_files.h"

namespace host {
namespace {

// Writes LWO3 items: every chunk has a four-byte length, every form a type.
class Lwo3File {
 public:
  Lwo3File() { Form("LWO3"); }

  void Form(const char (&type)[5]) {
    out_.Begin(MakeId("FORM"), IffLength::kU4);
    out_.Id4(MakeId(type));
  }
  void Chunk(const char (&id)[5]) { out_.Begin(MakeId(id), IffLength::kU4); }
  void End() { out_.End(); }
  void Text(const char (&id)[5], const std::string& text) {
    Chunk(id);
    out_.S0(text);
    End();
  }
  IffWriter& raw() { return out_; }

  // One triangle on the surface "Skin".
  void Triangle() {
    Text("TAGS", "Skin");
    Chunk("PNTS");
    for (int i = 0; i < 3; ++i) out_.Vec12({static_cast<float>(i), 1.0f, 0.0f});
    End();
    Chunk("POLS");
    out_.Id4(MakeId("FACE"));
    out_.U2(3);
    for (std::uint32_t i = 0; i < 3; ++i) out_.Vx(i);
    End();
    Chunk("PTAG");
    out_.Id4(MakeId("SURF"));
    out_.Vx(0);
    out_.U2(0);
    End();
  }

  void Node(const std::string& type, const std::string& name, const std::function<void()>& data) {
    Text("NSRV", type);
    Form("NTAG");
    Text("NRNM", type);
    Text("NNME", name);
    Form("NDTA");
    data();
    End();
    End();
  }
  void Connect(const std::string& node, const std::string& input, const std::string& source) {
    Text("INME", node);
    Text("IINM", input);
    Text("IINN", source);
    Text("IONM", "Material");
  }
  void Entry(const std::string& name, const std::vector<double>& numbers) {
    Form("ENTR");
    Text("NAME", name);
    Form("VALU");
    Text("    ", numbers.size() == 3 ? "vparam3" : "vparam");
    Form("VALU");
    Chunk("    ");
    out_.U4(static_cast<std::uint32_t>(numbers.size()));
    for (double number : numbers) out_.F8(number);
    End();
    End();
    End();
    End();
  }
  void Attributes(const char (&form)[5], const std::function<void()>& entries) {
    Form(form);
    Form("META");
    Form("ADAT");
    entries();
    End();
    End();
    End();
  }

  std::vector<std::uint8_t> Finish() {
    End();
    return out_.Release();
  }

 private:
  IffWriter out_;
};

std::string ErrorOf(const std::vector<std::uint8_t>& bytes) {
  try {
    ReadLwo(bytes, "bad.lwo");
  } catch (const LoadError& error) {
    return error.what();
  }
  return "(loaded)";
}

TEST(Lwo3Reader, PrincipledValuesMapOntoTheClassicChannelsAndUnknownItemsAreSkipped) {
  Lwo3File file;
  file.Chunk("OTAG");
  file.raw().Id4(MakeId("TXUV"));
  file.raw().S0("gone");
  file.End();
  file.Triangle();
  file.Form("ZZZZ");  // a form nobody knows, holding a chunk of odd length
  file.Chunk("ODD1");
  file.raw().U1(9);
  file.End();
  file.End();
  file.Form("SURF");
  file.Chunk("    ");
  file.raw().S0("Skin");
  file.raw().S0("");
  file.End();
  file.Chunk("SMAN");
  file.raw().F4(1.5f);
  file.End();
  file.Chunk("VCOL");  // as in LWO2, with a four-byte length
  file.raw().F4(1.0f);
  file.raw().Vx(0);
  file.raw().Id4(MakeId("RGB "));
  file.raw().S0("dirt");
  file.End();
  file.Form("NODS");
  file.Form("NNDS");
  file.Node("Surface", "Surface", [] {});
  file.Node("Principled BSDF", "Principled BSDF (1)", [&] {
    file.Chunk("QQQQ");
    file.End();
    file.Attributes("ATTR", [&] {
      file.Entry("Color", {0.2, 0.4, 0.6});
      file.Entry("Roughness", {0.25});
      file.Entry("Specular", {0.5});
      file.Entry("Metallic", {0.75});
      file.Entry("Transparency", {0.125});
    });
  });
  file.End();
  file.Form("NCON");
  file.Connect("Surface", "Material", "Principled BSDF (1)");
  file.End();
  file.End();
  file.End();

  const Lwo2Object object = ReadLwo(file.Finish(), "principled.lwo");
  ASSERT_EQ(object.surfaces.size(), 1u);
  const Lwo2Surface& skin = object.surfaces[0];
  EXPECT_EQ(skin.color, (Vec3{static_cast<double>(0.2f), static_cast<double>(0.4f), static_cast<double>(0.6f)})) << "narrowed to floats, as LWO2 stores them";
  EXPECT_DOUBLE_EQ(skin.glossiness, 0.75) << "1 - Roughness";
  EXPECT_DOUBLE_EQ(skin.reflectivity, 0.75) << "Metallic";
  EXPECT_DOUBLE_EQ(skin.transparency, 0.125);
  EXPECT_EQ(skin.vertexColorMap, "dirt");
  EXPECT_TRUE(skin.colorLayers.empty());
  EXPECT_TRUE(object.warnings.empty());
  ASSERT_EQ(object.layers.size(), 1u);
  EXPECT_EQ(object.layers[0].mesh.polygons.at(0).surface, "Skin");
}

TEST(Lwo3Reader, ASurfaceWhoseGraphCannotBeFollowedGetsTheDefaultsAndOneWarning) {
  Lwo3File file;
  file.Triangle();
  auto surfaceForm = [&](const std::string& name, const std::function<void()>& graph) {
    file.Form("SURF");
    file.Text("    ", name);
    graph();
    file.End();
  };
  surfaceForm("NoGraph", [] {});
  surfaceForm("Unwired", [&] {
    file.Form("NODS");
    file.Form("NNDS");
    file.Node("Surface", "Surface", [] {});
    file.Node("Standard", "Standard (1)", [&] {
      file.Attributes("SATR", [&] { file.Entry("Glossiness", {0.9}); });
    });
    file.End();
    file.End();
  });
  surfaceForm("Foreign", [&] {
    file.Form("NODS");
    file.Form("NNDS");
    file.Node("Surface", "Surface", [] {});
    file.Node("Dielectric", "Dielectric (1)", [] {});
    file.End();
    file.Form("NCON");
    file.Connect("Surface", "Material", "Dielectric (1)");
    file.End();
    file.End();
  });
  surfaceForm("NoAttributes", [&] {
    file.Form("NODS");
    file.Form("NNDS");
    file.Node("Surface", "Surface", [] {});
    file.Node("Standard", "Standard (1)", [] {});
    file.End();
    file.Form("NCON");
    file.Connect("Surface", "Material", "Standard (1)");
    file.End();
    file.End();
  });

  const Lwo2Object object = ReadLwo(file.Finish(), "graphs.lwo");
  ASSERT_EQ(object.surfaces.size(), 4u);
  for (const Lwo2Surface& surface : object.surfaces) {
    SCOPED_TRACE(surface.name);
    EXPECT_EQ(surface.color, kDefaultSurfaceColor);
    EXPECT_DOUBLE_EQ(surface.glossiness, kDefaultSurfaceGlossiness);
  }
  ASSERT_EQ(object.warnings.size(), 4u);
  EXPECT_EQ(object.warnings[0], "graphs.lwo: surface 'NoGraph' has no node graph; it gets the default surface values");
  EXPECT_NE(object.warnings[1].find("'Unwired' has nothing connected to its Surface node's Material input"),
            std::string::npos);
  EXPECT_NE(object.warnings[2].find("'Foreign' has a material of type 'Dielectric'"), std::string::npos);
  EXPECT_NE(object.warnings[3].find("'NoAttributes' has a material node 'Standard (1)' without its attributes"),
            std::string::npos);
}

TEST(Lwo3Reader, ImagesNamedOnlyInlineBecomeClipsOfTheirOwn) {
  // The example's chrome is reflected from an image that only its surface
  // shader names; the writer lists it nowhere else, as LightWave does.
  const Lwo2Object written = lwfiles_test::LayeredObject();
  const Lwo2Object read = ReadLwo(WriteLwo3(written), "layered.lwo");
  ASSERT_EQ(read.clips.size(), 2u);
  EXPECT_EQ(read.clips[0].index, 7u);
  EXPECT_EQ(read.clips[1].index, 8u) << "the next index after the file's own";
  EXPECT_EQ(read.clips[1].stillPath, "C:\\maps\\sky.png");
  EXPECT_EQ(read.surfaces[2].reflectionClip, 8u);
}

TEST(Lwo3Reader, ErrorsNameTheFileTheFormPathAndTheByte) {
  Lwo3File file;
  file.Triangle();
  file.Form("SURF");
  file.Text("    ", "Skin");
  file.Form("NODS");
  file.Form("NNDS");
  file.Text("NSRV", "Surface");
  file.Form("NTAG");
  file.Chunk("NNME");
  file.raw().U4(0x41424344);  // no terminating NUL
  file.End();
  file.End();
  file.End();
  file.End();
  file.End();
  const std::string error = ErrorOf(file.Finish());
  EXPECT_NE(error.find("bad.lwo: FORM SURF at byte "), std::string::npos) << error;
  EXPECT_NE(error.find(": FORM NODS > FORM NNDS > FORM NTAG > NNME > a name is not terminated"),
            std::string::npos)
      << error;
  EXPECT_NE(error.find("(byte "), std::string::npos) << error;

  // A Color entry of two numbers is damage in the material, named by node.
  Lwo3File color;
  color.Triangle();
  color.Form("SURF");
  color.Text("    ", "Skin");
  color.Form("NODS");
  color.Form("NNDS");
  color.Node("Surface", "Surface", [] {});
  color.Node("Standard", "Standard (1)", [&] {
    color.Attributes("SATR", [&] { color.Entry("Color", {0.5, 0.5}); });
  });
  color.End();
  color.Form("NCON");
  color.Connect("Surface", "Material", "Standard (1)");
  color.End();
  color.End();
  color.End();
  EXPECT_NE(ErrorOf(color.Finish()).find("node 'Standard (1)' > FORM NDTA > the Color entry holds 2 numbers, not 3"),
            std::string::npos);
}

}  // namespace
}  // namespace host
