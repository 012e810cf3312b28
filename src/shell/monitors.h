// The monitors other than the primary, covered for as long as the full-screen saver runs:
// one undecorated window over each, drawing the effect at that monitor's own size through
// a context that shares the primary's program and buffers. A key or a button there ends
// the saver as on the primary. With one monitor nothing here does anything.
#pragma once

struct GLFWwindow;

// Covers every monitor except the one the primary window is full screen on, and follows
// monitors that come and go while the saver runs. Leaves the primary's context current.
void CoverOtherMonitors(GLFWwindow* primary);

// Draws the current scene time into each cover and presents it without waiting for the
// vertical blank (the primary's swap alone keeps the pace). Leaves the primary's context
// current.
void DrawOtherMonitors(GLFWwindow* primary);

// How many monitors are covered now (for tests and reports).
int CoveredMonitorCount();
