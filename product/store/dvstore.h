#pragma once
// The product's settings store: the interface settings in 配置\界面设置.ini
// next to the program.
#ifdef DVSTORE_BUILD
#define DVSTORE_API extern "C" __declspec(dllexport)
#else
#define DVSTORE_API extern "C" __declspec(dllimport)
#endif

// Copies the value of `key` in `section` into `buffer` (NUL-terminated, at
// most `size` bytes with the NUL) and returns its length; copies `fallback`
// when the file or the key is missing.
DVSTORE_API int DvReadSetting(const char* section, const char* key, const char* fallback,
                              char* buffer, int size);
