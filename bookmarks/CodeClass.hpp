#pragma once

// How a link's response code reads: the scan's second pass, the results' icons and the
// cleaning marks all go by it.
namespace brimtor {

enum class CodeClass { Success, Redirect, Broken };

// 200, 201, 202, 203, 205, 206 succeed; 300, 301, 302, 303, 307 redirect; every other code,
// including 0, 204 and 304, counts as broken.
CodeClass ClassOfCode(int code);

}  // namespace brimtor
