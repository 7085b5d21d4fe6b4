#pragma once
// Holds one SDL subsystem open for as long as a device needs it. SDL counts each
// subsystem's users itself, so devices (and any other SDL user in the process, such as
// the launcher's forms) start and stop their subsystems independently; nothing here calls
// SDL_Quit, which would pull SDL from under them.
#include <cstdint>
#include <string>

namespace tessaru::platform {

class SdlSubsystem {
 public:
  SdlSubsystem() = default;
  ~SdlSubsystem() { Release(); }
  SdlSubsystem(const SdlSubsystem&) = delete;
  SdlSubsystem& operator=(const SdlSubsystem&) = delete;

  // False with SDL's reason in `error` when the subsystem cannot start.
  bool Acquire(uint32_t flags, std::string* error);
  void Release();
  bool Held() const { return flags_ != 0; }

 private:
  uint32_t flags_ = 0;
};

}  // namespace tessaru::platform
