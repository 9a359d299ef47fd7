// String-table blocks and WriteStringResource.
//
// Strings are kept in blocks of 16: string number s lies in the block named s / 16 + 1 (a string
// table resource, type 6) as entry s % 16. A block is its entries one after another, with no
// header and no gaps: each a 16-bit little-endian count of UTF-16 code units, then those code
// units, little-endian, with no terminating zero; an empty entry is the two bytes 00 00. A block
// holds the entries from 0 up to the last one present, so it may end before entry 15.
//
// Texts here are bytes, and each byte is one code unit (0 to 255) of the UTF-16 text, so any text
// goes in and comes back unchanged; a code unit above 255 comes back as "?".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resources.h"

namespace trel {

inline constexpr uint32_t kStringsPerBlock = 16;
inline constexpr size_t kMaxStringUnits = 0xFFFF;  // what the 16-bit count can hold

inline uint32_t stringBlockName(uint32_t number) {
  return number / kStringsPerBlock + 1;
}
inline uint32_t stringBlockIndex(uint32_t number) {
  return number % kStringsPerBlock;
}

std::u16string toUtf16(std::string_view text);
std::string fromUtf16(std::u16string_view text);

// The block with entry `index` replaced by `text`: the entries before it kept (missing ones added
// empty), the bytes after the old entry kept as they are. Throws trel::Error when the block is
// damaged before the entry (an entry runs past its end, an odd byte at its end) or when the text
// has more code units than a count can hold.
std::string replaceStringEntry(std::string_view block, uint32_t index, std::u16string_view text);

// Entry `index` of a block; empty when the block ends before it. Throws trel::Error for a damaged
// block.
std::u16string readStringEntry(std::string_view block, uint32_t index);

// String `number` of a set of resources, looked up without naming a language; empty when the
// block or the entry is missing. Throws trel::Error for a damaged block.
std::string loadString(const std::vector<Resource>& resources, uint32_t number);

// The two errors of WriteStringResource, also raised by Build exe when its copy fails.
std::string fileFailedToLoadMessage(const std::string& fileName);
std::string cannotWriteFileMessage(const std::string& fileName);

// Replaces string `number` of the executable `fileName` by `text`, in the language-neutral block,
// keeping every other resource and every other entry of the block. Throws trel::Error: "file %s
// failed to load." when the file's resources cannot be read, "cannot write file %s. ..." when the
// file cannot be written; in both cases the file is unchanged.
void WriteStringResource(const std::string& fileName, const std::string& text, int number);

// The string block that holds string `number` = `text` beside the other entries of the block the
// resources hold now (found without naming a language); throws trel::Error naming `fileName` for
// a damaged block.
std::string blockWithString(const std::vector<Resource>& resources, uint32_t number,
                            const std::string& text, const std::string& fileName);

}  // namespace trel
