// lumivane-bare: the least a GLFW program needs to show the saver's picture: a full-screen
// window on the primary monitor, the saver's two shader texts compiled as they are, one
// rectangle over the window, swap interval 1. It is the baseline that bench_startup holds
// the saver against; it draws until a key, a button or a close request.
//   lumivane-bare [--window WxH]
#include <GLFW/glfw3.h>

#include <cstdio>

#include "bare_shaders.h"

namespace {

using GLuint = unsigned int;
using GLint = int;
using GLenum = unsigned int;
using GLsizei = int;
using GLfloat = float;
using GLsizeiptr = long;

constexpr GLenum kVertexShader = 0x8B31;
constexpr GLenum kFragmentShader = 0x8B30;
constexpr GLenum kArrayBuffer = 0x8892;
constexpr GLenum kStaticDraw = 0x88E4;
constexpr GLenum kFloat = 0x1406;
constexpr GLenum kTriangleStrip = 0x0005;

struct Gl {
  GLuint (*CreateShader)(GLenum);
  void (*ShaderSource)(GLuint, GLsizei, const char* const*, const GLint*);
  void (*CompileShader)(GLuint);
  GLuint (*CreateProgram)();
  void (*AttachShader)(GLuint, GLuint);
  void (*BindAttribLocation)(GLuint, GLuint, const char*);
  void (*LinkProgram)(GLuint);
  void (*UseProgram)(GLuint);
  GLint (*GetUniformLocation)(GLuint, const char*);
  void (*Uniform1f)(GLint, GLfloat);
  void (*GenBuffers)(GLsizei, GLuint*);
  void (*BindBuffer)(GLenum, GLuint);
  void (*BufferData)(GLenum, GLsizeiptr, const void*, GLenum);
  void (*EnableVertexAttribArray)(GLuint);
  void (*VertexAttribPointer)(GLuint, GLint, GLenum, unsigned char, GLsizei, const void*);
  void (*Viewport)(GLint, GLint, GLsizei, GLsizei);
  void (*DrawArrays)(GLenum, GLint, GLsizei);
};

template <typename F>
bool load(F* slot, const char* name) {
  *slot = reinterpret_cast<F>(glfwGetProcAddress(name));
  return *slot != nullptr;
}

bool loadGl(Gl* gl) {
  return load(&gl->CreateShader, "glCreateShader") && load(&gl->ShaderSource, "glShaderSource") &&
         load(&gl->CompileShader, "glCompileShader") && load(&gl->CreateProgram, "glCreateProgram") &&
         load(&gl->AttachShader, "glAttachShader") && load(&gl->BindAttribLocation, "glBindAttribLocation") &&
         load(&gl->LinkProgram, "glLinkProgram") && load(&gl->UseProgram, "glUseProgram") &&
         load(&gl->GetUniformLocation, "glGetUniformLocation") && load(&gl->Uniform1f, "glUniform1f") &&
         load(&gl->GenBuffers, "glGenBuffers") && load(&gl->BindBuffer, "glBindBuffer") &&
         load(&gl->BufferData, "glBufferData") && load(&gl->EnableVertexAttribArray, "glEnableVertexAttribArray") &&
         load(&gl->VertexAttribPointer, "glVertexAttribPointer") && load(&gl->Viewport, "glViewport") &&
         load(&gl->DrawArrays, "glDrawArrays");
}

int width = 0, height = 0;
void onSize(GLFWwindow*, int w, int h) {
  width = w;
  height = h;
}
void onKey(GLFWwindow* window, int, int, int, int) { glfwSetWindowShouldClose(window, GLFW_TRUE); }
void onButton(GLFWwindow* window, int, int, int) { glfwSetWindowShouldClose(window, GLFW_TRUE); }

}  // namespace

int main(int argc, char** argv) {
  if (glfwInit() == GLFW_FALSE) return 1;
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  if (argc == 3 && std::sscanf(argv[2], "%dx%d", &width, &height) == 2) {
    monitor = nullptr;  // --window WxH
  } else if (const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr) {
    width = mode->width;
    height = mode->height;
  } else {
    width = 800;
    height = 600;
  }
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
  GLFWwindow* window = glfwCreateWindow(width, height, "lumivane-bare", monitor, nullptr);
  if (window == nullptr) return 1;
  glfwSetWindowSizeCallback(window, onSize);
  glfwSetKeyCallback(window, onKey);
  glfwSetMouseButtonCallback(window, onButton);
  glfwMakeContextCurrent(window);
  glfwSwapInterval(1);
  glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
  Gl gl{};
  if (!loadGl(&gl)) return 1;

  const GLuint vertex = gl.CreateShader(kVertexShader);
  gl.ShaderSource(vertex, 1, &kBareVertexShader, nullptr);
  gl.CompileShader(vertex);
  const GLuint fragment = gl.CreateShader(kFragmentShader);
  gl.ShaderSource(fragment, 1, &kBareFragmentShader, nullptr);
  gl.CompileShader(fragment);
  const GLuint program = gl.CreateProgram();
  gl.AttachShader(program, vertex);
  gl.AttachShader(program, fragment);
  gl.BindAttribLocation(program, 0, "position");
  gl.LinkProgram(program);
  gl.UseProgram(program);
  const GLint timeLocation = gl.GetUniformLocation(program, "iTime");
  const GLint widthLocation = gl.GetUniformLocation(program, "viewportWidth");
  const GLint heightLocation = gl.GetUniformLocation(program, "viewportHeight");

  const GLfloat corners[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
  GLuint buffer = 0;
  gl.GenBuffers(1, &buffer);
  gl.BindBuffer(kArrayBuffer, buffer);
  gl.BufferData(kArrayBuffer, sizeof corners, corners, kStaticDraw);
  gl.EnableVertexAttribArray(0);
  gl.VertexAttribPointer(0, 3, kFloat, 0, 0, nullptr);

  while (glfwWindowShouldClose(window) == GLFW_FALSE) {
    gl.Uniform1f(timeLocation, static_cast<float>(glfwGetTime()));
    gl.Uniform1f(widthLocation, static_cast<float>(width));
    gl.Uniform1f(heightLocation, static_cast<float>(height));
    gl.Viewport(0, 0, width, height);
    gl.DrawArrays(kTriangleStrip, 0, 4);
    glfwSwapBuffers(window);
    glfwPollEvents();
  }
  glfwTerminate();
  return 0;
}
