#pragma once

// Who makes Cantorium and how to reach them: shown by the launcher, the about window and the
// maker window, and opened through the desktop shell.
namespace Maker {

inline constexpr const char *kProduct = "Cantorium";
inline constexpr const char *kVersion = "1.0";
inline constexpr const char *kName = "Cantorium Lab";
inline constexpr const char *kWebAddress = "https://www.cantorium.example.org";
inline constexpr const char *kSupportEmail = "aiuto@cantorium.example";

} // namespace Maker
