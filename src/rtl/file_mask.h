// The file-name mask matcher: "*" matches any run of characters, "?" any one character, and a
// bracketed set one character of the set ("[a-z_]", "[!0-9]" for any but those). Letters match
// without regard to case.
#pragma once

#include <string_view>

namespace trel {

// Throws trel::Error "Invalid mask: '...'" for a set that is not closed or holds nothing.
bool matchesMask(std::string_view text, std::string_view mask);

}  // namespace trel
