#pragma once

// Sets the scene up once, then draws, presents and polls until the saver is to stop.
void RunMainLoop();
