#pragma once
// telvora's version, shown in the about window and the titles.

namespace telvora {

inline constexpr char kVersion[] = "1.21.21";

}  // namespace telvora
