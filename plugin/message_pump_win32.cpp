#include "plugin/message_pump.h"

#include <windows.h>

namespace lumra::plugin {

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  SwitchToThread();
}

}  // namespace lumra::plugin
