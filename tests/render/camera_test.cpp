#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "render/camera.h"

namespace {

const double kS = std::sin(1.0 * 3.14159265358979 / 180.0);
const double kC = std::cos(1.0 * 3.14159265358979 / 180.0);

TEST(Camera, PitchTurnsDirectionAndUpAboutRight) {
  Camera camera(0, 0, 100);
  camera.pitch(1);
  EXPECT_NEAR(camera.direction[0], 0, 1e-7);
  EXPECT_NEAR(camera.direction[1], kS, 1e-6);
  EXPECT_NEAR(camera.direction[2], -kC, 1e-6);
  EXPECT_NEAR(camera.up[1], kC, 1e-6);
  EXPECT_NEAR(camera.up[2], kS, 1e-6);
  EXPECT_NEAR(camera.target[1], kS, 1e-6);
  EXPECT_NEAR(camera.target[2], 100 - kC, 1e-5);
}

TEST(Camera, PitchZeroKeepsFrame) {
  Camera camera(1, 2, 3);
  camera.pitch(0);
  EXPECT_EQ(camera.direction[2], -1.0f);
  EXPECT_EQ(camera.up[1], 1.0f);
  EXPECT_EQ(camera.target[0], 1.0f);
  EXPECT_EQ(camera.target[2], 2.0f);
}

TEST(Camera, ViewOfTheSaverCamera) {
  Camera camera(0, 0, 100);
  camera.pitch(1);
  camera.computeView(0);
  const Mat4 view = camera.getView();
  const double rows[3][3] = {{1, 0, 0}, {0, kC, kS}, {0, -kS, kC}};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) EXPECT_NEAR(view[column][row], rows[row][column], 1e-6);
  EXPECT_NEAR(view[3][0], 0, 1e-5);
  EXPECT_NEAR(view[3][1], -100 * kS, 1e-4);
  EXPECT_NEAR(view[3][2], -100 * kC, 1e-4);
  EXPECT_EQ(view[3][3], 1.0f);
}

TEST(Camera, StackDepthSelectsSlotWithoutRecomputing) {
  Camera camera(0, 0, 100);
  camera.computeView(0);
  const Mat4 slot0 = camera.getView();
  camera.pitch(30);
  camera.computeView(2);
  EXPECT_EQ(camera.stackDepth, 2);
  EXPECT_NE(camera.getView()[1][2], slot0[1][2]);
  camera.setStackDepth(0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(camera.getView().data()[i], slot0.data()[i]);
  camera.setProjection(translate(1, 2, 3));
  EXPECT_EQ(camera.getProjection()[3][1], 2.0f);
}

TEST(SceneState, StoresFrameValues) {
  SceneState scene(2.5f);
  EXPECT_EQ(scene.getTime(), 2.5f);
  EXPECT_EQ(scene.startTime, 2.5f);
  EXPECT_EQ(scene.sceneVector[0], 0.0f);
  scene.setViewport(1920, 1080);
  scene.setTime(3.0f);
  EXPECT_EQ(scene.getViewportWidth(), 1920.0f);
  EXPECT_EQ(scene.getViewportHeight(), 1080.0f);
  EXPECT_EQ(scene.getTime(), 3.0f);
}

std::int64_t localCalendarTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&t));
}

TEST(SceneState, DatesAreOneBasedMonthAndFullYear) {
  SceneState scene(0);
  scene.captureDate(localCalendarTime(2019, 1, 31, 23, 59, 58));
  EXPECT_EQ(scene.date.day, 31);
  EXPECT_EQ(scene.date.month, 1);
  EXPECT_EQ(scene.date.year, 2019);
  EXPECT_EQ(scene.date.hour, 23);
  EXPECT_EQ(scene.date.minute, 59);
  EXPECT_EQ(scene.date.second, 58);
  scene.captureStartDate();
  EXPECT_EQ(scene.startDate.year, scene.date.year);
  EXPECT_GE(scene.startDate.year, 2024);
}

double fakeNow = 0;
double readFakeNow() { return fakeNow; }

TEST(FrameClock, TracksMinMaxAverage) {
  FrameClock clock(readFakeNow);
  EXPECT_EQ(clock.minMs, 1000.0f);
  EXPECT_EQ(clock.maxMs, -1000.0f);
  fakeNow = 10.0;
  clock.start();
  fakeNow = 10.004;
  clock.stop();
  EXPECT_NEAR(clock.lastMs, 4.0f, 5e-3);
  EXPECT_EQ(clock.minMs, clock.lastMs);
  EXPECT_EQ(clock.maxMs, clock.lastMs);
  EXPECT_EQ(clock.averageMs, clock.lastMs);
  EXPECT_EQ(clock.frameCount, 1);
  fakeNow = 11.0;
  clock.start();
  fakeNow = 11.008;
  clock.stop();
  EXPECT_NEAR(clock.maxMs, 8.0f, 5e-3);
  EXPECT_NEAR(clock.minMs, 4.0f, 5e-3);
  EXPECT_NEAR(clock.averageMs, 6.0f, 5e-3);
  EXPECT_EQ(clock.frameCount, 2);
}

}  // namespace
