#include "stage/play/play_devices.h"

#include "core/file_access.h"
#include "core/paths.h"

#include "persist/key_settings.h"

namespace tessaru {

std::unique_ptr<PlayDevices> OpenPlayDevices(bool headless, bool fullScreen, const std::string& dataPath,
                                             std::string& error) {
  auto d = std::make_unique<PlayDevices>();
  if (headless) {
    auto h = platform::CreateHeadlessPlatform();
    d->Platform = std::move(h.platform);
    d->Headless = h.control;
  } else {
    d->Platform = platform::CreateSdlPlatform();
  }
  if (!d->Platform) {
    error = "no platform backend";
    return nullptr;
  }
  platform::Platform& p = *d->Platform;
  d->Graph = std::make_unique<GraphLib>(*p.video, *p.clock, d->Errors);
  d->Sound = std::make_unique<SoundLib>(*p.audio, *p.clock);
  d->Input = std::make_unique<InputLib>(*p.input, *p.clock);
  d->Graph->SetDataPath(dataPath);
  InputLib* input = d->Input.get();
  d->Graph->SetMessagePump([input] { input->PollInput(); });
  if (!d->Graph->InitDirectDraw(fullScreen, 0)) {
    error = "the display could not be opened: " + p.video->LastError();
    return nullptr;
  }
  if (!d->Sound->OpenSound(1)) {
    error = "the sound output could not be opened: " + p.audio->LastError();
    return nullptr;
  }
  d->Input->InitInput(true);
  DefaultKeySettings(d->Input->KeyMap());
  // The stage's captions in the system font, when the data folder has it.
  if (FileExists(JoinLogical(dataPath, "\\image\\sysfont.zxg"))) d->Graph->LoadSystemFont(d->Graph->NewSurface(0, 0));
  return d;
}

}  // namespace tessaru
