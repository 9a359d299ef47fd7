// Which entry of the guide's index belongs to the text at the editor's caret: a keyword of the
// editor's keyword list or a formula function, whichever longest name covers the caret (or ends
// right before it, as after typing a word).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trel {

// The topic as the index names it: the keyword without trailing blanks ("IF END", "::") or the
// function's name ("MIDSTR"); empty when the caret is on neither. `column` counts bytes from 0.
std::string helpTopicAt(std::string_view line, size_t column,
                        const std::vector<std::string_view>& functionNames);

}  // namespace trel
