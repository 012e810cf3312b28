// How a Linux run of the saver ends when the outside world ends it.
#pragma once

namespace platform {

// SIGTERM (how xscreensaver stops its hacks), SIGINT and SIGHUP end the process at once with
// code 0, and so does the loss of the X server. The kernel then closes the X connection, which
// takes our windows with it, and the single-instance guard, which dies with the process.
void InstallStopHandlers();

}  // namespace platform
