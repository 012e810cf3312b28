/* The shared record between the swap probe (in the measured program) and bench_startup. */
#ifndef LUMIVANE_PROBE_RECORD_H
#define LUMIVANE_PROBE_RECORD_H

/* Monotonic nanoseconds; 0 until the step has happened. */
struct ProbeRecord {
  volatile unsigned long long librariesLoadedNs;
  volatile unsigned long long glfwReadyNs;
  volatile unsigned long long windowReadyNs;
  volatile unsigned long long firstClockNs;
  volatile unsigned long long firstSwapNs;
  volatile unsigned long long iconNs; /* time spent setting the window icon */
  volatile unsigned long long swaps;
};

#endif
