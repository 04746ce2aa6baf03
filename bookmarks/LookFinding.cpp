#include "bookmarks/LookFinding.hpp"

#include <algorithm>
#include <iterator>

namespace brimtor {

namespace {

struct FindingText {
    LookVerdict verdict;
    std::string_view word;
    std::string_view evidence;
};

constexpr FindingText kFindingTexts[] = {
    {LookVerdict::Parked, "parked", "the domain is parked (for sale)"},
    {LookVerdict::NotFoundPage, "not-found-page", "the site says the page cannot be found"},
    {LookVerdict::HomePage, "home-page", "the link now leads to the site's home page"},
    {LookVerdict::ServerDefaultPage, "server-default-page", "the server shows its default page"},
    {LookVerdict::Suspended, "suspended", "the hosting account is suspended"},
};

const FindingText* TextOf(LookVerdict verdict)
{
    const auto found = std::find_if(std::begin(kFindingTexts), std::end(kFindingTexts),
                                    [&](const FindingText& text) { return text.verdict == verdict; });
    return found == std::end(kFindingTexts) ? nullptr : found;
}

}  // namespace

std::string_view LookVerdictWord(LookVerdict verdict)
{
    const FindingText* text = TextOf(verdict);
    return text ? text->word : std::string_view();
}

std::string_view LookVerdictEvidence(LookVerdict verdict)
{
    const FindingText* text = TextOf(verdict);
    return text ? text->evidence : std::string_view();
}

}  // namespace brimtor
