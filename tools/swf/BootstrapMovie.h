#pragma once

#include <cstdint>
#include <vector>

// The fixed movie the player starts with. It gives the page the variable access Ruffle lacks, through two
// ExternalInterface callbacks that outlive the book replacing _level0:
//   kBootstrapSetCallback(name, value) sets a variable and answers true;
//   kBootstrapGetCallback(name) answers a variable's value.
// Then it loads the book whose URL the page passes as the FlashVars variable kBootstrapBookVariable into
// _level0 (without that variable it only waits), and stops.
namespace swf {

inline constexpr const char* kBootstrapSetCallback = "__qorv_set";
inline constexpr const char* kBootstrapGetCallback = "__qorv_get";
inline constexpr const char* kBootstrapBookVariable = "__qorv_book";

std::vector<std::uint8_t> bootstrapMovie();

} // namespace swf
