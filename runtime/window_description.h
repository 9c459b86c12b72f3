// A window as data: its own properties, one table of controls and one table
// of event bindings. The form runtime builds, draws and dispatches from these
// tables alone; a window's code is the handlers it binds.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace rt {

enum class ControlKind : std::uint8_t {
  Label,             // opaque background, caption
  TransparentLabel,  // caption over what lies beneath
  PictureBox,        // background, border, picture with a display mode
  PictureButton,     // normal / hot / pressed / disabled pictures
  ProgressBar,       // smooth, horizontal, drawn by the runtime
  Timer,             // no window; fires its event every interval (0: never)
  Component,         // no window; an object made by its ComponentType
};

enum class Event : std::uint8_t {
  Created,         // the window: all controls exist, the window is not shown yet
  Clicked,         // picture button
  LeftButtonDown,  // left mouse button pressed over the control
  LeftButtonUp,    // left mouse button released over the control
  Timer,           // a timer's interval has passed
  Progress,        // a component's progress report (event 1 of the archive component)
};

enum class HorizontalAlignment : std::uint8_t { Left, Centre, Right };
enum class VerticalAlignment : std::uint8_t { Top, Centre, Bottom };
enum class Pointer : std::uint8_t { Arrow, Hand };

// Shared by labels, picture boxes and progress bars. The border lies outside
// the client area, as a window frame does: positions of children and drawing
// are relative to what is inside it.
enum class BorderStyle : std::uint8_t {
  None = 0,
  Sunken = 1,
  Raised = 2,
  ThinSunken = 3,
  SunkenRaised = 4,
  SingleLine = 5,
};

enum class DisplayMode : std::uint8_t {
  Natural = 0,  // natural size at the top-left corner, clipped
  Stretch = 1,  // stretched to the whole box, proportions not kept
  Fit = 2,      // centred; scaled down by the smaller ratio when too large
};

// A colour, or the system's default for its role.
inline constexpr COLORREF kDefaultColour = CLR_INVALID;

// A font of its own; without one a control uses the default GUI font. No face
// is named, so the system's default face is used, with the default charset.
struct FontSpec {
  int character_height;  // pixels
  int weight;            // 400 normal, 700 bold
  bool underline;
};

// The bytes of a picture file: JPEG, or an icon file (.ico).
struct PictureData {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

struct MouseArgs {
  std::int32_t x = 0, y = 0;  // within the control's client area
  std::uint32_t keys = 0;     // MK_SHIFT, MK_CONTROL, ... as Windows gives them
};

struct EventArgs {
  MouseArgs mouse;          // mouse events
  std::int32_t value = 0;   // progress reports
};

// The handler bound to an event. It may ignore the event's arguments, take
// the mouse arguments, or take the value (and may then answer a logical value,
// as a component's progress event allows).
class Handler {
 public:
  constexpr Handler() = default;
  constexpr Handler(void (*f)()) : plain_(f) {}
  constexpr Handler(void (*f)(const MouseArgs&)) : mouse_(f) {}
  constexpr Handler(void (*f)(std::int32_t)) : value_(f) {}
  constexpr Handler(std::optional<bool> (*f)(std::int32_t)) : answering_(f) {}

  std::optional<bool> operator()(const EventArgs& args) const {
    if (plain_) plain_();
    if (mouse_) mouse_(args.mouse);
    if (value_) value_(args.value);
    if (answering_) return answering_(args.value);
    return std::nullopt;
  }

 private:
  void (*plain_)() = nullptr;
  void (*mouse_)(const MouseArgs&) = nullptr;
  void (*value_)(std::int32_t) = nullptr;
  std::optional<bool> (*answering_)(std::int32_t) = nullptr;
};

struct WindowDescription;

// Where a component raises its events: its window and its name.
struct ComponentSite {
  const WindowDescription* window;
  const char* control;
  // Calls the handler bound to the event on the calling thread and gives its
  // answer (none when nothing is bound or the handler answers nothing).
  std::optional<bool> Raise(Event event, std::int32_t value) const;
};

// How the runtime makes and ends the object of a component.
struct ComponentType {
  void* (*create)(const ComponentSite& site);
  void (*destroy)(void* instance);
};

struct ControlDescription {
  const char* name;  // the designed name, GBK
  ControlKind kind;
  const char* parent = nullptr;  // a control earlier in the table; nullptr: the window
  int id = 0;                    // control id of its child window, stable per name
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  const char* caption = "";  // labels; the child window's text
  COLORREF text_colour = kDefaultColour;
  COLORREF back_colour = kDefaultColour;
  const FontSpec* font = nullptr;
  BorderStyle border = BorderStyle::None;
  HorizontalAlignment align = HorizontalAlignment::Left;
  VerticalAlignment valign = VerticalAlignment::Centre;  // captions are one line
  Pointer pointer = Pointer::Arrow;
  // Picture box: picture. Picture button: normal picture.
  PictureData picture{};
  PictureData hot_picture{}, pressed_picture{}, disabled_picture{};
  DisplayMode display_mode = DisplayMode::Natural;
  std::int32_t minimum = 0, maximum = 100, position = 0;  // progress bar
  std::uint32_t interval = 0;                             // timer, milliseconds
  const ComponentType* component = nullptr;               // component
};

struct EventBinding {
  const char* control;  // nullptr: the window itself
  Event event;
  Handler handler;
};

struct WindowDescription {
  const char* name;
  const char* title;
  int width, height;  // the window is created centred on the primary screen
  COLORREF background;
  const char* icon_resource;  // nullptr or a missing resource: the default icon
  std::span<const ControlDescription> controls;
  std::span<const EventBinding> bindings;
};

}  // namespace rt
