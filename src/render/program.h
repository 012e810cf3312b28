// One OpenGL shader program built from two text resources, with a per-name location cache.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "shell/gl_loader.h"

constexpr int ShaderTextCapacity = 32768;
constexpr char ShaderEndMarker = '~';

enum class LocationKind { Uniform = 0, Attribute = 1 };

class GLFWProgram {
 public:
  // Reads, compiles and links; a text that cannot be read or a stage that does not build
  // shows its report and ends the process.
  GLFWProgram(int vertexResourceId, int fragmentResourceId);
  ~GLFWProgram();
  GLFWProgram(const GLFWProgram&) = delete;
  GLFWProgram& operator=(const GLFWProgram&) = delete;

  GLuint getProgramId() const { return program; }
  GLint getUniformLocation(const char* name) { return getLocation(LocationKind::Uniform, name); }
  GLint getAttribLocation(const char* name) { return getLocation(LocationKind::Attribute, name); }
  void use() const;

  // Outcome of reading one shader text into a buffer.
  enum class TextStatus { Ok, Missing, NoEndMarker, TooLong };
  // Copies the text before the first end marker and four zero bytes after it. The buffer
  // holds capacity + 4 bytes; nothing past the resource's own size is read.
  static TextStatus loadShaderText(int resourceId, char* buffer, int capacity);

  std::unique_ptr<char[]> vertexSource;
  std::unique_ptr<char[]> fragmentSource;
  GLuint vertexShader = 0;
  GLuint fragmentShader = 0;
  GLuint program = 0;
  std::map<std::string, GLint> locations;

 private:
  GLint getLocation(LocationKind kind, const char* name);
  static void showShaderLog(GLuint shader);
  void compileStage(GLuint shader, const char* source, const char* failureText);
};
