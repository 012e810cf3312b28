#include "render/camera.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <ctime>

Camera::Camera(float x, float y, float z)
    : stackDepth(0), eye(x, y, z), direction(0, 0, -1), right(1, 0, 0), up(0, 1, 0) {
  target = eye + direction;
}

void Camera::pitch(float angleDegrees) {
  const float angle = radians(angleDegrees);
  const float sinA = static_cast<float>(std::sin(static_cast<double>(angle)));
  const float cosA = static_cast<float>(std::cos(static_cast<double>(angle)));
  direction = direction * cosA + up * sinA;
  up = cross(right, direction);
  target = eye + direction;
}

void Camera::computeView(int slot) {
  matrixStack[slot] = lookAt(eye, target, up);
  stackDepth = slot;
}

SceneState::SceneState(float t) : sceneVector(0, 0, 0), startTime(t), time(t) {}

void SceneState::captureDate() { captureDate(std::time(nullptr)); }

void SceneState::captureDate(std::int64_t calendarTime) {
  const std::time_t when = static_cast<std::time_t>(calendarTime);
  const std::tm* converted = std::localtime(&when);  // one thread: the shared buffer is fine
  if (converted == nullptr) return;
  const std::tm local = *converted;
  date.day = local.tm_mday;
  date.month = local.tm_mon + 1;
  date.year = local.tm_year + 1900;
  date.hour = local.tm_hour;
  date.minute = local.tm_min;
  date.second = local.tm_sec;
}

void SceneState::captureStartDate() {
  captureDate();
  startDate = date;
}

FrameClock::FrameClock(TimeSource now) : now_(now != nullptr ? now : glfwGetTime) {}

void FrameClock::start() { startSeconds = static_cast<float>(now_()); }

void FrameClock::stop() {
  stopSeconds = static_cast<float>(now_());
  lastMs = (stopSeconds - startSeconds) * 1000.0f;
  if (lastMs > maxMs) maxMs = lastMs;
  if (minMs > lastMs) minMs = lastMs;
  totalMs += lastMs;
  frameCount += 1;
  averageMs = totalMs / static_cast<float>(frameCount);
}
