// A library that sits in the probe's folder (and current directory) under a
// name only the program's folder holds: the runtime must not load it.
extern "C" __declspec(dllexport) int PlantedFunction() { return 42; }
