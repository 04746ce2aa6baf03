#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/Outcome.hpp"

namespace brimtor {

// What putting a backup back did; its failure says why the source was left as it was.
struct Restored {
    std::int32_t bookmarks = 0;            // put back from the backup
    std::vector<std::string> notRestored;  // "News/a.url: why", each left as it is now
    std::string backup;                    // the copy of the state replaced; empty when nothing was
};

using RestoreOutcome = Outcome<Restored>;

}  // namespace brimtor
