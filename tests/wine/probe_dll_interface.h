// What runtime_probe_dll.dll tells the probe: the start-up and shutdown
// events of its runtime, in the order they happened.
#pragma once

enum ProbeDllEvent {
  StaticConstructed = 1,
  ProcessAttached = 2,
  ProcessDetached = 3,
  StaticDestroyed = 4,
};

typedef void (*ProbeDllEventFunction)(int event);

// Exported as "probeConnect" (ordinal 5): hands over the events so far and
// sends the later ones as they happen.
typedef void (*ProbeConnectFunction)(ProbeDllEventFunction receiver);
const char probeConnectName[] = "probeConnect";
