#include "support/gl_recorder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <type_traits>

GlRecorder* GlRecorder::active = nullptr;

namespace {

template <typename T>
std::string describe(T value) {
  if constexpr (std::is_same_v<T, const char*>) {
    return value != nullptr ? std::string(value) : "null";
  } else if constexpr (std::is_pointer_v<T>) {
    return value != nullptr ? "ptr" : "null";
  } else if constexpr (std::is_floating_point_v<T>) {
    std::ostringstream out;
    out << std::setprecision(9) << value;  // enough digits to give back the same float
    return out.str();
  } else {
    return std::to_string(value);
  }
}

void record(const char* name, std::vector<std::string> args) {
  GlRecorder::active->calls.push_back({name, std::move(args)});
}

// The fake for a call that only needs to be seen.
template <typename R>
struct Sink {
  const char* name;
  template <typename... A>
  R operator()(A... args) const {
    record(name, {describe(args)...});
    if constexpr (!std::is_void_v<R>) return R{};
  }
};

#define LV_FAKE(ret, name, params, args) \
  ret LV_GLAPI fake##name params { return Sink<ret>{#name} args; }
LV_GL_FUNCTIONS(LV_FAKE)
#undef LV_FAKE

// Calls that answer something.
GLuint LV_GLAPI answerCreateProgram() {
  record("CreateProgram", {});
  return GlRecorder::active->nextName++;
}
GLuint LV_GLAPI answerCreateShader(GLenum type) {
  record("CreateShader", {describe(type)});
  const GLuint name = GlRecorder::active->nextName++;
  GlRecorder::active->shaderTypes[name] = type;
  return name;
}
void fillNames(const char* name, GLsizei n, GLuint* out) {
  record(name, {describe(n), describe(out)});
  for (GLsizei i = 0; i < n; ++i) out[i] = GlRecorder::active->nextName++;
}
void LV_GLAPI answerGenBuffers(GLsizei n, GLuint* out) { fillNames("GenBuffers", n, out); }
void LV_GLAPI answerGenFramebuffers(GLsizei n, GLuint* out) { fillNames("GenFramebuffers", n, out); }
void LV_GLAPI answerGenTextures(GLsizei n, GLuint* out) { fillNames("GenTextures", n, out); }
void LV_GLAPI answerGetShaderiv(GLuint shader, GLenum pname, GLint* params) {
  record("GetShaderiv", {describe(shader), describe(pname), describe(params)});
  GlRecorder& r = *GlRecorder::active;
  *params = pname == glc::COMPILE_STATUS ? (r.shaderTypes[shader] == r.failingStage ? 0 : 1)
                                         : static_cast<GLint>(r.infoLog.size() + 1);
}
void LV_GLAPI answerGetProgramiv(GLuint program, GLenum pname, GLint* params) {
  record("GetProgramiv", {describe(program), describe(pname), describe(params)});
  *params = pname == glc::LINK_STATUS ? GlRecorder::active->linkStatus
                                      : static_cast<GLint>(GlRecorder::active->infoLog.size() + 1);
}
void copyLog(GLsizei size, GLsizei* length, GLchar* out) {
  const std::string& log = GlRecorder::active->infoLog;
  if (size <= 0) return;
  const std::size_t n = std::min(log.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(out, log.data(), n);
  out[n] = '\0';
  if (length != nullptr) *length = static_cast<GLsizei>(n);
}
void LV_GLAPI answerGetShaderInfoLog(GLuint shader, GLsizei size, GLsizei* length, GLchar* out) {
  record("GetShaderInfoLog", {describe(shader), describe(size)});
  copyLog(size, length, out);
}
void LV_GLAPI answerGetProgramInfoLog(GLuint program, GLsizei size, GLsizei* length, GLchar* out) {
  record("GetProgramInfoLog", {describe(program), describe(size)});
  copyLog(size, length, out);
}
void LV_GLAPI answerGetIntegerv(GLenum pname, GLint* data) {
  record("GetIntegerv", {describe(pname), describe(data)});
  auto found = GlRecorder::active->integers.find(pname);
  if (found != GlRecorder::active->integers.end()) *data = found->second;
}
GLint lookUp(const std::map<std::string, GLint>& table, const GLchar* name) {
  auto found = table.find(name);
  return found == table.end() ? -1 : found->second;
}
GLint LV_GLAPI answerGetUniformLocation(GLuint program, const GLchar* name) {
  record("GetUniformLocation", {describe(program), describe(name)});
  return lookUp(GlRecorder::active->uniformLocations, name);
}
GLint LV_GLAPI answerGetAttribLocation(GLuint program, const GLchar* name) {
  record("GetAttribLocation", {describe(program), describe(name)});
  return lookUp(GlRecorder::active->attribLocations, name);
}
const GLubyte* LV_GLAPI answerGetString(GLenum name) {
  record("GetString", {describe(name)});
  return reinterpret_cast<const GLubyte*>("recorded");
}
const GLubyte* LV_GLAPI answerGetStringi(GLenum name, GLuint index) {
  record("GetStringi", {describe(name), describe(index)});
  const auto& list = GlRecorder::active->extensions;
  return index < list.size() ? reinterpret_cast<const GLubyte*>(list[index].c_str()) : nullptr;
}
// Offsets and matrices are worth seeing as values.
void LV_GLAPI answerVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                                       const void* pointer) {
  record("VertexAttribPointer", {describe(index), describe(size), describe(type), describe(+normalized),
                                 describe(stride), describe(reinterpret_cast<std::uintptr_t>(pointer))});
}
void LV_GLAPI answerDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  record("DrawElements",
         {describe(mode), describe(count), describe(type), describe(reinterpret_cast<std::uintptr_t>(indices))});
}
void LV_GLAPI answerUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value) {
  std::vector<std::string> args{describe(location), describe(count), describe(+transpose)};
  for (int i = 0; i < 16 * count; ++i) args.push_back(describe(value[i]));
  record("UniformMatrix4fv", std::move(args));
}

GLenum LV_GLAPI answerCheckFramebufferStatus(GLenum target) {
  record("CheckFramebufferStatus", {describe(target)});
  return glc::FRAMEBUFFER_COMPLETE;
}

}  // namespace

std::string GlCall::text() const {
  std::string out = name + "(";
  for (std::size_t i = 0; i < args.size(); ++i) out += (i > 0 ? ", " : "") + args[i];
  return out + ")";
}

GlRecorder::GlRecorder() : saved_(gl) {
  active = this;
#define LV_INSTALL(ret, name, params, args) gl.name = fake##name;
  LV_GL_FUNCTIONS(LV_INSTALL)
#undef LV_INSTALL
  gl.CreateProgram = answerCreateProgram;
  gl.CreateShader = answerCreateShader;
  gl.GenBuffers = answerGenBuffers;
  gl.GenFramebuffers = answerGenFramebuffers;
  gl.GenTextures = answerGenTextures;
  gl.GetShaderiv = answerGetShaderiv;
  gl.GetProgramiv = answerGetProgramiv;
  gl.GetShaderInfoLog = answerGetShaderInfoLog;
  gl.GetProgramInfoLog = answerGetProgramInfoLog;
  gl.GetIntegerv = answerGetIntegerv;
  gl.GetUniformLocation = answerGetUniformLocation;
  gl.GetAttribLocation = answerGetAttribLocation;
  gl.GetString = answerGetString;
  gl.GetStringi = answerGetStringi;
  gl.CheckFramebufferStatus = answerCheckFramebufferStatus;
  gl.VertexAttribPointer = answerVertexAttribPointer;
  gl.DrawElements = answerDrawElements;
  gl.UniformMatrix4fv = answerUniformMatrix4fv;
}

GlRecorder::~GlRecorder() {
  gl = saved_;
  active = nullptr;
}

std::vector<std::string> GlRecorder::texts(const std::vector<std::string>& only) const {
  std::vector<std::string> out;
  for (const GlCall& call : calls) {
    if (only.empty() || std::find(only.begin(), only.end(), call.name) != only.end()) out.push_back(call.text());
  }
  return out;
}

int GlRecorder::count(const std::string& name) const {
  int n = 0;
  for (const GlCall& call : calls) n += call.name == name ? 1 : 0;
  return n;
}
