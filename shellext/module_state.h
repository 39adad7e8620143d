// What the whole extension module shares: its handle, the count of live objects that keeps
// it loaded, its class identifier and the trace output.
#pragma once
#include <windows.h>

// The class of the context-menu extension; the registration entries name the same value.
extern const CLSID CLSID_ZenthookShellExt;
extern const char kZenthookClsidText[];

extern HINSTANCE g_zenthookModule;

// Every class factory and extension object counts itself here from construction to
// destruction; the module may be unloaded only while the count is 0. The shell calls in
// from several threads, so the count changes atomically.
void ObjectCreated();
void ObjectDestroyed();
LONG LiveObjects();

// One trace line for the debugger or Wine's debug channel.
inline void Trace(const char* text) { OutputDebugStringA(text); }
