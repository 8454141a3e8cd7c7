// The plug-in's C entry points: the descriptors of the stereo and mono variants and the state
// interface, each a thin call into ReverbInstance.

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "lv2/plugin/reverb_instance.h"
#include "lv2/ports.h"

namespace lumra::lv2 {
namespace {

// An instance with the URIDs its state needs; without the host's urid:map it runs, but has no
// state to save or restore.
struct Handle {
  Handle(std::int32_t rate, int channels) : Reverb(rate, channels) {}
  ReverbInstance Reverb;
  LV2_URID BlockKey = 0;
  LV2_URID ChunkType = 0;
};

Handle* Of(LV2_Handle instance) { return static_cast<Handle*>(instance); }

const LV2_URID_Map* FindUridMap(const LV2_Feature* const* features) {
  for (; features != nullptr && *features != nullptr; ++features)
    if (std::strcmp((*features)->URI, LV2_URID__map) == 0)
      return static_cast<const LV2_URID_Map*>((*features)->data);
  return nullptr;
}

template <int Channels>
LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
  if (!(rate >= 1.0 && rate <= plugin::MaxSampleRate)) return nullptr;
  try {
    auto handle = std::make_unique<Handle>(static_cast<std::int32_t>(std::lround(rate)), Channels);
    if (const LV2_URID_Map* map = FindUridMap(features)) {
      handle->BlockKey = map->map(map->handle, BlockStateKey.data());
      handle->ChunkType = map->map(map->handle, LV2_ATOM__Chunk);
    }
    return handle.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void ConnectPort(LV2_Handle instance, uint32_t port, void* data) {
  Of(instance)->Reverb.ConnectPort(port, data);
}
void Activate(LV2_Handle instance) { Of(instance)->Reverb.Activate(); }
void Run(LV2_Handle instance, uint32_t frames) { Of(instance)->Reverb.Run(frames); }
void Deactivate(LV2_Handle) {}
void Cleanup(LV2_Handle instance) { const std::unique_ptr<Handle> owned(Of(instance)); }

LV2_State_Status Save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle state,
                      uint32_t, const LV2_Feature* const*) {
  const Handle& h = *Of(instance);
  if (h.BlockKey == 0) return LV2_STATE_ERR_NO_FEATURE;
  const ParamBlock block = h.Reverb.Block();
  return store(state, h.BlockKey, &block, sizeof block, h.ChunkType,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle state, uint32_t, const LV2_Feature* const*) {
  Handle& h = *Of(instance);
  if (h.BlockKey == 0) return LV2_STATE_ERR_NO_FEATURE;
  std::size_t size = 0;
  uint32_t type = 0, flags = 0;
  const void* data = retrieve(state, h.BlockKey, &size, &type, &flags);
  if (data == nullptr) return LV2_STATE_ERR_NO_PROPERTY;
  if (type != h.ChunkType || size != ParamBlockSize) return LV2_STATE_ERR_BAD_TYPE;
  ParamBlock block;
  std::memcpy(&block, data, sizeof block);
  h.Reverb.Restore(block);
  return LV2_STATE_SUCCESS;
}

const void* ExtensionData(const char* uri) {
  static const LV2_State_Interface state{Save, Restore};
  return std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}

const LV2_Descriptor StereoDescriptor{StereoUri.data(), Instantiate<2>, ConnectPort,  Activate, Run,
                                      Deactivate,       Cleanup,        ExtensionData};
const LV2_Descriptor MonoDescriptor{MonoUri.data(), Instantiate<1>, ConnectPort,  Activate, Run,
                                    Deactivate,     Cleanup,        ExtensionData};

}  // namespace
}  // namespace lumra::lv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  switch (index) {
    case 0:
      return &lumra::lv2::StereoDescriptor;
    case 1:
      return &lumra::lv2::MonoDescriptor;
    default:
      return nullptr;
  }
}
