#pragma once

// Sets the scene up once, then draws, presents and polls until the saver is to stop.
void RunMainLoop();

// The loop's one wait per iteration, after every window's frame went out: holds the loop to
// the display's refresh rate where the swap did not wait for it (shell/frame_pacer.h).
void PaceFrame();
