#include "bookmarks/CodeClass.hpp"

namespace brimtor {

CodeClass ClassOfCode(int code)
{
    switch (code) {
    case 200: case 201: case 202: case 203: case 205: case 206:
        return CodeClass::Success;
    case 300: case 301: case 302: case 303: case 307:
        return CodeClass::Redirect;
    default:
        return CodeClass::Broken;
    }
}

}  // namespace brimtor
