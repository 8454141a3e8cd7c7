#include "lv2/ui/x_window.h"

#include <X11/Xutil.h>

#include <bit>
#include <new>
#include <stdexcept>

namespace lumra::lv2ui {
namespace {

struct ImageRelease {
  // The pixels belong to the window's buffer, not to Xlib.
  void operator()(XImage* image) const {
    image->data = nullptr;
    XDestroyImage(image);
  }
};

// One colour channel of the visual: where its bits sit and how many there are.
struct Channel {
  int Shift = 0;
  int Bits = 0;

  explicit Channel(unsigned long mask)
      : Shift(mask != 0 ? std::countr_zero(mask) : 0), Bits(std::popcount(mask)) {}

  unsigned long Place(std::uint32_t value8) const {
    const unsigned long scaled =
        Bits <= 8 ? value8 >> (8 - Bits) : static_cast<unsigned long>(value8) << (Bits - 8);
    return scaled << Shift;
  }
};

constexpr std::uint32_t RgbMask = 0xFFFFFF;

// The bits of a pixel no channel uses: an alpha channel on a 32-deep visual, set opaque.
unsigned long OpaqueBits(const XImage& image) {
  if (image.depth != 32) return 0;
  return ~(image.red_mask | image.green_mask | image.blue_mask) & 0xFFFFFFFFul;
}

// The surface's own 0x??RRGGBB words are the image's pixels as they stand.
bool SameLayout(const XImage& image) {
  constexpr int nativeOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  return image.bits_per_pixel == 32 && image.byte_order == nativeOrder &&
         image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 && image.blue_mask == 0xFF;
}

// words: the image's data, bytes_per_line a multiple of 4 at 32 bits per pixel.
void Convert(const TFDIB& surface, XImage& image, std::uint32_t* words) {
  const unsigned long opaque = OpaqueBits(image);
  if (SameLayout(image)) {
    for (std::int32_t y = 0; y < surface.Height(); ++y) {
      std::uint32_t* row = words + static_cast<std::ptrdiff_t>(y) * (image.bytes_per_line / 4);
      for (const TPixel p : surface.ScanLine(y))
        *row++ = (p & RgbMask) | static_cast<std::uint32_t>(opaque);
    }
    return;
  }
  const Channel red(image.red_mask), green(image.green_mask), blue(image.blue_mask);
  for (std::int32_t y = 0; y < surface.Height(); ++y) {
    std::int32_t x = 0;
    for (const TPixel p : surface.ScanLine(y))
      XPutPixel(&image, x++, y,
                red.Place((p >> 16) & 0xFF) | green.Place((p >> 8) & 0xFF) | blue.Place(p & 0xFF) |
                    opaque);
  }
}

}  // namespace

XChildWindow::XChildWindow(Window parent, std::int32_t width, std::int32_t height)
    : display_(XOpenDisplay(nullptr)) {
  if (!display_) throw std::runtime_error("the X display cannot be opened");
  Display* display = display_.get();

  XWindowAttributes parentAttributes{};
  if (XGetWindowAttributes(display, parent, &parentAttributes) == 0)
    throw std::runtime_error("the host's parent window cannot be read");
  XSetWindowAttributes attributes{};
  unsigned long valueMask = CWEventMask | CWBorderPixel | CWBackPixmap;
  if (parentAttributes.visual->c_class == TrueColor) {
    visual_ = parentAttributes.visual;
    depth_ = parentAttributes.depth;
  } else {
    // A child may have a visual of its own, with a colour map to match.
    XVisualInfo info{};
    if (XMatchVisualInfo(display, XScreenNumberOfScreen(parentAttributes.screen), 24, TrueColor,
                         &info) == 0)
      throw std::runtime_error("the X display has no TrueColor visual");
    visual_ = info.visual;
    depth_ = info.depth;
    colormap_ = XCreateColormap(display, parent, visual_, AllocNone);
    attributes.colormap = colormap_;
    valueMask |= CWColormap;
  }
  // No background: every exposed pixel is put from the face, without a flash of colour first.
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.event_mask =
      ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask | LeaveWindowMask;
  window_ = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, depth_, InputOutput, visual_, valueMask,
                          &attributes);
  gc_ = XCreateGC(display, window_, 0, nullptr);
  XMapWindow(display, window_);
  XFlush(display);
}

XChildWindow::~XChildWindow() {
  Display* display = display_.get();
  XFreeGC(display, gc_);
  XDestroyWindow(display, window_);
  if (colormap_ != None) XFreeColormap(display, colormap_);
  XSync(display, False);
}

bool XChildWindow::Viewable() const {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display_.get(), window_, &attributes) != 0 &&
         attributes.map_state == IsViewable;
}

void XChildWindow::Put(const TFDIB& surface, std::int32_t x, std::int32_t y) {
  const std::int32_t width = surface.Width(), height = surface.Height();
  if (width <= 0 || height <= 0) return;
  Display* display = display_.get();
  std::unique_ptr<XImage, ImageRelease> image(
      XCreateImage(display, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                   static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0));
  if (!image) throw std::bad_alloc();
  const std::size_t bytes =
      static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height);
  imageWords_.resize((bytes + 3) / 4);
  image->data = reinterpret_cast<char*>(imageWords_.data());
  Convert(surface, *image, imageWords_.data());
  XPutImage(display, window_, gc_, image.get(), 0, 0, x, y, static_cast<unsigned>(width),
            static_cast<unsigned>(height));
  XFlush(display);
}

bool XChildWindow::NextEvent(XEvent& event) {
  Display* display = display_.get();
  while (XPending(display) > 0) {
    XNextEvent(display, &event);
    if (event.xany.window == window_) return true;
  }
  return false;
}

void XChildWindow::SkipToLatestMotion(XEvent& event) {
  Display* display = display_.get();
  XEvent next;
  while (XEventsQueued(display, QueuedAlready) > 0) {
    XPeekEvent(display, &next);
    if (next.type != MotionNotify || next.xmotion.window != window_) return;
    XNextEvent(display, &event);
  }
}

}  // namespace lumra::lv2ui
