#include "support/editor_fixture.h"

namespace {

using MainLoop = EditorFixture;

TEST_F(MainLoop, StartUpStateFollowsTheSettings) {
  start();
  EXPECT_EQ(ed().screen.width, 800);
  EXPECT_EQ(ed().screen.height, 600);
  EXPECT_EQ(ed().cellHeight, 16);
  EXPECT_EQ(ed().render.renderWidth, 800);
  EXPECT_EQ(ed().camera.viewCenterX, 400);
  EXPECT_EQ(ed().camera.viewCenterY, 375);
  EXPECT_EQ(ed().camera.cameraZoom, 400.0f);
  EXPECT_EQ(ed().model.vertexCount, 9);
  EXPECT_EQ(ed().currentFile, "default.rq");
  EXPECT_EQ(ed().viewFlags, 0x26u);
  EXPECT_EQ(ed().fields.displayValues[kFieldSides], 18);
  EXPECT_EQ(ed().fields.floatFields[kDrawDepth], 1000000.0f);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
}

TEST_F(MainLoop, FrameSizeAndViewCentreFollowTheDetailLevel) {
  writeSettings("mode = 18\r\n''''\r\nrdet = 0\r\n''''\r\nmaxv = 100\r\n");
  start();
  EXPECT_EQ(ed().render.renderWidth, 320);
  EXPECT_EQ(ed().render.renderHeight, 240);
  EXPECT_EQ(ed().camera.viewCenterX, 160);
  EXPECT_EQ(ed().camera.viewCenterY, 150);
}

TEST_F(MainLoop, DoubledFrameAtDetailLevelTwo) {
  writeSettings("mode = 18\r\n''''\r\nrdet = 2\r\n''''\r\nmaxv = 100\r\n");
  start();
  EXPECT_EQ(ed().render.renderWidth, 1280);
  EXPECT_EQ(ed().render.renderHeight, 960);
  EXPECT_EQ(ed().camera.viewCenterX, 640);
  EXPECT_EQ(ed().camera.viewCenterY, 600);
}

TEST_F(MainLoop, FirstPassComputesNormalsRendersAndPresentsWithoutInput) {
  start();
  EXPECT_TRUE(run(1));
  EXPECT_EQ(ed().requests.normalsDirty, 0);
  EXPECT_EQ(ed().requests.needRender, 0);
  EXPECT_EQ(ed().requests.needPresent, 0);
  EXPECT_EQ(platform_.presents(), 1);
  EXPECT_FLOAT_EQ(ed().model.triNormal[0].z, -1.0f);
  EXPECT_EQ(ed().fields.displayValues[kFieldVerteces], 9);
  EXPECT_EQ(ed().fields.displayValues[kFieldCYZ], 229);
}

TEST_F(MainLoop, AnIdlePassSleepsFortyMilliseconds) {
  start();
  run(1);
  const double before = platform_.clock();
  run(1);
  EXPECT_NEAR(platform_.clock() - before, 0.040, 1e-9);
  EXPECT_EQ(platform_.presents(), 1);
}

TEST_F(MainLoop, HoldingAltTogglesTheMenuBarOnlyOnThePressEdge) {
  start();
  run(1);
  platform_.setKeyHeld(kScanAlt, true);
  run(1);
  EXPECT_EQ(ed().menus.activeMenu, 0);
  run(5);
  EXPECT_EQ(ed().menus.activeMenu, 0);
  platform_.setKeyHeld(kScanAlt, false);
  run(1);
  platform_.setKeyHeld(kScanAlt, true);
  run(1);
  EXPECT_EQ(ed().menus.activeMenu, -1);
}

TEST_F(MainLoop, CloseRequestEndsTheProgramWithoutWriting) {
  start();
  run(1);
  platform_.pushKey(keys::kClose);
  EXPECT_FALSE(run(1));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "default.rq"));
}

TEST_F(MainLoop, BadSettingsFallBackWithAWarning) {
  writeSettings("mode = 99\r\n''''\r\ncdep = 24\r\n''''\r\nmaxv = 0\r\n''''\r\nmaxt = 3\r\n");
  start();
  EXPECT_EQ(ed().settings.mode, 19);
  EXPECT_EQ(ed().settings.cdep, 32);
  EXPECT_EQ(ed().model.maxv, 1000000);
  EXPECT_EQ(ed().model.triangleCount, 0);  // 3 triangles cannot hold the default model
  EXPECT_NE(messages_.find("mode 99"), std::string::npos);
  EXPECT_NE(messages_.find("cdep 24"), std::string::npos);
  EXPECT_NE(messages_.find("maxv 0"), std::string::npos);
  EXPECT_NE(messages_.find("empty model"), std::string::npos);
}

TEST_F(MainLoop, CapacitiesBeyondMemoryStopTheStartNamingTheSetting) {
  writeSettings("maxv = 2000000000\r\n");
  ed_ = std::make_unique<Editor>(platform_);
  std::string messages;
  EXPECT_FALSE(startEditor(*ed_, "", "KOVRIN.INI", messages, uint64_t{16} << 30));
  EXPECT_NE(messages.find("maxv = 2000000000"), std::string::npos) << messages;
}

TEST_F(MainLoop, ReadOutsRoundHalvesToEvenAndStopAtTheIntegerRange) {
  start();
  run(1);
  Camera& c = ed().camera;
  c.cameraDistance = 250.5f;
  c.cameraZoom = 251.5f;
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldDistance], 250);
  EXPECT_EQ(ed().fields.displayValues[kFieldScaling], 252);
  // Far beyond 32 bits (PgDn held long enough): the ends of the range, shown as "big num".
  c.cameraDistance = 1.0e12f;
  c.cameraZoom = -1.0e12f;
  ed().requests.needPresent = 1;
  run(1);
  EXPECT_EQ(ed().fields.displayValues[kFieldDistance], INT32_MAX);
  EXPECT_EQ(ed().fields.displayValues[kFieldScaling], INT32_MIN);
}

TEST(CommandLine, ArgumentsAreJoinedByBlanks) {
  char a0[] = "kovrin", a1[] = "my", a2[] = "model.rq";
  char* argv[] = {a0, a1, a2};
  EXPECT_EQ(joinCommandLine(3, argv), "my model.rq");
  EXPECT_EQ(joinCommandLine(1, argv), "");
}

}  // namespace

namespace {

using CloseRequest = EditorFixture;

TEST_F(CloseRequest, EndsTheProgramEvenInThePassWhereAltGoesDown) {
  start();
  run(1);
  platform_.setKeyHeld(kScanAlt, true);
  platform_.pushKey(keys::kClose);
  EXPECT_FALSE(run(1));
}

TEST_F(CloseRequest, EndsTheBenchmarkAndTheProgram) {
  start();
  run(1);
  ed().tools.tool = kToolBenchmark;
  run(3);
  platform_.pushKey(keys::kClose);
  EXPECT_FALSE(run(1));
}

}  // namespace
