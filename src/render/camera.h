// The state the frame hands to the drawables: camera, scene values and the frame timer.
#pragma once

#include <cstdint>

#include "render/math.h"

class Camera {
 public:
  Camera(float x, float y, float z);

  // Turns direction and up about the right vector.
  void pitch(float angleDegrees);
  void computeView(int slot);
  void setProjection(const Mat4& matrix) { projection = matrix; }
  void setStackDepth(int slot) { stackDepth = slot; }
  Mat4 getView() const { return matrixStack[stackDepth]; }
  Mat4 getProjection() const { return projection; }

  static constexpr int kStackSlots = 5;
  Mat4 matrixStack[kStackSlots];
  std::int32_t stackDepth;
  Vec3 eye;
  Vec3 target;
  Vec3 direction;
  Vec3 right;
  Vec3 up;
  Mat4 projection;
};

struct SceneDate {
  std::int32_t day = 0;
  std::int32_t month = 0;
  std::int32_t year = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
};

class SceneState {
 public:
  explicit SceneState(float t);

  void setViewport(float width, float height) {
    viewportWidth = width;
    viewportHeight = height;
  }
  void setSceneVector(const Vec3& v) { sceneVector = v; }
  void setStartTime(float t) { startTime = t; }
  void setTime(float t) { time = t; }
  void captureDate();
  // The same for a given calendar time in seconds (tests pick the date).
  void captureDate(std::int64_t calendarTime);
  void captureStartDate();
  float getTime() const { return time; }
  float getViewportWidth() const { return viewportWidth; }
  float getViewportHeight() const { return viewportHeight; }

  float viewportWidth = 0.0f;
  float viewportHeight = 0.0f;
  Vec3 sceneVector;
  float startTime;
  float time;
  SceneDate date;
  SceneDate startDate;
};

// Measures how long each frame's drawing takes.
class FrameClock {
 public:
  using TimeSource = double (*)();
  // The GLFW clock unless a test supplies its own.
  explicit FrameClock(TimeSource now = nullptr);

  void start();
  void stop();

  float startSeconds = 0.0f;
  float stopSeconds = 0.0f;
  float lastMs = 0.0f;
  float totalMs = 0.0f;
  float averageMs = 0.0f;
  float minMs = 1000.0f;
  float maxMs = -1000.0f;
  std::int32_t frameCount = 0;

 private:
  TimeSource now_;
};
