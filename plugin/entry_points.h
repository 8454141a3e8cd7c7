#pragma once
// The fifteen operations a host drives the effect through. The 32-bit DLL exports them under
// these names (stdcall, undecorated); the Linux tools call them directly.
//
// Threads: Show, Hide, SetData, SetText and Destroy run editor-window code and belong to the
// thread that loaded the library. PostWave and PostWaveData may come from another thread at the
// same time; they never wait, lock or (once a block size has been seen) allocate, except that a
// block bringing a new sample rate reconfigures the effect first. Every other operation may be
// called from either thread. No operation reports an error; bad arguments are ignored.

#include <cstdint>

#if defined(_WIN32)
#define LREVERB_STDCALL __stdcall
#else
#define LREVERB_STDCALL
#endif

namespace lumra::plugin {

void Show();
void Hide();
void Start();
void Stop();
// Silences every effect object; parameters, flags and peaks stay.
void Clear();
// Frees the instance. The host's last call.
void Destroy();

// One block in place, one buffer per channel (1 or 2 channels).
void PostWave(float** channels, std::int32_t sampleRate, std::int32_t channelCount,
              std::int32_t sampleCount);
// One block in place, channels interleaved; sampleCount counts frames.
void PostWaveData(float* data, std::int32_t sampleRate, std::int32_t channelCount,
                  std::int32_t sampleCount);

const char* GetPlugName();
std::int32_t GetPlugVersion();
// The stored Power byte itself: nonzero while the effect is on.
std::uint8_t GetActivePlug();
std::int32_t GetPlugChanged();
// Takes a 148-byte parameter block (any other size is ignored) and applies it.
void SetData(const void* data, std::int32_t size);
// Hands out the address of the live parameter block and its size, 148.
void GetData(void** data, std::int32_t* size);
void SetText(const char* text);

// Everything the library does when it is loaded; the DLL runs it from its entry point.
void LoadLibraryInstance();

}  // namespace lumra::plugin
