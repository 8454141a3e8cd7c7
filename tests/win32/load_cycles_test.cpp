// A host that loads the plug-in, uses it, calls Destroy and frees it, again and again. Each cycle
// must give back all it took: memory, TLS indexes, threads and the editor's window class.
// Otherwise a long-running host grows with every load and at last cannot load it at all.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "editor/editor_window_win32.h"
#include "plugin_api.h"
#include "process_footprint.h"
#include "test_signal.h"
#include "test_thread.h"

namespace lumra::testing {
namespace {

constexpr const char* DllName = "lreverb.zqp";

struct HostSession {
  const char* Name;
  bool Window;       // a first call on the loading thread: the editor window is created
  int Channels;      // of the block processed each cycle; 0: no block
  int SampleRate;
  bool Interleaved;  // PostWaveData instead of PostWave
  bool AudioThread;  // the block comes from another thread, as from a host's audio thread
};

void ProcessBlock(const PluginApi& api, const HostSession& session) {
  constexpr int Frames = 512;
  if (session.Interleaved) {
    std::vector<float> block = Signal(static_cast<std::size_t>(Frames * session.Channels));
    api.PostWaveData(block.data(), session.SampleRate, session.Channels, Frames);
    return;
  }
  std::vector<float> left = Signal(Frames), right = Signal(Frames);
  std::array<float*, 2> channels{left.data(), right.data()};
  api.PostWave(channels.data(), session.SampleRate, session.Channels, Frames);
}

// Loads, uses, destroys and frees the plug-in. Returns the module handle it had while loaded,
// null when loading failed.
HMODULE RunSession(const HostSession& session) {
  LoadedPlugin plugin;
  if (!plugin.Error().empty()) {
    ADD_FAILURE() << plugin.Error();
    return nullptr;
  }
  const HMODULE module = GetModuleHandleA(DllName);
  if (session.Window) {
    plugin->GetPlugName();
    plugin->Show();
    plugin->Hide();
  }
  if (session.Channels > 0 && session.AudioThread)
    TestThread([&] { ProcessBlock(plugin.Api(), session); }).join();
  else if (session.Channels > 0)
    ProcessBlock(plugin.Api(), session);
  return module;
}

void PrintTo(const HostSession& session, std::ostream* out) { *out << session.Name; }

class LoadCycles : public ::testing::TestWithParam<HostSession> {};

TEST_P(LoadCycles, GiveBackEverythingTheyTake) {
  constexpr int Cycles = 200;
  constexpr int Settled = 50;  // the first loads fill caches of the loader and of Wine
  const ProcessFootprint before = MeasureFootprint();
  ProcessFootprint settled;
  HMODULE module = nullptr;
  for (int cycle = 1; cycle <= Cycles; ++cycle) {
    module = RunSession(GetParam());
    ASSERT_NE(module, nullptr) << "cycle " << cycle;
    ASSERT_EQ(GetModuleHandleA(DllName), nullptr) << "still loaded after cycle " << cycle;
    const ProcessFootprint now = MeasureFootprint();
    ASSERT_EQ(now.NextTlsIndex, before.NextTlsIndex) << "a TLS index kept by cycle " << cycle;
    if (cycle == Settled) settled = now;
  }
  const ProcessFootprint after = MeasureFootprint();
  const auto perCycle = [&](std::size_t from, std::size_t to) {
    return (static_cast<double>(to) - static_cast<double>(from)) / (Cycles - Settled);
  };
  const double heapPerCycle = perCycle(settled.HeapBytes, after.HeapBytes);
  const double privatePerCycle = perCycle(settled.PrivateBytes, after.PrivateBytes);
  // Heap blocks are counted to the byte, committed memory only in whole pages.
  EXPECT_LT(heapPerCycle, 64.0) << "heap bytes per cycle";
  EXPECT_LT(privatePerCycle, 1024.0) << "committed private bytes per cycle";
  EXPECT_FALSE(WindowClassRegistered(module, editor::EditorWindowClass));
  EXPECT_EQ(after.Threads, before.Threads);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, LoadCycles,
    ::testing::Values(HostSession{"LoadOnly", false, 0, 0, false, false},
                      HostSession{"Window", true, 0, 0, false, false},
                      HostSession{"MonoPlanar44100", false, 1, 44100, false, false},
                      HostSession{"StereoPlanar48000", false, 2, 48000, false, false},
                      HostSession{"MonoInterleaved48000", false, 1, 48000, true, false},
                      HostSession{"StereoInterleaved44100", false, 2, 44100, true, false},
                      HostSession{"StereoPlanar44100OnAudioThread", false, 2, 44100, false, true},
                      HostSession{"WindowAndStereoBlock", true, 2, 44100, false, false}),
    [](const ::testing::TestParamInfo<HostSession>& info) { return std::string(info.param.Name); });

// More loads than a process has TLS indexes (1,088): anything a load keeps runs out long before
// the last one. Without the window, which costs ten times as much per cycle.
TEST(LoadCycleSurvival, TwelveHundredLoads) {
  constexpr HostSession Session{"StereoInterleaved48000", false, 2, 48000, true, false};
  for (int cycle = 1; cycle <= 1200; ++cycle) ASSERT_NE(RunSession(Session), nullptr) << "cycle " << cycle;
}

}  // namespace
}  // namespace lumra::testing
