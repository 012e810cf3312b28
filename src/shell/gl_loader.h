// The process-wide OpenGL function table. Every GL call of the program goes through `gl`,
// filled by name once a context is current; tests point its slots at recording fakes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gl_calling.h"

using GLenum = unsigned int;
using GLboolean = unsigned char;
using GLbitfield = unsigned int;
using GLint = int;
using GLuint = unsigned int;
using GLsizei = int;
using GLfloat = float;
using GLchar = char;
using GLubyte = unsigned char;
using GLvoid = void;
using GLintptr = std::ptrdiff_t;
using GLsizeiptr = std::ptrdiff_t;
using GLDEBUGPROC = void(LV_GLAPI*)(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                                     const GLchar* message, const void* userParam);

namespace glc {
constexpr GLenum FALSE_ = 0;
constexpr GLenum NO_ERROR_ = 0;
constexpr GLenum TRIANGLES = 0x0004;
constexpr GLenum TRIANGLE_STRIP = 0x0005;
constexpr GLenum BACK = 0x0405;
constexpr GLenum CW = 0x0900;
constexpr GLenum CULL_FACE = 0x0B44;
constexpr GLenum LINE_SMOOTH = 0x0B20;
constexpr GLenum POLYGON_SMOOTH = 0x0B41;
constexpr GLenum MULTISAMPLE = 0x809D;
constexpr GLenum MAX_TEXTURE_SIZE = 0x0D33;
constexpr GLenum PACK_ALIGNMENT = 0x0D05;
constexpr GLenum TEXTURE_2D = 0x0DE1;
constexpr GLenum UNSIGNED_BYTE = 0x1401;
constexpr GLenum UNSIGNED_INT = 0x1405;
constexpr GLenum FLOAT = 0x1406;
constexpr GLenum RGBA = 0x1908;
constexpr GLenum RGB = 0x1907;
constexpr GLenum VENDOR = 0x1F00;
constexpr GLenum RENDERER = 0x1F01;
constexpr GLenum VERSION = 0x1F02;
constexpr GLenum EXTENSIONS = 0x1F03;
constexpr GLenum LINEAR = 0x2601;
constexpr GLenum TEXTURE_MAG_FILTER = 0x2800;
constexpr GLenum TEXTURE_MIN_FILTER = 0x2801;
constexpr GLenum TEXTURE_BASE_LEVEL = 0x813C;
constexpr GLenum TEXTURE_MAX_LEVEL = 0x813D;
constexpr GLenum MAX_ELEMENTS_VERTICES = 0x80E8;
constexpr GLenum MAX_ELEMENTS_INDICES = 0x80E9;
constexpr GLenum MAJOR_VERSION = 0x821B;
constexpr GLenum MINOR_VERSION = 0x821C;
constexpr GLenum NUM_EXTENSIONS = 0x821D;
constexpr GLenum CONTEXT_FLAGS = 0x821E;
constexpr GLenum MAX_UNIFORM_LOCATIONS = 0x826E;
constexpr GLenum MAX_VERTEX_ATTRIBS = 0x8869;
constexpr GLenum ARRAY_BUFFER = 0x8892;
constexpr GLenum ELEMENT_ARRAY_BUFFER = 0x8893;
constexpr GLenum STATIC_DRAW = 0x88E4;
constexpr GLenum FRAGMENT_SHADER = 0x8B30;
constexpr GLenum VERTEX_SHADER = 0x8B31;
constexpr GLenum MAX_FRAGMENT_UNIFORM_COMPONENTS = 0x8B49;
constexpr GLenum MAX_VERTEX_UNIFORM_COMPONENTS = 0x8B4A;
constexpr GLenum COMPILE_STATUS = 0x8B81;
constexpr GLenum LINK_STATUS = 0x8B82;
constexpr GLenum INFO_LOG_LENGTH = 0x8B84;
constexpr GLenum FRAMEBUFFER_COMPLETE = 0x8CD5;
constexpr GLenum COLOR_ATTACHMENT0 = 0x8CE0;
constexpr GLenum FRAMEBUFFER = 0x8D40;
constexpr GLenum CONTEXT_PROFILE_MASK = 0x9126;
constexpr GLenum COLOR_BUFFER_BIT = 0x4000;
}  // namespace glc

// X(return type, name without the "gl" prefix, parameter list, argument list)
#define LV_GL_FUNCTIONS(X)                                                                                     \
  X(void, ActiveTexture, (GLenum texture), (texture))                                                          \
  X(void, AttachShader, (GLuint program, GLuint shader), (program, shader))                                    \
  X(void, BindBuffer, (GLenum target, GLuint buffer), (target, buffer))                                        \
  X(void, BindFramebuffer, (GLenum target, GLuint framebuffer), (target, framebuffer))                         \
  X(void, BindTexture, (GLenum target, GLuint texture), (target, texture))                                     \
  X(void, BufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage),                        \
    (target, size, data, usage))                                                                               \
  X(void, BufferSubData, (GLenum target, GLintptr offset, GLsizeiptr size, const void* data),                  \
    (target, offset, size, data))                                                                              \
  X(GLenum, CheckFramebufferStatus, (GLenum target), (target))                                                 \
  X(void, Clear, (GLbitfield mask), (mask))                                                                    \
  X(void, ClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))                              \
  X(void, CompileShader, (GLuint shader), (shader))                                                            \
  X(GLuint, CreateProgram, (), ())                                                                             \
  X(GLuint, CreateShader, (GLenum type), (type))                                                               \
  X(void, CullFace, (GLenum mode), (mode))                                                                     \
  X(void, DebugMessageCallback, (GLDEBUGPROC callback, const void* userParam), (callback, userParam))          \
  X(void, DeleteBuffers, (GLsizei n, const GLuint* buffers), (n, buffers))                                     \
  X(void, DeleteFramebuffers, (GLsizei n, const GLuint* framebuffers), (n, framebuffers))                      \
  X(void, DeleteProgram, (GLuint program), (program))                                                          \
  X(void, DeleteShader, (GLuint shader), (shader))                                                             \
  X(void, DeleteTextures, (GLsizei n, const GLuint* textures), (n, textures))                                  \
  X(void, DetachShader, (GLuint program, GLuint shader), (program, shader))                                    \
  X(void, Disable, (GLenum cap), (cap))                                                                        \
  X(void, DisableVertexAttribArray, (GLuint index), (index))                                                   \
  X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))                         \
  X(void, DrawBuffers, (GLsizei n, const GLenum* bufs), (n, bufs))                                             \
  X(void, DrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices),                        \
    (mode, count, type, indices))                                                                              \
  X(void, Enable, (GLenum cap), (cap))                                                                         \
  X(void, EnableVertexAttribArray, (GLuint index), (index))                                                    \
  X(void, Finish, (), ())                                                                                      \
  X(void, Flush, (), ())                                                                                       \
  X(void, FramebufferTexture, (GLenum target, GLenum attachment, GLuint texture, GLint level),                 \
    (target, attachment, texture, level))                                                                      \
  X(void, FramebufferTexture2D,                                                                                \
    (GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level),                         \
    (target, attachment, textarget, texture, level))                                                           \
  X(void, FrontFace, (GLenum mode), (mode))                                                                    \
  X(void, GenBuffers, (GLsizei n, GLuint * buffers), (n, buffers))                                             \
  X(void, GenFramebuffers, (GLsizei n, GLuint * framebuffers), (n, framebuffers))                              \
  X(void, GenTextures, (GLsizei n, GLuint * textures), (n, textures))                                          \
  X(GLint, GetAttribLocation, (GLuint program, const GLchar* name), (program, name))                           \
  X(GLenum, GetError, (), ())                                                                                  \
  X(void, GetIntegerv, (GLenum pname, GLint * data), (pname, data))                                            \
  X(void, GetProgramInfoLog, (GLuint program, GLsizei bufSize, GLsizei * length, GLchar * infoLog),            \
    (program, bufSize, length, infoLog))                                                                       \
  X(void, GetProgramiv, (GLuint program, GLenum pname, GLint * params), (program, pname, params))              \
  X(void, GetShaderInfoLog, (GLuint shader, GLsizei bufSize, GLsizei * length, GLchar * infoLog),              \
    (shader, bufSize, length, infoLog))                                                                        \
  X(void, GetShaderiv, (GLuint shader, GLenum pname, GLint * params), (shader, pname, params))                 \
  X(const GLubyte*, GetString, (GLenum name), (name))                                                          \
  X(const GLubyte*, GetStringi, (GLenum name, GLuint index), (name, index))                                    \
  X(GLint, GetUniformLocation, (GLuint program, const GLchar* name), (program, name))                          \
  X(void, LinkProgram, (GLuint program), (program))                                                            \
  X(void, PixelStorei, (GLenum pname, GLint param), (pname, param))                                            \
  X(void, ReadBuffer, (GLenum src), (src))                                                                     \
  X(void, ReadPixels,                                                                                          \
    (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels),               \
    (x, y, width, height, format, type, pixels))                                                               \
  X(void, ShaderSource, (GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length),      \
    (shader, count, string, length))                                                                           \
  X(void, TexImage2D,                                                                                          \
    (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border,            \
     GLenum format, GLenum type, const void* pixels),                                                          \
    (target, level, internalformat, width, height, border, format, type, pixels))                              \
  X(void, TexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param))                   \
  X(void, Uniform1f, (GLint location, GLfloat v0), (location, v0))                                             \
  X(void, Uniform1i, (GLint location, GLint v0), (location, v0))                                               \
  X(void, UniformMatrix4fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat* value),        \
    (location, count, transpose, value))                                                                       \
  X(void, UseProgram, (GLuint program), (program))                                                             \
  X(void, VertexAttribPointer,                                                                                 \
    (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* pointer),        \
    (index, size, type, normalized, stride, pointer))                                                          \
  X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))

struct GlFunctionTable {
#define LV_GL_SLOT(ret, name, params, args) ret(LV_GLAPI* name) params = nullptr;
  LV_GL_FUNCTIONS(LV_GL_SLOT)
#undef LV_GL_SLOT
};

extern GlFunctionTable gl;

// Names of the table's slots with their "gl" prefix, in table order.
extern const char* const kGlFunctionNames[];
extern const std::size_t kGlFunctionCount;

// Process-wide version numbers read by the loader.
extern GLint gGlMajorVersion;
extern GLint gGlMinorVersion;

// Resolves every slot by name (wglGetProcAddress / glXGetProcAddress first, then the GL
// library's own exports). A function the driver lacks stays null. Returns -1 when the
// context's version cannot be read or is below 3, else 0.
int GlLoaderInit();
bool GlLoaderIsSupported(int major, int minor);
