#include "shell/frame.h"

#include <GLFW/glfw3.h>

#include <cstdlib>

#include "drawables/drawable_sky.h"
#include "shell/app.h"

FrameState gFrame;

namespace {

void createBufferA() {
  // The offscreen buffer is set up but no frame uses it; a driver without framebuffer
  // objects simply goes without it.
  if (gl.GenFramebuffers == nullptr || gl.BindFramebuffer == nullptr || gl.FramebufferTexture == nullptr ||
      gl.DrawBuffers == nullptr || gl.CheckFramebufferStatus == nullptr) {
    return;
  }
  gl.GenFramebuffers(1, &gFrame.bufferAFramebuffer);
  gl.BindFramebuffer(glc::FRAMEBUFFER, gFrame.bufferAFramebuffer);
  gFrame.bufferAWidth = 1024;
  gFrame.bufferAHeight = 768;
  gl.GenTextures(1, &gFrame.bufferATexture);
  gl.BindTexture(glc::TEXTURE_2D, gFrame.bufferATexture);
  gl.TexImage2D(glc::TEXTURE_2D, 0, glc::RGBA, gFrame.bufferAWidth, gFrame.bufferAHeight, 0, glc::RGBA, glc::FLOAT,
                nullptr);
  gl.TexParameteri(glc::TEXTURE_2D, glc::TEXTURE_MAG_FILTER, glc::LINEAR);
  gl.TexParameteri(glc::TEXTURE_2D, glc::TEXTURE_MIN_FILTER, glc::LINEAR);
  gl.TexParameteri(glc::TEXTURE_2D, glc::TEXTURE_BASE_LEVEL, 0);
  gl.TexParameteri(glc::TEXTURE_2D, glc::TEXTURE_MAX_LEVEL, 0);
  gl.FramebufferTexture(glc::FRAMEBUFFER, glc::COLOR_ATTACHMENT0, gFrame.bufferATexture, 0);
  const GLenum drawBuffers[] = {glc::COLOR_ATTACHMENT0};
  gl.DrawBuffers(1, drawBuffers);
  gl.CheckFramebufferStatus(glc::FRAMEBUFFER);  // incomplete changes nothing: no frame draws here
  // Frames read no texture and draw to the window. Left bound, the texture would still be
  // sampled for every pixel by drivers that run both sides of the shader's render-mode
  // branch (Mesa llvmpipe does: a fifth of the frame rate at 1280x720).
  gl.BindTexture(glc::TEXTURE_2D, 0);
  gl.BindFramebuffer(glc::FRAMEBUFFER, 0);
}

}  // namespace

void setupScene() {
  gFrame.clock = new FrameClock();
  gFrame.registry = new ProgramRegistry();
  gFrame.scene = new SceneState(0.0f);
  gFrame.camera = new Camera(0, 0, 100);
  gFrame.camera->pitch(1);
  gFrame.camera->computeView(0);
  gFrame.registry->addProgram(kBackgroundProgram, 137, 136);
  gFrame.sky = new GLFWDrawableSky(gFrame.scene, gFrame.camera, gFrame.registry, kBackgroundProgram, 141, 140, 1.0f);
  gFrame.sky->init();
  gFrame.bufferAPending = true;
  GLFWProgram* program = gFrame.registry->getProgram(kBackgroundProgram);
  gFrame.renderModeLocation = program->getUniformLocation("renderMode");
  gFrame.iFrameLocation = program->getUniformLocation("iFrame");
  gFrame.bufferALocation = program->getUniformLocation("bufferA");
}

unsigned int firstFrameSeed(float t) {
  const float product = t * 100000.0f;
  if (!(product > -9.0e18f && product < 9.0e18f)) return 0;  // no defined integer for it
  return static_cast<unsigned int>(static_cast<long long>(product)) % 10000u;
}

void advanceFrame() { advanceFrameAt(static_cast<float>(glfwGetTime())); }

void advanceFrameAt(float t) {
  if (gFrame.bufferAPending && gFrame.frameCounter > 0) {
    // 12 MB of float texture: on llvmpipe its allocation was a tenth of the time to the
    // first frame, for a buffer no frame reads.
    gFrame.bufferAPending = false;
    createBufferA();
  }
  if (gFrame.firstFrameDone == 0) {
    std::srand(firstFrameSeed(t));
    gFrame.scene->setStartTime(t);
    gFrame.scene->captureStartDate();
    gFrame.firstFrameDone = 1;
  }
  if (gFrame.firstFrameDone == 1) {
    gFrame.scene->setTime(t);
    drawFrame();
  }
}

namespace {

// Camera, scene and target of one frame at a drawing size: everything up to the uniforms.
void composeAt(std::int32_t width, std::int32_t height, float aspect) {
  gFrame.camera->setProjection(perspective(50.0f, aspect, 0.1f, 1000.0f));
  gFrame.scene->setViewport(static_cast<float>(width), static_cast<float>(height));
  gFrame.scene->setSceneVector(Vec3(50, 80, 80));
  gFrame.camera->setStackDepth(0);
  gFrame.sky->setModelMatrix(translate(0, 0, -100));
  if (gl.BindFramebuffer != nullptr) gl.BindFramebuffer(glc::FRAMEBUFFER, 0);
  gl.Viewport(0, 0, width, height);
}

}  // namespace

void drawFrame() {
  gFrame.clock->start();
  composeAt(WindowWidth, WindowHeight, AspectRatio);
  gl.Uniform1i(gFrame.renderModeLocation, 0);
  gl.Uniform1i(gFrame.iFrameLocation, gFrame.frameCounter);
  gFrame.sky->draw();
  gFrame.frameCounter += 1;
  gFrame.clock->stop();
}

void drawFrameSized(std::int32_t width, std::int32_t height) {
  if (gFrame.sky == nullptr) {  // no scene yet: the monitor is still covered
    gl.ClearColor(0, 0, 0, 1);
    gl.Clear(glc::COLOR_BUFFER_BIT);
    return;
  }
  composeAt(width, height, (width > 0 && height > 0) ? static_cast<float>(width) / static_cast<float>(height) : 1.0f);
  // "renderMode" and "iFrame" keep the values the primary's frame gave the shared program.
  gFrame.sky->draw();
  // The camera and the scene describe the primary's window again, as its own frame left them.
  gFrame.camera->setProjection(perspective(50.0f, AspectRatio, 0.1f, 1000.0f));
  gFrame.scene->setViewport(static_cast<float>(WindowWidth), static_cast<float>(WindowHeight));
}
