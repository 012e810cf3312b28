#include "render/program_registry.h"

ProgramRegistry::~ProgramRegistry() {
  for (auto& entry : programs) delete entry.second;
}

void ProgramRegistry::addProgram(const std::string& name, int vertexResourceId, int fragmentResourceId) {
  // The name is checked first, so a duplicate costs no compile and leaves no orphan program.
  if (programs.count(name) != 0) return;
  programs.emplace(name, new GLFWProgram(vertexResourceId, fragmentResourceId));
}

GLFWProgram* ProgramRegistry::getProgram(const std::string& name) const {
  auto found = programs.find(name);
  return found == programs.end() ? nullptr : found->second;
}

void ProgramRegistry::useProgram(const std::string& name) const {
  if (GLFWProgram* program = getProgram(name)) program->use();
}
