// Items, objects and the scene as a module reads them through the tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/standin_host.h"
#include "tests/host/host_services.h"
#include "tests/host/sample_scene.h"

namespace host::testing {
namespace {

std::vector<std::string> Walk(const HostServices& lw, LWItemType type, LWItemID owner = nullptr) {
  std::vector<std::string> names;
  for (LWItemID item = lw.items->first(type, owner); item; item = lw.items->next(item)) {
    names.push_back(lw.items->name(item));
  }
  return names;
}

std::vector<double> ParamAt(const HostServices& lw, LWItemID item, int code, double time) {
  LWDVector out{-1, -1, -1};
  lw.items->param(item, code, time, out);
  return {out[0], out[1], out[2]};
}

TEST(StandInHostItems, EachTypeIsWalkedApartInHostOrder) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  EXPECT_EQ(Walk(lw, LWI_OBJECT), (std::vector<std::string>{"Car", "Wheel", "Null", "Car (2)"}));
  EXPECT_EQ(Walk(lw, LWI_LIGHT), std::vector<std::string>{"Light"});
  EXPECT_EQ(Walk(lw, LWI_CAMERA), std::vector<std::string>{"Camera"});
  // Bones are listed per owning object, through bones between them.
  EXPECT_EQ(Walk(lw, LWI_BONE, lw.Find(LWI_OBJECT, "Car")),
            (std::vector<std::string>{"Bone", "Bone2"}));
  EXPECT_TRUE(Walk(lw, LWI_BONE, lw.Find(LWI_OBJECT, "Wheel")).empty());
  EXPECT_TRUE(host.faults().empty());
}

TEST(StandInHostItems, ParentsMayBeOfAnyType) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWItemID car = lw.Find(LWI_OBJECT, "Car");
  const LWItemID boneParent = lw.items->parent(lw.Find(LWI_OBJECT, "Wheel"));
  const LWItemID lightParent = lw.items->parent(lw.Find(LWI_OBJECT, "Null"));
  EXPECT_EQ(lw.items->type(boneParent), LWI_BONE);
  EXPECT_STREQ(lw.items->name(boneParent), "Bone");
  EXPECT_EQ(lw.items->type(lightParent), LWI_LIGHT);
  EXPECT_EQ(lw.items->parent(lightParent), car);
  EXPECT_EQ(lw.items->parent(car), nullptr);
}

TEST(StandInHostItems, ParamAnswersTimeZeroApartFromTheCurrentTime) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWItemID car = lw.Find(LWI_OBJECT, "Car");
  EXPECT_EQ(ParamAt(lw, car, LWIP_POSITION, 0.0), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(ParamAt(lw, car, LWIP_POSITION, kCurrentTime), (std::vector<double>{9, 9, 9}));
  // Unset codes answer an item at rest; an item that does not move answers
  // its time-0 values at any time.
  EXPECT_EQ(ParamAt(lw, car, LWIP_SCALING, 0.0), (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(ParamAt(lw, car, LWIP_W_UP, 0.0), (std::vector<double>{0, 1, 0}));
  EXPECT_EQ(ParamAt(lw, lw.Find(LWI_OBJECT, "Wheel"), LWIP_POSITION, kCurrentTime),
            (std::vector<double>{4, 5, 6}));
}

TEST(StandInHostItems, TextsStayValidAfterTheSceneChanges) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWItemID car = lw.Find(LWI_OBJECT, "Car");
  const char* name = lw.items->name(car);
  const char* file = lw.objects->filename(car);
  host.scene().items[kCar].name = "Renamed car with a much longer name than before";
  host.scene().objectFiles.clear();
  EXPECT_STREQ(name, "Car");
  EXPECT_STREQ(file, "C:\\objects\\car.lwo");
  EXPECT_STREQ(lw.items->name(car), "Renamed car with a much longer name than before");
  EXPECT_EQ(lw.objects->filename(car), nullptr);
}

TEST(StandInHostItems, ObjectInfoCountsEachObjectsOwnMesh) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWItemID wheel = lw.Find(LWI_OBJECT, "Wheel");
  const LWItemID null = lw.Find(LWI_OBJECT, "Null");
  EXPECT_STREQ(lw.objects->filename(wheel), "C:\\objects\\wheel.lwo");
  EXPECT_EQ(lw.objects->numPoints(wheel), 3);
  EXPECT_EQ(lw.objects->numPolygons(wheel), 1);
  EXPECT_EQ(lw.objects->numPoints(null), 0);
  EXPECT_EQ(lw.objects->numPolygons(null), 0);
  EXPECT_EQ(lw.objects->filename(null), nullptr);
  EXPECT_EQ(lw.objects->meshInfo(null, 1), nullptr);
  EXPECT_EQ(host.liveMeshSnapshots(), 0);
}

TEST(StandInHostItems, SceneInfoCountsEveryObjectItem) {
  StandInHost host(SampleScene());
  const HostServices lw(host);
  EXPECT_STREQ(lw.sceneInfo->name, "city.lws");
  EXPECT_STREQ(lw.sceneInfo->filename, "C:\\scenes\\city.lws");
  // Car and its copy share one four-point mesh; Layout counts both.
  EXPECT_EQ(lw.sceneInfo->numPoints, 4 + 3 + 4);
  EXPECT_EQ(lw.sceneInfo->numPolygons, 2 + 1 + 2);

  host.scene().nameIsNull = true;
  HostServices::Get<LWSceneInfo>(host, LWSCENEINFO_GLOBAL);
  EXPECT_EQ(lw.sceneInfo->name, nullptr);
}

TEST(StandInHostItems, HandlesOfAnotherKindOrNullAreFaultsNotAnswers) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWSurfaceID surface = lw.surfaces->first();
  EXPECT_EQ(lw.items->name(reinterpret_cast<LWItemID>(surface)), nullptr);
  EXPECT_EQ(lw.items->next(nullptr), nullptr);
  EXPECT_EQ(lw.objects->numPoints(lw.Find(LWI_LIGHT, "Light")), 0);
  EXPECT_EQ(host.faults().size(), 3u);
}

}  // namespace
}  // namespace host::testing
