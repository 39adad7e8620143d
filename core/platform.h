// The one door to the operating system for the engines (core/, encode/, decode/).
// On Windows it is <windows.h>; elsewhere a small stand-in provides the handful of
// file, memory and temporary-file calls the engines use, so they build and are
// unit-tested natively. No other engine file includes a platform header.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "core/winstandin.h"
#endif
