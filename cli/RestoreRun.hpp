#pragma once

#include <iosfwd>
#include <string>

namespace brimtor {

// brimtor-check --restore: puts the backup back where its record says it was taken from, after
// asking unless `yes`, and prints the backup of what it replaced and what it put back, or why
// nothing was put back. True when everything the backup holds went back.
bool RunRestore(const std::string& backup, bool yes, std::istream& in, std::ostream& err);

}  // namespace brimtor
