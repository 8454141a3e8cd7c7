#pragma once
// The editor window as the entry points see it. The Windows library creates one on the thread
// that loaded it; the Linux tools have none.

namespace lumra::plugin {

class EditorView {
 public:
  virtual ~EditorView() = default;
  // Shows the window and brings it up; the window turns the meter on and paints.
  virtual void Show() = 0;
  // Hides the window; the window turns the meter off.
  virtual void Hide() = 0;
  // The parameter block was replaced: repaint if visible.
  virtual void ParametersChanged() = 0;
  // CaptionText changed: the caption follows at once, shown or not.
  virtual void CaptionChanged() = 0;
};

}  // namespace lumra::plugin
