// The parts of the log lines the common instructions write, spelled once for their handlers and
// for the decoded steps (line_cache.cpp), which write the same lines from texts put together once.
#pragma once

#include <string_view>

namespace trel::steplog {

inline constexpr std::string_view kMoving = "Moving [";
inline constexpr std::string_view kAdding = "Adding (+) [";
inline constexpr std::string_view kSubtracting = "Substract (-) [";
inline constexpr std::string_view kMultiplying = "Multiply (*) [";
inline constexpr std::string_view kComparing = "Compare (=) [";
inline constexpr std::string_view kTo = "] to [";
inline constexpr std::string_view kClose = "]";
inline constexpr std::string_view kIs = " is ";
inline constexpr std::string_view kResult = "RESULT [";
inline constexpr std::string_view kJumping = "JUMPING: ";

}  // namespace trel::steplog
