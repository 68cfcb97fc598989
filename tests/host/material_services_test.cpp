// Surfaces, textures and images as the material builder reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/standin_host.h"
#include "tests/host/host_services.h"
#include "tests/host/sample_scene.h"

namespace host::testing {
namespace {

std::vector<std::string> Names(const HostServices& lw, LWSurfaceID* list) {
  std::vector<std::string> names;
  for (; list && *list; ++list) names.push_back(lw.surfaces->name(*list));
  return names;
}

TEST(StandInHostMaterials, ObjectFilesListTheirSurfacesInFileOrder) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  LWSurfaceID* car = lw.surfaces->byObject("C:\\objects\\car.lwo");
  EXPECT_EQ(Names(lw, car), (std::vector<std::string>{"Body", "Glass"}));
  EXPECT_EQ(Names(lw, lw.surfaces->byObject("C:\\objects\\wheel.lwo")),
            std::vector<std::string>{"Rubber"});
  EXPECT_EQ(lw.surfaces->byObject("C:\\objects\\boat.lwo"), nullptr);
  EXPECT_STREQ(lw.surfaces->sceneObject(car[1]), "C:\\objects\\car.lwo");

  std::vector<std::string> all;
  for (LWSurfaceID s = lw.surfaces->first(); s; s = lw.surfaces->next(s)) {
    all.push_back(lw.surfaces->name(s));
  }
  EXPECT_EQ(all, (std::vector<std::string>{"Body", "Glass", "Rubber"}));
}

TEST(StandInHostMaterials, ChannelValuesStayReadableWhereTheyWereHandedOut) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  LWSurfaceID* car = lw.surfaces->byObject("C:\\objects\\car.lwo");
  const double* color = lw.surfaces->getFlt(car[0], SURF_COLR);
  const double* transparency = lw.surfaces->getFlt(car[1], SURF_TRAN);
  EXPECT_EQ(std::vector<double>(color, color + 3), (std::vector<double>{0.1, 0.2, 0.3}));
  EXPECT_EQ(*transparency, 0.5);
  EXPECT_EQ(*lw.surfaces->getFlt(car[0], SURF_REFL), 0.25);
  EXPECT_EQ(*lw.surfaces->getFlt(car[1], SURF_GLOS), 0.4);
  EXPECT_EQ(lw.surfaces->getFlt(car[0], "Luminosity"), nullptr);

  // Asking for other channels and surfaces leaves earlier answers alone.
  lw.surfaces->getFlt(lw.surfaces->byObject("C:\\objects\\wheel.lwo")[0], SURF_COLR);
  EXPECT_EQ(color[2], 0.3);
  EXPECT_EQ(*transparency, 0.5);
}

TEST(StandInHostMaterials, TexturesAndImagesAreNullWhereTheSurfaceHasNone) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  LWSurfaceID* car = lw.surfaces->byObject("C:\\objects\\car.lwo");
  EXPECT_NE(lw.surfaces->getTex(car[0], SURF_COLR), nullptr);
  EXPECT_EQ(lw.surfaces->getTex(car[0], SURF_TRAN), nullptr);
  EXPECT_EQ(lw.surfaces->getTex(car[1], SURF_COLR), nullptr);
  EXPECT_STREQ(lw.images->name(lw.surfaces->getImg(car[0], SURF_RIMG)), "env.tga");
  EXPECT_EQ(lw.surfaces->getImg(car[1], SURF_RIMG), nullptr);
  EXPECT_TRUE(host.faults().empty());
}

TEST(StandInHostMaterials, TextureLayersAreWalkedWithTheirTypeAndImage) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWTextureID texture =
      lw.surfaces->getTex(lw.surfaces->byObject("C:\\objects\\car.lwo")[0], SURF_COLR);
  std::vector<int> types;
  std::vector<std::string> images;
  for (LWTLayerID layer = lw.textures->firstLayer(texture); layer;
       layer = lw.textures->nextLayer(texture, layer)) {
    EXPECT_EQ(lw.textures->texture(layer), texture);
    types.push_back(lw.textures->layerType(layer));
    LWImageID image = reinterpret_cast<LWImageID>(1);
    EXPECT_EQ(lw.textures->getParam(layer, TXTAG_IMAGE, &image), 1);
    images.push_back(image ? lw.images->name(image) : "-");
  }
  EXPECT_EQ(types, (std::vector<int>{TLT_PROC, TLT_IMAGE, TLT_GRAD}));
  EXPECT_EQ(images, (std::vector<std::string>{"-", "body", "-"}));
}

TEST(StandInHostMaterials, ALayerOfAnotherTextureEndsTheWalk) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWTextureID body =
      lw.surfaces->getTex(lw.surfaces->byObject("C:\\objects\\car.lwo")[0], SURF_COLR);
  const LWTextureID rubber =
      lw.surfaces->getTex(lw.surfaces->byObject("C:\\objects\\wheel.lwo")[0], SURF_COLR);
  const LWTLayerID foreign = lw.textures->firstLayer(rubber);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(lw.textures->nextLayer(body, foreign), nullptr);
  // An image is not a layer either.
  EXPECT_EQ(lw.textures->layerType(reinterpret_cast<LWTLayerID>(lw.images->first())), 0);
  EXPECT_EQ(host.faults().size(), 2u);
}

TEST(StandInHostMaterials, ImagesAreListedWithNamesAndFiles) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWImageID first = lw.images->first();
  const LWImageID second = lw.images->next(first);
  EXPECT_EQ(lw.images->next(second), nullptr);
  EXPECT_STREQ(lw.images->name(first), "body");
  EXPECT_STREQ(lw.images->filename(first, 0), "C:\\maps\\body.tga");
  EXPECT_STREQ(lw.images->filename(second, 0), "env.tga");
}

}  // namespace
}  // namespace host::testing
