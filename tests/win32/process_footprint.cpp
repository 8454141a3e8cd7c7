#include "process_footprint.h"

// After windows.h, which it needs.
#include <tlhelp32.h>

#include <vector>

namespace lumra::testing {
namespace {

// Committed private memory, region by region: GetProcessMemoryInfo's PrivateUsage reads 0 under
// Wine.
std::size_t PrivateBytes() {
  std::size_t bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* address = nullptr;
       VirtualQuery(address, &region, sizeof region) == sizeof region;
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
  }
  return bytes;
}

std::size_t AllocatedBytes(HANDLE heap) {
  std::size_t bytes = 0;
  if (!HeapLock(heap)) return 0;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry))
    if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
  HeapUnlock(heap);
  return bytes;
}

std::size_t HeapBytes() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  std::size_t bytes = 0;
  for (HANDLE heap : heaps) bytes += AllocatedBytes(heap);
  return bytes;
}

DWORD NextTlsIndex() {
  const DWORD index = TlsAlloc();
  TlsFree(index);
  return index;
}

int ThreadsOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int threads = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
  CloseHandle(snapshot);
  return threads;
}

}  // namespace

ProcessFootprint MeasureFootprint() {
  return {PrivateBytes(), HeapBytes(), NextTlsIndex(), ThreadsOfThisProcess()};
}

bool WindowClassRegistered(HMODULE module, const char* name) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  return GetClassInfoExA(module, name, &windowClass) != FALSE;
}

}  // namespace lumra::testing
