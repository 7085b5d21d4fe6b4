// Measures how far key-press stamps are from the moment the key was sent, against a real
// X server. A second thread sends presses through XTEST while the main loop pumps events
// continuously and presents a full frame every few milliseconds, as the game does.
// Prints the error of the pump stamp alone and of the stamp refined with the X time.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <time.h>
#include <vector>

#include "platform/platform.h"

namespace {

using FakeKeyEvent = int (*)(Display*, unsigned int, int, unsigned long);

struct Stats {
  double median, p90, p99, max, min;
};

Stats Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  auto at = [&](double q) {
    const size_t i = std::min(values.size() - 1, static_cast<size_t>(q * static_cast<double>(values.size())));
    return values[i];
  };
  return {at(0.5), at(0.9), at(0.99), values.back(), values.front()};
}

void Print(const char* name, const std::vector<double>& values) {
  if (values.empty()) return;
  const Stats s = Summarise(values);
  std::printf("%-28s median %6.2f  p90 %6.2f  p99 %6.2f  max %6.2f  min %6.2f ms\n", name, s.median,
              s.p90, s.p99, s.max, s.min);
}

// Tells a slow present that works from one that waits (for the CPU, for the X server).
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  int presses = 200;
  int presentEveryMs = 16;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--presses") == 0) presses = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--present-ms") == 0) presentEveryMs = std::atoi(argv[i + 1]);
  }
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "needs an X server (DISPLAY)\n");
    return 2;
  }
  void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
  auto fakeKey = xtst != nullptr ? reinterpret_cast<FakeKeyEvent>(dlsym(xtst, "XTestFakeKeyEvent")) : nullptr;
  if (fakeKey == nullptr) {
    std::fprintf(stderr, "libXtst.so.6 not found\n");
    return 2;
  }

  using namespace tessaru::platform;
  std::unique_ptr<Platform> platform = CreateSdlPlatform();
  VideoConfig config;
  config.Title = "key stamp probe";
  if (!platform->video->Open(config)) {
    std::fprintf(stderr, "video: %s\n", platform->video->LastError().c_str());
    return 1;
  }
  Clock& clock = *platform->clock;

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  // With no window manager the keyboard follows the pointer: put it on the centred window.
  const int screen = DefaultScreen(display);
  XWarpPointer(display, None, RootWindow(display, screen), 0, 0, 0, 0,
               DisplayWidth(display, screen) / 2, DisplayHeight(display, screen) / 2);
  XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
  XFlush(display);
  const unsigned int keycode = XKeysymToKeycode(display, XK_a);

  std::vector<double> sent;
  std::vector<double> bracket;
  std::atomic<bool> done{false};
  std::thread sender([&] {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> gap(25, 55);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (int i = 0; i < presses; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
      const double before = clock.NowMs();
      fakeKey(display, keycode, True, 0);
      XFlush(display);
      const double after = clock.NowMs();
      // The press left between the two readings; a wide bracket means this thread was
      // descheduled there, and the sample says nothing about the stamps.
      sent.push_back(before);
      bracket.push_back(after - before);
      std::this_thread::sleep_for(std::chrono::milliseconds(8));
      fakeKey(display, keycode, False, 0);
      XFlush(display);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    done = true;
  });

  std::vector<uint16_t> frame(640 * 480);
  std::vector<KeyEvent> pressed;
  std::vector<double> presentMs;
  std::vector<double> presentCpuMs;
  double lastPresent = -1e9;
  uint16_t shade = 0;
  while (!done) {
    platform->input->Pump();
    for (const KeyEvent& event : platform->input->TakeKeyEvents()) {
      if (event.Down && event.VirtualKey == 0x41) pressed.push_back(event);
    }
    const double now = clock.NowMs();
    if (now - lastPresent >= presentEveryMs) {
      std::fill(frame.begin(), frame.end(), shade);
      shade = static_cast<uint16_t>(shade + 0x0841);
      const double before = clock.NowMs();
      const double cpuBefore = ThreadCpuMs();
      platform->video->Present(frame.data(), 640, 480, 640);
      presentMs.push_back(clock.NowMs() - before);
      presentCpuMs.push_back(ThreadCpuMs() - cpuBefore);
      lastPresent = now;
    }
    std::this_thread::yield();
  }
  sender.join();

  std::printf("presses sent %zu, seen %zu, present every %d ms\n", sent.size(), pressed.size(),
              presentEveryMs);
  const size_t n = std::min(sent.size(), pressed.size());
  std::vector<double> stampError, refinedError;
  int refined = 0;
  int dropped = 0;
  for (size_t i = 0; i < n; ++i) {
    if (bracket[i] > 0.25) {
      ++dropped;
      continue;
    }
    stampError.push_back(pressed[i].ArrivalMs - sent[i]);
    refinedError.push_back(pressed[i].TimeMs - sent[i]);
    if (pressed[i].TimeMs < pressed[i].ArrivalMs) ++refined;
  }
  std::printf("dropped (sender descheduled while sending): %d\n", dropped);
  std::printf("stamps moved earlier by the X time: %d of %zu\n", refined, n - static_cast<size_t>(dropped));
  Print("event-watch stamp - sent", stampError);
  Print("refined stamp - sent", refinedError);
  Print("present duration", presentMs);
  Print("present CPU time (this thread)", presentCpuMs);
  XCloseDisplay(display);
  return 0;
}
