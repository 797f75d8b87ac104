// The real window on SDL2. The screen memory (ScreenMemory) is converted to 32-bit pixels
// in a streaming texture whenever the screen is shown; the window may be resized freely and
// shows the screen at the largest whole multiple that fits, centred (scaled down to fit when
// the window is smaller than the screen).
#include "core/platform/sdl_platform.h"

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <utility>

#include "core/platform/exit_signals.h"
#include "core/platform/input_mapping.h"
#include "core/platform/pixel_rows.h"
#include "core/platform/present_log.h"
#include "core/platform/screen_memory.h"
#include "core/platform/sdl_display_fd.h"
#include "core/platform/sdl_library.h"
#include "core/platform/window_scale.h"

namespace {

NamedKey namedKeyFor(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_F1:
      return NamedKey::F1;
    case SDLK_F2:
      return NamedKey::F2;
    case SDLK_F3:
      return NamedKey::F3;
    case SDLK_F4:
      return NamedKey::F4;
    case SDLK_F5:
      return NamedKey::F5;
    case SDLK_F6:
      return NamedKey::F6;
    case SDLK_UP:
      return NamedKey::Up;
    case SDLK_DOWN:
      return NamedKey::Down;
    case SDLK_LEFT:
      return NamedKey::Left;
    case SDLK_RIGHT:
      return NamedKey::Right;
    case SDLK_PAGEUP:
      return NamedKey::PageUp;
    case SDLK_PAGEDOWN:
      return NamedKey::PageDown;
    case SDLK_HOME:
      return NamedKey::Home;
    case SDLK_END:
      return NamedKey::End;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return NamedKey::Enter;
    case SDLK_TAB:
      return NamedKey::Tab;
    case SDLK_ESCAPE:
      return NamedKey::Escape;
    case SDLK_BACKSPACE:
      return NamedKey::Backspace;
    default:
      return NamedKey::None;
  }
}

KeyModifiers modifiersOf(Uint16 mod) {
  KeyModifiers m;
  m.leftAlt = (mod & KMOD_LALT) != 0;
  m.rightAlt = (mod & KMOD_RALT) != 0;
  m.ctrl = (mod & KMOD_CTRL) != 0;
  m.shift = (mod & KMOD_SHIFT) != 0;
  m.altGr = (mod & KMOD_MODE) != 0;
  return m;
}

class SdlPlatform final : public ScreenMemory {
 public:
  explicit SdlPlatform(int windowScale) : windowScale_(windowScale) {
    counterStart_ = sdl().GetPerformanceCounter();
    counterPeriod_ = 1.0 / static_cast<double>(sdl().GetPerformanceFrequency());
  }
  ~SdlPlatform() override {
    closeWindow();
    sdl().Quit();
  }

  bool openScreen(int mode, int depth) override;
  void lock() override { clearTextShadow(); }
  void unlock() override { present(); }
  std::string readKey() override;
  bool keyHeld(int scanCode) override;
  MouseReport readMouse() override;
  double seconds() override {
    return static_cast<double>(sdl().GetPerformanceCounter() - counterStart_) * counterPeriod_;
  }
  void sleepMs(int ms) override { sdl().Delay(ms > 0 ? static_cast<Uint32>(ms) : 0); }
  void sleepUntilInput(int ms) override;
  void refresh() override { present(); }
  void setWindowTitle(std::string_view title) override;
  std::string takeDroppedFile() override;

 private:
  void closeWindow();
  void pumpEvents();
  void onWindowEvent(const SDL_WindowEvent& event);
  void fitToWindow();  // whole multiples while at least one fits
  void present();      // converts the screen memory, then shows it
  void show();         // shows the texture as it is

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::string title_ = "KOVRIN";
  int windowScale_ = 0;  // the --scale option, 0 when not given

  KeyBuffer keys_;
  bool exitSignalSeen_ = false;    // the close request for a signal was queued
  std::deque<std::string> drops_;  // files dropped on the window, oldest first

  int pointerX_ = -1, pointerY_ = -1;  // screen pixels, from the mouse events
  ButtonLatch buttons_;
  int wheel_ = 0;

  int displayFd_ = -1;  // the X connection, to wait on while idle; -1: not on X11

  Uint64 counterStart_ = 0;
  double counterPeriod_ = 0.0;
  PresentLog presentLog_ = openPresentLog(std::getenv("KOVRIN_PRESENT_LOG"));
};

bool SdlPlatform::openScreen(int mode, int depth) {
  if (!allocateScreen(mode, depth)) return false;
  closeWindow();
  const int w = info_.width, h = info_.height;
  SDL_DisplayMode desktop{};
  if (sdl().GetDesktopDisplayMode(0, &desktop) != 0) desktop.w = desktop.h = 0;
  const int scale = windowScaleFor(windowScale_, w, h, desktop.w, desktop.h);
  window_ = sdl().CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               w * scale, h * scale, SDL_WINDOW_RESIZABLE);
  if (window_ != nullptr) {
    renderer_ = sdl().CreateRenderer(window_, -1, 0);
    if (renderer_ == nullptr) renderer_ = sdl().CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (renderer_ != nullptr) {
    texture_ =
        sdl().CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
  }
  if (texture_ == nullptr) {
    std::fprintf(stderr, "kovrin: could not open a %dx%d window: %s\n", w, h, sdl().GetError());
    closeWindow();
    return false;
  }
  displayFd_ = displayConnectionFd(window_);
  // Centred at the screen's aspect; this also maps the mouse events back to screen pixels.
  sdl().RenderSetLogicalSize(renderer_, w, h);
  fitToWindow();
  sdl().StartTextInput();
  sdl().EventState(SDL_DROPFILE, SDL_ENABLE);
  present();
  return true;
}

void SdlPlatform::closeWindow() {
  if (texture_ != nullptr) sdl().DestroyTexture(texture_);
  if (renderer_ != nullptr) sdl().DestroyRenderer(renderer_);
  if (window_ != nullptr) sdl().DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  displayFd_ = -1;
}

void SdlPlatform::setWindowTitle(std::string_view title) {
  title_ = std::string(title);
  if (window_ != nullptr) sdl().SetWindowTitle(window_, title_.c_str());
}

// [SECTION] events

void SdlPlatform::pumpEvents() {
  // SIGTERM or SIGHUP: the close request, once, so that a prompt waiting for keys ends too.
  if (exitSignalPending() && !exitSignalSeen_) {
    exitSignalSeen_ = true;
    keys_.closeRequested();
  }
  SDL_Event e;
  while (sdl().PollEvent(&e) != 0) {
    switch (e.type) {
      case SDL_QUIT:
        // The window's close button, the window manager and SIGTERM all end up here.
        keys_.closeRequested();
        break;
      case SDL_KEYDOWN: {
        const SDL_Keycode sym = e.key.keysym.sym;
        const KeyModifiers mods = modifiersOf(e.key.keysym.mod);
        if (sym >= SDLK_a && sym <= SDLK_z)
          keys_.letterPressed(static_cast<char>('a' + (sym - SDLK_a)), mods, e.key.repeat != 0);
        else
          keys_.keyPressed(namedKeyFor(sym), mods, e.key.repeat != 0);
        break;
      }
      case SDL_TEXTINPUT:
        keys_.textTyped(e.text.text);
        break;
      case SDL_MOUSEMOTION:
        presentLog_.noteMotion();
        pointerX_ = e.motion.x;
        pointerY_ = e.motion.y;
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const int bit = e.button.button == SDL_BUTTON_LEFT    ? 1
                        : e.button.button == SDL_BUTTON_RIGHT ? 2
                                                              : 0;
        if (e.type == SDL_MOUSEBUTTONDOWN)
          buttons_.press(bit, e.button.x, e.button.y);
        else
          buttons_.release(bit);
        pointerX_ = e.button.x;
        pointerY_ = e.button.y;
        break;
      }
      case SDL_MOUSEWHEEL: {
        const int step = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        wheel_ += step;
        break;
      }
      case SDL_WINDOWEVENT:
        onWindowEvent(e.window);
        break;
      case SDL_DROPFILE:
        if (e.drop.file != nullptr) {
          if (e.drop.file[0] != '\0') drops_.emplace_back(e.drop.file);
          sdl().free(e.drop.file);
        }
        break;
      default:
        break;
    }
  }
}

void SdlPlatform::onWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      fitToWindow();
      show();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      show();
      break;
    case SDL_WINDOWEVENT_LEAVE:
      if (buttons_.held == 0) pointerX_ = pointerY_ = -1;
      break;
    default:
      break;
  }
}

std::string SdlPlatform::readKey() {
  pumpEvents();
  return keys_.take();
}

std::string SdlPlatform::takeDroppedFile() {
  pumpEvents();
  if (drops_.empty()) return {};
  std::string name = std::move(drops_.front());
  drops_.pop_front();
  return name;
}

bool SdlPlatform::keyHeld(int scanCode) {
  pumpEvents();
  const SDL_Keymod mod = sdl().GetModState();
  switch (scanCode) {
    case kScanAlt:
      return (mod & KMOD_ALT) != 0;
    case kScanLeftShift:
      return (mod & KMOD_LSHIFT) != 0;
    case kScanRightShift:
      return (mod & KMOD_RSHIFT) != 0;
    default:
      return false;
  }
}

// Waits on the X connection itself rather than in SDL_WaitEventTimeout, whose wake-up message
// travels over a second connection and can reach the server after the window is gone (an X
// error that ends the program as it quits). Elsewhere it sleeps the whole time.
void SdlPlatform::sleepUntilInput(int ms) {
  if (displayFd_ < 0) {
    sleepMs(ms);
    return;
  }
  pollfd wait{displayFd_, POLLIN, 0};
  // Waking takes in what arrived at once: SDL_PollEvent stops at the end of the round it
  // pumped, so without this the event would reach the loop only after the next sleep.
  if (::poll(&wait, 1, ms > 0 ? ms : 0) > 0) pumpEvents();
}

MouseReport SdlPlatform::readMouse() {
  pumpEvents();
  const bool focus = window_ != nullptr && sdl().GetMouseFocus() == window_;
  const int pressX = buttons_.pressX, pressY = buttons_.pressY;
  return mouseReportFor(focus, pointerX_, pointerY_, info_.width, info_.height, wheel_,
                        buttons_.read(), pressX, pressY);
}

// [SECTION] output

void SdlPlatform::fitToWindow() {
  if (renderer_ == nullptr) return;
  int ww = 0, wh = 0;
  sdl().GetRendererOutputSize(renderer_, &ww, &wh);
  const bool wholeFits = ww >= info_.width && wh >= info_.height;
  sdl().RenderSetIntegerScale(renderer_, wholeFits ? SDL_TRUE : SDL_FALSE);
}

void SdlPlatform::present() {
  if (texture_ == nullptr) return;
  void* target = nullptr;
  int pitch = 0;
  if (sdl().LockTexture(texture_, nullptr, &target, &pitch) != 0) return;
  uint8_t* out = static_cast<uint8_t*>(target);
  for (int y = 0; y < info_.height; ++y) {
    const uint8_t* row = pixels_.data() + static_cast<size_t>(y) * info_.pitch;
    convertRowToXrgb(
        row, info_.width, info_.depth, palette_,
        static_cast<uint32_t*>(static_cast<void*>(out + static_cast<size_t>(y) * pitch)));
  }
  sdl().UnlockTexture(texture_);
  show();
}

void SdlPlatform::show() {
  if (texture_ == nullptr) return;
  sdl().SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  sdl().RenderClear(renderer_);
  sdl().RenderCopy(renderer_, texture_, nullptr, nullptr);
  sdl().RenderPresent(renderer_);
  presentLog_.presented();
}

}  // namespace

bool usableVideoDriver(std::string_view chosen, std::string_view requested) {
  if (chosen != "offscreen" && chosen != "dummy") return true;
  return requested == chosen;
}

std::unique_ptr<Platform> makeSdlPlatform(int windowScale) {
  if (openSdlLibrary() == nullptr) return nullptr;
  sdl().SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // whole multiples, sharp pixels
  // The frame is drawn here already: showing it needs a copy and a whole-multiple scale, which
  // SDL's software renderer does without loading a GL driver (on a display without a GPU that
  // driver alone is some 90 MB resident and slower). SDL_RENDER_DRIVER and
  // SDL_FRAMEBUFFER_ACCELERATION in the environment still choose otherwise.
  sdl().SetHint(SDL_HINT_RENDER_DRIVER, "software");
  sdl().SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // An editor window: leave the screen saver and the desktop's compositor alone.
  sdl().SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  sdl().SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (sdl().Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "kovrin: could not start SDL video: %s\n", sdl().GetError());
    return nullptr;
  }
  const char* chosen = sdl().GetCurrentVideoDriver();
  const char* requested = std::getenv("SDL_VIDEODRIVER");
  if (!usableVideoDriver(chosen != nullptr ? chosen : "", requested != nullptr ? requested : "")) {
    std::fprintf(stderr,
                 "kovrin: no display to open a window on (SDL fell back on its '%s' video "
                 "driver); set DISPLAY or WAYLAND_DISPLAY\n",
                 chosen);
    sdl().Quit();
    return nullptr;
  }
  return std::make_unique<SdlPlatform>(windowScale);
}
