#include "render/program.h"

#include <GLFW/glfw3.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

[[noreturn]] void failStartup(const std::string& text) {
  platform::ShowMessageBox(text, "Debug", platform::kIconInformation);
  glfwTerminate();
  platform::EndAfterStartupFailure();
}

}  // namespace

GLFWProgram::TextStatus GLFWProgram::loadShaderText(int resourceId, char* buffer, int capacity) {
  std::memset(buffer, 0, static_cast<std::size_t>(capacity) + 4);
  platform::ResourceData data;
  if (!platform::FindResourceData(resourceId, "TEXTFILE", &data)) return TextStatus::Missing;
  // The marker ends the text; the resource's size only bounds the search.
  std::size_t length = 0;
  while (length < data.size && data.bytes[length] != static_cast<unsigned char>(ShaderEndMarker)) ++length;
  if (length == data.size) return TextStatus::NoEndMarker;
  if (length > static_cast<std::size_t>(capacity)) return TextStatus::TooLong;
  std::memcpy(buffer, data.bytes, length);
  return TextStatus::Ok;
}

GLFWProgram::GLFWProgram(int vertexResourceId, int fragmentResourceId) {
  vertexSource.reset(new char[ShaderTextCapacity + 4]);
  fragmentSource.reset(new char[ShaderTextCapacity + 4]);
  for (auto [id, buffer] :
       {std::pair<int, char*>{vertexResourceId, vertexSource.get()}, {fragmentResourceId, fragmentSource.get()}}) {
    switch (loadShaderText(id, buffer, ShaderTextCapacity)) {
      case TextStatus::Ok: break;
      case TextStatus::Missing: failStartup("Shader text " + std::to_string(id) + " is missing");
      case TextStatus::NoEndMarker: failStartup("Shader text " + std::to_string(id) + " has no end marker");
      case TextStatus::TooLong: failStartup("Shader text " + std::to_string(id) + " is too long");
    }
  }

  program = gl.CreateProgram();
  vertexShader = gl.CreateShader(glc::VERTEX_SHADER);
  compileStage(vertexShader, vertexSource.get(), "Vertex shader compilation error");
  fragmentShader = gl.CreateShader(glc::FRAGMENT_SHADER);
  compileStage(fragmentShader, fragmentSource.get(), "Fragment shader compilation error");

  gl.AttachShader(program, vertexShader);
  gl.AttachShader(program, fragmentShader);
  gl.LinkProgram(program);

  // A program that does not link would draw nothing and answer -1 for every name: say so
  // and stop, as for a stage that does not compile.
  GLint linked = 0;
  gl.GetProgramiv(program, glc::LINK_STATUS, &linked);
  if (linked == 0) {
    GLint length = 0;
    gl.GetProgramiv(program, glc::INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    gl.GetProgramInfoLog(program, length, &length, log.data());
    platform::ShowMessageBox(log.data(), "Debug", platform::kIconInformation);
    platform::ShowMessageBox("Shader program link error", "Debug", platform::kIconInformation);
    gl.DeleteProgram(program);
    platform::EndAfterStartupFailure();
  }
}

void GLFWProgram::compileStage(GLuint shader, const char* source, const char* failureText) {
  gl.ShaderSource(shader, 1, &source, nullptr);
  gl.CompileShader(shader);
  GLint status = 0;
  gl.GetShaderiv(shader, glc::COMPILE_STATUS, &status);
  if (status == 0) {
    showShaderLog(shader);
    platform::ShowMessageBox(failureText, "Debug", platform::kIconInformation);
    gl.DeleteShader(shader);
    platform::EndAfterStartupFailure();
  }
}

void GLFWProgram::showShaderLog(GLuint shader) {
  GLint length = 0;
  gl.GetShaderiv(shader, glc::INFO_LOG_LENGTH, &length);
  if (length < 0) length = 0;
  std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
  gl.GetShaderInfoLog(shader, length, &length, log.data());
  platform::ShowMessageBox(log.data(), "Debug", platform::kIconInformation);
}

GLint GLFWProgram::getLocation(LocationKind kind, const char* name) {
  auto found = locations.find(name);
  if (found != locations.end()) return found->second;
  const GLint location =
      kind == LocationKind::Uniform ? gl.GetUniformLocation(program, name) : gl.GetAttribLocation(program, name);
  locations.emplace(name, location);
  return location;
}

void GLFWProgram::use() const { gl.UseProgram(program); }

GLFWProgram::~GLFWProgram() {
  gl.DeleteShader(vertexShader);
  gl.DeleteShader(fragmentShader);
  gl.DeleteProgram(program);
}
