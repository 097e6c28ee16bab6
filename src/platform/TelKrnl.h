// Geometry, allocation, settings and language services of the suite's
// kernel library. The entity lists are in platform/EntityList.h.
#pragma once

#include "platform/Export.h"

// Length of the segment between two points.
TELIO_EXPORT float E_SgmLen3D(float x1, float y1, float z1, float x2, float y2, float z2);

// Nonzero when point p lies within 0.001 of the segment between the two
// ends (a segment of zero length is its end point). The point comes first.
TELIO_EXPORT int E_PntSgm3D(float px, float py, float pz, float x1, float y1, float z1,
                            float x2, float y2, float z2);

// Degrees to radians.
TELIO_EXPORT float Rads(float degrees);

// A zero-filled block (a telio::Calloc block), or null when memory is short.
// The line and source name identify the caller and are not kept.
TELIO_EXPORT void* l_Alloc(unsigned int size, int line, const char* sourceName);
TELIO_EXPORT void l_Free(void* block);

// The suite's data folder; empty until the host sets it with SetGDirs.
// Read it after Global_GetIniData.
constexpr int kGDirsSize = 260;
TELIO_EXPORT extern char szGDirs[kGDirsSize];
// Sets szGDirs (cut to 259 characters; null empties it).
TELIO_EXPORT void SetGDirs(const char* folder);

// Loads the kernel's settings. The settings live in memory (szGDirs and the
// language) and are set by the host, so there is nothing to load; returns 1.
TELIO_EXPORT int Global_GetIniData(int);

// The user-interface language number: 1 unless the host sets another.
// Bolt names use the Greek forms for languages other than 1 and 2.
TELIO_EXPORT int GetUILang();
TELIO_EXPORT void SetUILang(int language);
