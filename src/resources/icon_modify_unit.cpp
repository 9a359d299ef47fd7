#include "resources/icon_modify_unit.h"

#include <climits>

#include "resources/resources.h"

namespace trel {

bool TIconModifier::ChangeIcon(int sourceIndex, int destIndex) {
  if (sourceIndex < 0 || destIndex < 0 || sourceIndex == INT_MAX || destIndex == INT_MAX)
    return false;
  try {
    ExecutableResources source = loadExecutableResources(sourceFile_);
    const Resource* image = source.find(kIconResource, static_cast<uint32_t>(sourceIndex) + 1);
    if (!image) return false;
    ResourceUpdate update(destFile_);
    update.write(kIconResource, static_cast<uint32_t>(destIndex) + 1, kNeutralLanguage,
                 image->bytes);
    update.commit();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace trel
