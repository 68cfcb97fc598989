#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/scene_model.h"
#include "host/standin_host.h"
#include "scene/host_services.h"
#include "tests/plugin_services/service_hosts.h"

namespace scene::testing {
namespace {

using platform::TextEncoding;

std::string ServedName(const HostServices& services, std::size_t index) {
  const char* name = services.served[index].name;
  return name != nullptr ? name : "(none)";
}

// The tables a service's name leads to on this host, looked up after the
// module's own requests have been checked.
void ExpectTablesOf(host::StandInHost& host, const HostServices& services) {
  EXPECT_EQ(services.messages, host.Global(services.ServedAs(Service::kMessages).name));
  EXPECT_EQ(services.sceneInfo, host.Global(services.ServedAs(Service::kSceneInfo).name));
  EXPECT_EQ(services.textureFuncs, host.Global(services.ServedAs(Service::kTextureFuncs).name));
  EXPECT_NE(services.itemInfo, nullptr);
  EXPECT_NE(services.objectInfo, nullptr);
  EXPECT_NE(services.sceneObjects, nullptr);
  EXPECT_NE(services.surfaceFuncs, nullptr);
  EXPECT_NE(services.interfaceInfo, nullptr);
  EXPECT_NE(services.imageList, nullptr);
  EXPECT_NE(services.fileRequest, nullptr);
}

TEST(ServiceNames, AHostWithTheOldNamesIsAskedForNothingElse) {
  host::StandInHost host{host::Scene{}};
  const HostServices services = AcquireHostServices(host.global());

  EXPECT_EQ(services.missingService, "");
  for (std::size_t i = 0; i < kServiceCount; ++i) {
    EXPECT_EQ(ServedName(services, i), kOldNames[i]);
    EXPECT_EQ(services.served[i].text, TextEncoding::kNative) << kOldNames[i];
  }
  EXPECT_EQ(services.fileRequestVersion, 3);
  EXPECT_EQ(host.requestedServices(),
            std::vector<std::string>(kOldNames.begin(), kOldNames.end()));
  ExpectTablesOf(host, services);
}

TEST(ServiceNames, AHostWithOnlyTheNewestNamesServesEveryServiceInUtf8) {
  host::StandInHost host{host::Scene{}};
  ServeNewestNamesOnly(host);
  const HostServices services = AcquireHostServices(host.global());

  EXPECT_EQ(services.missingService, "");
  std::vector<std::string> expectedRequests;
  for (std::size_t i = 0; i < kServiceCount; ++i) {
    EXPECT_EQ(ServedName(services, i), kNewestNames[i]);
    EXPECT_EQ(services.served[i].text, TextEncoding::kUtf8) << kNewestNames[i];
    // Each old name is tried first, the newest right after it.
    expectedRequests.push_back(kOldNames[i]);
    expectedRequests.push_back(kNewestNames[i]);
  }
  EXPECT_EQ(services.fileRequestVersion, 4);
  EXPECT_EQ(host.requestedServices(), expectedRequests);
  ExpectTablesOf(host, services);
}

TEST(ServiceNames, AMixedHostGivesEachServiceTheNameAndEncodingItServes) {
  host::StandInHost host{host::Scene{}};
  // Item info only under two intermediate names: the newer one is taken.
  host.Withhold("LW Item Info 3");
  host.ServeAlias("LW Item Info 5", "LW Item Info 3");
  host.ServeAlias("LW Item Info 8", "LW Item Info 3");
  // Surfaces only under the 2023 name.
  host.Withhold("Surface Functions 3");
  host.ServeAlias("Surface Functions 6", "Surface Functions 3");
  // Both requesters served: the old one, with its old version, wins.
  host.ServeAlias("File Request 3", "File Request 2");

  const HostServices services = AcquireHostServices(host.global());
  EXPECT_EQ(services.missingService, "");
  EXPECT_STREQ(services.ServedAs(Service::kItemInfo).name, "LW Item Info 8");
  EXPECT_EQ(services.ServedAs(Service::kItemInfo).text, TextEncoding::kNative);
  EXPECT_STREQ(services.ServedAs(Service::kSurfaceFuncs).name, "Surface Functions 6");
  EXPECT_EQ(services.ServedAs(Service::kSurfaceFuncs).text, TextEncoding::kUtf8);
  EXPECT_STREQ(services.ServedAs(Service::kSceneInfo).name, "LW Scene Info 4");
  EXPECT_EQ(services.ServedAs(Service::kSceneInfo).text, TextEncoding::kNative);
  EXPECT_STREQ(services.ServedAs(Service::kFileRequest).name, "File Request 2");
  EXPECT_EQ(services.fileRequestVersion, 3);
  ExpectTablesOf(host, services);
}

TEST(ServiceNames, AServiceUnderNoNameIsNamedByItsOldNameAndTheOthersAreStillObtained) {
  host::StandInHost host{host::Scene{}};
  host.Withhold("LW Image List 4");
  host.Withhold("Texture Functions 3");
  const HostServices services = AcquireHostServices(host.global());

  // The first one the command asks for is named.
  EXPECT_EQ(services.missingService, "LW Image List 4");
  EXPECT_EQ(services.imageList, nullptr);
  EXPECT_EQ(services.textureFuncs, nullptr);
  EXPECT_EQ(services.ServedAs(Service::kImageList).name, nullptr);
  EXPECT_NE(services.fileRequest, nullptr);
  EXPECT_NE(services.surfaceFuncs, nullptr);

  // Every name of the image list was tried, newest first after the old one.
  const std::vector<std::string>& asked = host.requestedServices();
  const auto first = std::find(asked.begin(), asked.end(), "LW Image List 4");
  ASSERT_GE(asked.end() - first, 4);
  EXPECT_EQ(std::vector<std::string>(first, first + 4),
            (std::vector<std::string>{"LW Image List 4", "LW Image List 9", "LW Image List 8",
                                      "LW Image List 6"}));
}

}  // namespace
}  // namespace scene::testing
