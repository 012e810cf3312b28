// Linux stand-in for executable resources: generated sources register their tables here.
#pragma once

#include <cstddef>

namespace platform {

struct ResourceEntry {
  int id;
  const char* type;
  const unsigned char* bytes;
  std::size_t size;
};

// One static object per generated table; the constructor files it.
class ResourceRegistration {
 public:
  ResourceRegistration(const ResourceEntry* entries, std::size_t count);
};

}  // namespace platform
