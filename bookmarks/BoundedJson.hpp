#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "support/Outcome.hpp"

namespace brimtor {

// JSON that keeps every object's keys in the order the file has them.
using OrderedJson = nlohmann::ordered_json;

// The JSON text as a tree, built in one pass without recursion and without copying a value once
// it is built, or why not, in words that follow the file's name: "is not valid JSON", "nests
// deeper than the browser reads" (refused as soon as objects and arrays nest deeper than
// kMaxNesting, before any more is built), "repeats a key within one object" (which of the two the browser would take
// is not worth guessing when the file will be written back).
Outcome<OrderedJson> ParseBoundedJson(const std::string& text);

}  // namespace brimtor
