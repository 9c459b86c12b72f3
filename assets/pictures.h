#pragma once
#include <cstddef>
namespace assets {
struct Picture { const unsigned char* data; std::size_t size; };   // the file's bytes
extern const Picture InstallButtonNormal;   // JPEG 220x80, the install button at rest
extern const Picture InstallButtonHot;      // JPEG 220x80, under the mouse pointer
extern const Picture DoneButtonPicture;     // JPEG 220x80, the completion picture (完成)
extern const Picture Logo;                  // JPEG 424x534
extern const Picture CloseButtonNormal;     // JPEG 27x22
extern const Picture CloseButtonHot;        // JPEG 27x22
extern const Picture CloseButtonPressed;    // JPEG 27x22
extern const Picture Logo2;                 // JPEG 250x256
extern const Picture IconPicture48;         // .ico file bytes, one 48x48 32-bit image
}
