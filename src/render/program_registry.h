// Owns the shader programs and hands them out by name.
#pragma once

#include <map>
#include <string>

#include "render/program.h"

class ProgramRegistry {
 public:
  ProgramRegistry() = default;
  ~ProgramRegistry();
  ProgramRegistry(const ProgramRegistry&) = delete;
  ProgramRegistry& operator=(const ProgramRegistry&) = delete;

  // Builds the program and files it; a name already present keeps its first program.
  void addProgram(const std::string& name, int vertexResourceId, int fragmentResourceId);
  GLFWProgram* getProgram(const std::string& name) const;
  // Makes the named program current; an unknown name changes nothing.
  void useProgram(const std::string& name) const;

  std::map<std::string, GLFWProgram*> programs;
};
