#pragma once
// The maker's web sites, written without "www.". Menu captions, labels and link
// addresses are built from these; the link builder relies on the German hosts
// ending in ".de" and the English ones in ".com".

namespace tonfang {

inline constexpr char HOST_DE[] = "tonfang-quellwerk.de";
inline constexpr char HOST_EN[] = "tonfang-quellwerk.com";
inline constexpr char HOST2_DE[] = "quellwerk-farben.de";
inline constexpr char HOST2_EN[] = "quellwerk-colours.com";

} // namespace tonfang
