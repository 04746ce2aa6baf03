#include "engine/PageLikeness.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <vector>

#include "engine/LookAddress.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

using WordSet = std::set<std::string, std::less<>>;

// "%XX" read as the byte it stands for; a "%" without two hex digits stays.
std::string PercentDecoded(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0
            && HexDigitValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::vector<std::string_view> SplitWords(std::string_view words)
{
    std::vector<std::string_view> list;
    while (!words.empty()) {
        const std::size_t blank = words.find(' ');
        list.push_back(words.substr(0, blank));
        words = blank == std::string_view::npos ? std::string_view() : words.substr(blank + 1);
    }
    return list;
}

// The words a page may repeat from the address it was asked for.
void AddAddressWords(const PageLook& look, WordSet& words)
{
    const std::optional<LookAddress> address = LookAddress::Parse(look.requestedUrl);
    if (!address)
        return;
    const std::string asked = address->path + address->query;
    for (const std::string& form : {MatchingWords(asked), MatchingWords(PercentDecoded(asked))})
        for (std::string_view word : SplitWords(form))
            words.emplace(word);
}

std::uint64_t Fnv1a(std::string_view a, std::string_view b)
{
    std::uint64_t hash = 14695981039346656037ULL;
    const auto add = [&](std::string_view bytes) {
        for (char c : bytes)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    };
    add(a);
    add(" ");
    add(b);
    return hash;
}

// The page's two-word shingles, sorted and without repeats; a page of one word is its own.
std::vector<std::uint64_t> Shingles(const PageText& page, const WordSet& ignored)
{
    std::vector<std::string_view> words;
    for (const std::string* part : {&page.title, &page.text})
        for (std::string_view word : SplitWords(*part))
            if (!ignored.contains(word))
                words.push_back(word);
    std::vector<std::uint64_t> shingles;
    if (words.size() == 1)
        shingles.push_back(Fnv1a(words[0], {}));
    for (std::size_t i = 1; i < words.size(); ++i)
        shingles.push_back(Fnv1a(words[i - 1], words[i]));
    std::sort(shingles.begin(), shingles.end());
    shingles.erase(std::unique(shingles.begin(), shingles.end()), shingles.end());
    return shingles;
}

}  // namespace

double PageLikeness(const PageLook& a, const PageText& aPage, const PageLook& b, const PageText& bPage)
{
    WordSet ignored;
    AddAddressWords(a, ignored);
    AddAddressWords(b, ignored);
    const std::vector<std::uint64_t> first = Shingles(aPage, ignored);
    const std::vector<std::uint64_t> second = Shingles(bPage, ignored);
    if (first.empty() && second.empty())
        return 1.0;
    std::vector<std::uint64_t> common;
    std::set_intersection(first.begin(), first.end(), second.begin(), second.end(), std::back_inserter(common));
    const std::size_t together = first.size() + second.size() - common.size();
    return static_cast<double>(common.size()) / static_cast<double>(together);
}

bool SameKindOfPage(const PageLook& link, const PageText& linkPage, const PageLook& probe, const PageText& probePage)
{
    if (!link.Answered2xx() || !probe.Answered2xx())
        return false;
    return SameAddress(link.Landed(), probe.Landed())
        || PageLikeness(link, linkPage, probe, probePage) >= kSameKindLikeness;
}

}  // namespace brimtor
