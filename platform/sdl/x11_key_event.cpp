#include "platform/sdl/x11_key_event.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace tessaru::platform {

bool ReadX11KeyTime(const SDL_Event& event, X11KeyTime* key) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr) return false;
  const SDL_SysWMmsg& msg = *event.syswm.msg;
  if (msg.subsystem != SDL_SYSWM_X11) return false;
  const XEvent& xevent = msg.msg.x11.event;
  if (xevent.type != KeyPress && xevent.type != KeyRelease) return false;
  key->TimeMs = static_cast<uint32_t>(xevent.xkey.time);
  key->Press = xevent.type == KeyPress;
  return true;
#else
  (void)event;
  (void)key;
  return false;
#endif
}

}  // namespace tessaru::platform
