// Windows resources can also be named by text; the portable lookup only knows numbers.
#pragma once

#include "platform/platform.h"

namespace platform {
// name: a resource name, or an integer id in MAKEINTRESOURCE form.
bool FindNamedResourceData(const char* name, const char* type, ResourceData* out);
}  // namespace platform
