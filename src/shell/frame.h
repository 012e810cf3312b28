// Builds the scene once and composes every frame of the saver.
#pragma once

#include <cstdint>

#include "render/camera.h"
#include "render/program_registry.h"
#include "shell/gl_loader.h"

class GLFWDrawableSky;

// Everything the scene set-up creates; it lives until the process ends.
struct FrameState {
  FrameClock* clock = nullptr;
  ProgramRegistry* registry = nullptr;
  SceneState* scene = nullptr;
  Camera* camera = nullptr;
  GLFWDrawableSky* sky = nullptr;
  GLuint bufferAFramebuffer = 0;
  GLuint bufferATexture = 0;
  std::int32_t bufferAWidth = 1024;
  std::int32_t bufferAHeight = 768;
  GLint renderModeLocation = -1;
  GLint iFrameLocation = -1;
  GLint bufferALocation = -1;
  std::int32_t frameCounter = 0;
  std::int32_t firstFrameDone = 0;
  bool bufferAPending = false;  // set up, waiting for the second frame
};

extern FrameState gFrame;

constexpr const char* kBackgroundProgram = "BackgroundProgram";

// Builds the scene. The offscreen buffer follows at the start of the second frame, once the
// first one is on the screen: nothing reads it, and its texture takes long to allocate.
void setupScene();
// Reads the GLFW clock and draws one frame into the window's back buffer.
void advanceFrame();
// The same for a given time in seconds (a still picture, a test).
void advanceFrameAt(float t);
void drawFrame();
// Draws the frame of the current scene time into the current context's window at another
// size (a window on another monitor). The shared drawing size, the frame counter and the
// frame clock stay as the primary's own frame left them; without a scene it clears to black.
void drawFrameSized(std::int32_t width, std::int32_t height);

// The random seed the first frame takes from its time: t x 100000 truncated, modulo 10000.
unsigned int firstFrameSeed(float t);
