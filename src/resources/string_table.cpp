#include "resources/string_table.h"
#include "rtl/errors.h"

#include "resources/little_endian.h"

namespace trel {

namespace {

[[noreturn]] void damaged(uint32_t entry) {
  throw Error("the string table block is damaged at entry " + std::to_string(entry));
}

struct EntryPlace {
  size_t offset;     // where entry `index` starts, or the block's size when the block ends first
  uint32_t present;  // entries before it that the block holds
};

// Finds entry `index`, checking that every entry before it lies wholly within the block.
EntryPlace findEntry(std::string_view block, uint32_t index) {
  size_t p = 0;
  for (uint32_t k = 0; k < index; ++k) {
    if (p == block.size()) return {p, k};
    if (block.size() - p < 2) damaged(k);
    size_t next = p + 2 + 2 * static_cast<size_t>(readU16(block, p));
    if (next > block.size()) damaged(k);
    p = next;
  }
  return {p, index};
}

}  // namespace

std::u16string toUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<char16_t>(static_cast<uint8_t>(c)));
  return out;
}

std::string fromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t u : text) out.push_back(u <= 0xFF ? static_cast<char>(u) : '?');
  return out;
}

std::string replaceStringEntry(std::string_view block, uint32_t index, std::u16string_view text) {
  if (text.size() > kMaxStringUnits)
    throw Error("a string of " + std::to_string(text.size()) +
                " characters does not fit (at most " + std::to_string(kMaxStringUnits) + ")");
  auto [p, present] = findEntry(block, index);
  std::string out(block.substr(0, p));
  // Entries missing between the block's end and the new one are empty.
  for (; present < index; ++present) appendU16(out, 0);

  appendU16(out, static_cast<uint16_t>(text.size()));
  for (char16_t u : text) appendU16(out, static_cast<uint16_t>(u));
  if (block.size() - p >= 2) {
    size_t tail = p + 2 + 2 * static_cast<size_t>(readU16(block, p));
    if (tail < block.size()) out.append(block.substr(tail));
  }
  return out;
}

std::u16string readStringEntry(std::string_view block, uint32_t index) {
  size_t p = findEntry(block, index).offset;
  if (p == block.size()) return {};
  if (block.size() - p < 2) damaged(index);
  size_t count = readU16(block, p);
  if (2 * count > block.size() - p - 2) damaged(index);
  std::u16string out;
  out.reserve(count);
  for (size_t k = 0; k < count; ++k)
    out.push_back(static_cast<char16_t>(readU16(block, p + 2 + 2 * k)));
  return out;
}

std::string loadString(const std::vector<Resource>& resources, uint32_t number) {
  const Resource* block = findResource(resources, kStringTableResource, stringBlockName(number));
  if (!block) return {};
  return fromUtf16(readStringEntry(block->bytes, stringBlockIndex(number)));
}

std::string fileFailedToLoadMessage(const std::string& fileName) {
  return "file " + fileName + " failed to load.";
}

std::string cannotWriteFileMessage(const std::string& fileName) {
  return "cannot write file " + fileName + ". Please check whether it is open or set read-only.";
}

void WriteStringResource(const std::string& fileName, const std::string& text, int number) {
  if (number < 0) throw Error("string number " + std::to_string(number) + " is negative");

  ExecutableResources file;
  try {
    file = loadExecutableResources(fileName);
  } catch (const ResourceError&) {
    throw Error(fileFailedToLoadMessage(fileName));
  }
  std::string block =
      blockWithString(file.resources, static_cast<uint32_t>(number), text, fileName);
  try {
    ResourceUpdate update(fileName);
    update.write(kStringTableResource, stringBlockName(static_cast<uint32_t>(number)),
                 kNeutralLanguage, std::move(block));
    update.commit();
  } catch (const Error&) {
    throw Error(cannotWriteFileMessage(fileName));
  }
}

std::string blockWithString(const std::vector<Resource>& resources, uint32_t number,
                            const std::string& text, const std::string& fileName) {
  const Resource* old = findResource(resources, kStringTableResource, stringBlockName(number));
  try {
    return replaceStringEntry(old ? std::string_view(old->bytes) : std::string_view(),
                              stringBlockIndex(number), toUtf16(text));
  } catch (const Error& e) {
    throw Error("cannot write string " + std::to_string(number) + " into " + fileName + ": " +
                errorText(e));
  }
}

}  // namespace trel
