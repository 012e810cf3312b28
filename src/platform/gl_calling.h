// The calling convention of the system's OpenGL entry points.
#pragma once

#if defined(_WIN32)
#define LV_GLAPI __stdcall
#else
#define LV_GLAPI
#endif
