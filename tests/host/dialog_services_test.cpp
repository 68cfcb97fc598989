// Messages, file requests and the global function's look-ups.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/standin_host.h"
#include "tests/host/host_services.h"
#include "tests/host/sample_scene.h"

namespace host::testing {
namespace {

// A save request as a module fills it, with buffers of its own.
struct SaveRequest {
  explicit SaveRequest(int length = 64) : bufLen(length) {
    request.reqType = FREQ_SAVE;
    request.result = -7;
    request.title = "Save it";
    request.fileType = kFilters;
    request.path = path.data();
    request.baseName = baseName.data();
    request.fullName = fullName.data();
    request.bufLen = bufLen;
    std::snprintf(baseName.data(), baseName.size(), "city.dff");
  }
  static constexpr char kFilters[] = "DFF Files (*.dff)\0*.dff\0All Files\0*.*\0";
  int bufLen;
  std::array<char, 64> path{};
  std::array<char, 64> baseName{};
  std::array<char, 64> fullName{};
  LWFileReqLocal request{};
};

TEST(StandInHostDialogs, MessagesAreRecordedWithTheirKind) {
  StandInHost host(Scene{});
  HostServices lw(host);
  lw.messages->error("Crazy fool, no objects in the scene!", nullptr);
  lw.messages->info("Export successful", "second line");
  lw.messages->warning("Careful", nullptr);
  ASSERT_EQ(host.messages().size(), 3u);
  EXPECT_EQ(host.messages()[0].kind, MessageKind::kError);
  EXPECT_EQ(host.messages()[0].line1, "Crazy fool, no objects in the scene!");
  EXPECT_FALSE(host.messages()[0].line2.has_value());
  EXPECT_EQ(host.messages()[1].kind, MessageKind::kInfo);
  EXPECT_EQ(host.messages()[1].line2, std::optional<std::string>("second line"));
  EXPECT_EQ(host.messages()[2].kind, MessageKind::kWarning);
}

TEST(StandInHostDialogs, ARequestOfAnotherVersionIsRefusedUnseen) {
  StandInHost host(Scene{});
  HostServices lw(host);
  host.SetFileResponder([](const FileRequest&) { return std::string("/tmp/x.dff"); });
  SaveRequest save;
  EXPECT_NE(lw.requestFile(2, &save.request), 0);
  EXPECT_NE(lw.requestFile(4, &save.request), 0);
  EXPECT_TRUE(host.fileRequests().empty());
  EXPECT_EQ(save.request.result, -7);
}

TEST(StandInHostDialogs, TheResponderSeesTheRequestAndItsChoiceIsReturned) {
  StandInHost host(Scene{});
  HostServices lw(host);
  std::vector<FileRequest> seen;
  host.SetFileResponder([&seen](const FileRequest& request) {
    seen.push_back(request);
    return std::string("/out/city.dff");
  });
  SaveRequest save;
  EXPECT_EQ(lw.requestFile(LWFILEREQ_VERSION, &save.request), 0);
  EXPECT_EQ(save.request.result, 1);
  EXPECT_STREQ(save.fullName.data(), "/out/city.dff");

  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].reqType, FREQ_SAVE);
  EXPECT_EQ(seen[0].title, "Save it");
  EXPECT_EQ(seen[0].fileType, std::string(SaveRequest::kFilters, sizeof SaveRequest::kFilters));
  EXPECT_EQ(seen[0].baseName, "city.dff");
  EXPECT_EQ(seen[0].path, "");
  EXPECT_EQ(seen[0].bufLen, 64);
  EXPECT_EQ(host.fileRequests().size(), 1u);
}

TEST(StandInHostDialogs, ALongChoiceIsCutToTheBuffer) {
  StandInHost host(Scene{});
  HostServices lw(host);
  host.SetFileResponder([](const FileRequest&) { return std::string(100, 'a'); });
  SaveRequest save(10);
  save.fullName.fill('#');
  EXPECT_EQ(lw.requestFile(LWFILEREQ_VERSION, &save.request), 0);
  EXPECT_EQ(std::string(save.fullName.data()), std::string(9, 'a'));
  EXPECT_EQ(save.fullName[10], '#');
}

TEST(StandInHostDialogs, CancelNoResponderOrAFailingOneLeavesNoChoice) {
  StandInHost host(Scene{});
  HostServices lw(host);
  SaveRequest save;
  EXPECT_EQ(lw.requestFile(LWFILEREQ_VERSION, &save.request), 0);
  EXPECT_EQ(save.request.result, 0);
  host.SetFileResponder([](const FileRequest&) { return std::nullopt; });
  save.request.result = -7;
  EXPECT_EQ(lw.requestFile(LWFILEREQ_VERSION, &save.request), 0);
  EXPECT_EQ(save.request.result, 0);
  host.SetFileResponder([](const FileRequest&) -> std::optional<std::string> {
    throw std::runtime_error("no terminal");
  });
  save.request.result = -7;
  EXPECT_EQ(lw.requestFile(LWFILEREQ_VERSION, &save.request), 0);
  EXPECT_EQ(save.request.result, 0);
  EXPECT_STREQ(save.fullName.data(), "");
  EXPECT_EQ(host.fileRequests().size(), 3u);
  EXPECT_EQ(host.faults().size(), 1u);
}

TEST(StandInHostDialogs, ARequestWithoutAResultBufferIsRefused) {
  StandInHost host(Scene{});
  HostServices lw(host);
  host.SetFileResponder([](const FileRequest&) { return std::string("/out/x.dff"); });
  SaveRequest save;
  save.request.fullName = nullptr;
  EXPECT_NE(lw.requestFile(LWFILEREQ_VERSION, &save.request), 0);
  EXPECT_NE(lw.requestFile(LWFILEREQ_VERSION, nullptr), 0);
  EXPECT_EQ(host.faults().size(), 2u);
}

TEST(StandInHostDialogs, EveryLookUpIsRecordedAndWithheldServicesAnswerNull) {
  StandInHost host(SampleScene());
  host.Withhold(LWIMAGELIST_GLOBAL);
  const GlobalFunc global = host.global();
  const char* names[] = {LWMESSAGEFUNCS_GLOBAL, LWITEMINFO_GLOBAL,   LWSCENEINFO_GLOBAL,
                         LWOBJECTINFO_GLOBAL,   LWOBJECTFUNCS_GLOBAL, LWSURFACEFUNCS_GLOBAL,
                         LWINTERFACEINFO_GLOBAL, LWIMAGELIST_GLOBAL,  LWTEXTUREFUNCS_GLOBAL,
                         LWFILEREQFUNC_GLOBAL,  "LW Item Info 9"};
  std::vector<std::string> expected;
  for (const char* name : names) {
    const bool served = global(name, GFUSE_TRANSIENT) != nullptr;
    EXPECT_EQ(served, name != std::string(LWIMAGELIST_GLOBAL) && name != std::string("LW Item Info 9"))
        << name;
    expected.push_back(name);
  }
  EXPECT_EQ(host.requestedServices(), expected);
}

TEST(StandInHostDialogs, TheGlobalFunctionServesTheNewestHostUntilItIsDestroyed) {
  auto first = std::make_unique<StandInHost>(Scene{});
  const GlobalFunc global = first->global();
  {
    StandInHost second(SampleScene());
    const auto* info = static_cast<LWSceneInfo*>(global(LWSCENEINFO_GLOBAL, GFUSE_TRANSIENT));
    EXPECT_EQ(info->numPoints, 11);
    EXPECT_TRUE(first->requestedServices().empty());
  }
  EXPECT_EQ(global(LWSCENEINFO_GLOBAL, GFUSE_TRANSIENT), nullptr);
}

}  // namespace
}  // namespace host::testing
