#include "shellext/module_state.h"

// {53A9F291-0FD3-48D3-B6CC-BFBE3B6B51F6}
const CLSID CLSID_ZenthookShellExt = {0x53a9f291, 0x0fd3, 0x48d3, {0xb6, 0xcc, 0xbf, 0xbe, 0x3b, 0x6b, 0x51, 0xf6}};
const char kZenthookClsidText[] = "{53A9F291-0FD3-48D3-B6CC-BFBE3B6B51F6}";

HINSTANCE g_zenthookModule = nullptr;

namespace {
volatile LONG g_liveObjects = 0;
}

void ObjectCreated() { InterlockedIncrement(&g_liveObjects); }
void ObjectDestroyed() { InterlockedDecrement(&g_liveObjects); }
LONG LiveObjects() { return InterlockedCompareExchange(&g_liveObjects, 0, 0); }
