#pragma once
// The UI's own window: a child of the host's window on a display connection of its own, which
// takes 32-bit surfaces in whatever TrueColor format its visual has.

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gui/fdib.h"

namespace lumra::lv2ui {

class XChildWindow {
 public:
  // Opens the display named by DISPLAY and maps a width x height window at the parent's
  // top-left corner. Throws std::runtime_error when there is no display, no such parent or no
  // TrueColor visual.
  XChildWindow(Window parent, std::int32_t width, std::int32_t height);
  ~XChildWindow();
  XChildWindow(const XChildWindow&) = delete;
  XChildWindow& operator=(const XChildWindow&) = delete;

  Window Id() const { return window_; }

  // Whether the window and all its ancestors are mapped.
  bool Viewable() const;

  // Puts the colours of surface (its alpha is no part of the picture) with its top-left corner
  // at (x, y), and sends the request on its way.
  void Put(const TFDIB& surface, std::int32_t x, std::int32_t y);

  // Takes the next event queued for the window; false when there is none.
  bool NextEvent(XEvent& event);
  // Drops every further pointer motion already queued, leaving the latest in event.
  void SkipToLatestMotion(XEvent& event);

 private:
  struct DisplayClose {
    void operator()(Display* display) const { XCloseDisplay(display); }
  };

  std::unique_ptr<Display, DisplayClose> display_;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  Colormap colormap_ = None;  // only when the visual is not the parent's
  Window window_ = None;
  GC gc_ = nullptr;
  std::vector<std::uint32_t> imageWords_;  // the pixels of the image being put
};

}  // namespace lumra::lv2ui
