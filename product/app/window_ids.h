#pragma once
// What other programs (the installer's end-to-end tests) can read from the
// product's window: its title and the texts of these child controls.
namespace dormivet {
inline constexpr char kWindowTitle[] = "Dormivet";
inline constexpr int kWorkingDirectoryId = 101;  // exactly the current directory
inline constexpr int kCommandLineId = 102;       // exactly GetCommandLineA()
inline constexpr int kGreetingId = 103;          // the greeting from the settings
}  // namespace dormivet
