#pragma once
// The product's core library: what every program of the product shares.
#ifdef DVCORE_BUILD
#define DVCORE_API extern "C" __declspec(dllexport)
#else
#define DVCORE_API extern "C" __declspec(dllimport)
#endif

// The product's version, "major.minor.patch".
DVCORE_API const char* DvProductVersion();

// The folder of the running program with a trailing backslash; the product's
// files are found next to it, whatever the working directory.
DVCORE_API const char* DvProgramFolder();
