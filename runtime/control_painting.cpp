#include "runtime/control_painting.h"

#include <string>

#include "runtime/display_mode.h"
#include "runtime/form.h"
#include "runtime/progress_range.h"
#include "runtime/scoped.h"

namespace rt {

namespace {

COLORREF ColourOr(COLORREF colour, int system_colour) {
  return colour == kDefaultColour ? GetSysColor(system_colour) : colour;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  const Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

// One line, aligned as described.
UINT TextFormat(const ControlDescription& d) {
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;  // "&" is a character; text may pass the edge
  format |= d.align == HorizontalAlignment::Centre ? DT_CENTER
            : d.align == HorizontalAlignment::Right ? DT_RIGHT
                                                    : DT_LEFT;
  format |= d.valign == VerticalAlignment::Centre ? DT_VCENTER
            : d.valign == VerticalAlignment::Bottom ? DT_BOTTOM
                                                    : DT_TOP;
  return format;
}

// The caption in the text colour with a transparent text background.
void DrawCaption(const ControlInstance& control, HDC dc, RECT rect) {
  const ControlDescription& d = *control.description;
  std::string caption(static_cast<std::size_t>(GetWindowTextLengthA(control.window)) + 1, '\0');
  const int length = GetWindowTextA(control.window, caption.data(), static_cast<int>(caption.size()));
  if (length <= 0) return;
  HFONT font = control.own_font ? control.own_font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const Selection selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColourOr(d.text_colour, COLOR_BTNTEXT));
  DrawTextA(dc, caption.data(), length, &rect, TextFormat(d));
}

void PaintLabel(const ControlInstance& control, HDC dc, const RECT& client) {
  Fill(dc, client, ColourOr(control.description->back_colour, COLOR_BTNFACE));
  DrawCaption(control, dc, client);
}

void PaintPictureBox(const ControlInstance& control, HDC dc, const RECT& client) {
  const ControlDescription& d = *control.description;
  Fill(dc, client, ColourOr(d.back_colour, COLOR_BTNFACE));
  const Picture& picture = control.PictureIn(PictureSlot::Normal);
  if (picture.Empty()) return;
  const RECT target = PictureRect(d.display_mode, client.right, client.bottom, picture.Width(), picture.Height());
  picture.Draw(dc, target);
}

// What lies beneath a transparent label is its parent's own drawing: that is
// drawn first, shifted so the label's client area shows its part of it.
void PaintTransparentLabel(const ControlInstance& control, HDC dc, const RECT& client) {
  const Form& form = *control.form;
  const ControlInstance* parent = form.Parent(control);
  HWND parent_window = parent ? parent->window : form.Handle();
  POINT origin{0, 0};
  MapWindowPoints(control.window, parent_window, &origin, 1);
  RECT parent_client;
  GetClientRect(parent_window, &parent_client);
  POINT previous;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  if (parent) {
    PaintControl(*parent, dc, parent_client);
  } else {
    form.PaintBackground(dc, parent_client);
  }
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
  DrawCaption(control, dc, client);
}

// Black first, then the state's picture at its natural size, top-left.
void PaintPictureButton(const ControlInstance& control, HDC dc, const RECT& client) {
  Fill(dc, client, RGB(0, 0, 0));
  const Picture& picture = ButtonPicture(control);
  if (!picture.Empty()) picture.Draw(dc, {0, 0, picture.Width(), picture.Height()});
}

void PaintProgressBar(const ControlInstance& control, HDC dc, const RECT& client) {
  Fill(dc, client, GetSysColor(COLOR_BTNFACE));
  const int filled = ProgressFillWidth(client.right, control.minimum, control.maximum, control.position);
  if (filled > 0) Fill(dc, {0, 0, filled, client.bottom}, GetSysColor(COLOR_HIGHLIGHT));
}

}  // namespace

const Picture& ButtonPicture(const ControlInstance& button) {
  const Picture& normal = button.PictureIn(PictureSlot::Normal);
  if (!IsWindowEnabled(button.window) && !button.PictureIn(PictureSlot::Disabled).Empty()) {
    return button.PictureIn(PictureSlot::Disabled);
  }
  const PictureSlot slot = button.button_state == ButtonState::Hot       ? PictureSlot::Hot
                           : button.button_state == ButtonState::Pressed ? PictureSlot::Pressed
                                                                         : PictureSlot::Normal;
  const Picture& own = button.PictureIn(slot);
  return own.Empty() ? normal : own;
}

void PaintControl(const ControlInstance& control, HDC dc, const RECT& client) {
  switch (control.description->kind) {
    case ControlKind::Label:
      return PaintLabel(control, dc, client);
    case ControlKind::TransparentLabel:
      return PaintTransparentLabel(control, dc, client);
    case ControlKind::PictureBox:
      return PaintPictureBox(control, dc, client);
    case ControlKind::PictureButton:
      return PaintPictureButton(control, dc, client);
    case ControlKind::ProgressBar:
      return PaintProgressBar(control, dc, client);
    case ControlKind::Timer:
    case ControlKind::Component:
      return;
  }
}

}  // namespace rt
