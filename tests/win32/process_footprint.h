#pragma once
// What a process holds that a DLL could take and fail to give back on unload: memory, TLS
// indexes, threads and window classes.

#include <windows.h>

#include <cstddef>

namespace lumra::testing {

struct ProcessFootprint {
  std::size_t PrivateBytes = 0;  // committed private memory of the process
  std::size_t HeapBytes = 0;     // bytes of allocated blocks, over every heap of the process
  DWORD NextTlsIndex = 0;        // the TLS index TlsAlloc would hand out now
  int Threads = 0;
};

ProcessFootprint MeasureFootprint();

// Whether a window class of this name is registered for module (or globally).
bool WindowClassRegistered(HMODULE module, const char* name);

}  // namespace lumra::testing
