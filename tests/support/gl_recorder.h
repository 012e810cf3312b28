// A recording stand-in for the GL function table: every call is logged by name with its
// arguments, and the few calls that answer something answer from the fields below.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "shell/gl_loader.h"

struct GlCall {
  std::string name;               // without the "gl" prefix
  std::vector<std::string> args;  // numbers as text; const char* as its text; other pointers "ptr"/"null"
  std::string text() const;       // "Name(a, b, c)"
};

class GlRecorder {
 public:
  GlRecorder();   // saves the real table and installs the fakes
  ~GlRecorder();  // puts the saved table back
  GlRecorder(const GlRecorder&) = delete;
  GlRecorder& operator=(const GlRecorder&) = delete;

  // Calls whose name is in the list, in order, as "Name(args)".
  std::vector<std::string> texts(const std::vector<std::string>& only = {}) const;
  int count(const std::string& name) const;
  void clear() { calls.clear(); }

  std::vector<GlCall> calls;
  std::map<std::string, GLint> uniformLocations;  // unknown names answer -1
  std::map<std::string, GLint> attribLocations;   // unknown names answer -1
  std::map<GLenum, GLint> integers;               // glGetIntegerv answers; unknown leave the value alone
  std::vector<std::string> extensions;
  GLenum failingStage = 0;  // shaders of this type report a failed compile
  std::map<GLuint, GLenum> shaderTypes;
  GLint linkStatus = 1;
  std::string infoLog;
  GLuint nextName = 1;

  static GlRecorder* active;

 private:
  GlFunctionTable saved_;
};
