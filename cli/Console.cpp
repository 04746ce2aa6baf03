#include "cli/Console.hpp"

#include <istream>
#include <ostream>

#include <unistd.h>

#include "support/Text.hpp"

namespace brimtor {

bool IsTerminal(int descriptor)
{
    return isatty(descriptor) == 1;
}

bool AnsweredYes(const std::string& question, std::istream& in, std::ostream& err)
{
    err << question << " [y/N] " << std::flush;
    std::string answer;
    std::getline(in, answer);
    answer = ToLowerAscii(TrimSpaces(answer));
    return answer == "y" || answer == "yes";
}

}  // namespace brimtor
