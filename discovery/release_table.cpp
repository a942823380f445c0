#include "discovery/release_table.h"

namespace discovery {

const ReleaseRow* FindReleaseByIndex(int releaseIndex) {
  if (releaseIndex < 0 || releaseIndex >= static_cast<int>(kReleaseCount)) {
    return nullptr;
  }
  return &kReleaseTable[static_cast<std::size_t>(releaseIndex)];
}

const ReleaseRow* FindReleaseByYear(int releaseYear) {
  for (const ReleaseRow& row : kReleaseTable) {
    if (row.releaseYear == releaseYear) {
      return &row;
    }
  }
  return nullptr;
}

}  // namespace discovery
