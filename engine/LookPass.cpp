#include "engine/LookPass.hpp"

#include <map>
#include <random>
#include <utility>

#include "engine/LookAddress.hpp"
#include "engine/LookVerdict.hpp"
#include "engine/ScanRules.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

namespace {

ProbeLetters& LettersSource()
{
    static ProbeLetters source;
    return source;
}

std::string Letters()
{
    if (LettersSource())
        return LettersSource()();
    static std::mt19937 random {std::random_device {}()};
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string letters;
    for (std::size_t i = 0; i < kProbeLetters; ++i)
        letters += static_cast<char>(letter(random));
    return letters;
}

}  // namespace

ProbeLetters SetProbeLetters(ProbeLetters source)
{
    return std::exchange(LettersSource(), std::move(source));
}

LookPass::LookPass(const std::vector<BookmarkPtr>& links, const std::vector<std::size_t>& positions)
    : m_links(links)
{
    std::map<std::string, std::size_t> siteOfOrigin;
    for (const std::size_t position : positions) {
        const std::string address = RequestAddress(m_links[position]->url);
        const std::string origin = OriginKey(address);
        auto [entry, added] = siteOfOrigin.emplace(origin, m_sites.size());
        if (added) {
            m_sites.emplace_back();
            // An address the look cannot read as a site's gets no probe: its look is judged alone.
            if (origin.empty())
                m_sites.back().probe = PageLook {};
            else {
                const std::string probe = ProbeAddress(address, Letters());
                m_items.push_back({kProbe, probe, probe});
                m_siteOf.push_back(entry->second);
            }
        }
        ++m_sites[entry->second].linksLeft;
        m_items.push_back({position, address, address});
        m_siteOf.push_back(entry->second);
    }
}

bool LookPass::Answered(std::size_t item, std::string_view header, std::string_view body)
{
    Item& asked = m_items[item];
    const std::string_view block = HeaderBlock(header);
    const std::int16_t status = GetStatusCode(block);
    if (status >= 300 && status <= 399 && asked.redirects < kMostRedirects) {
        const std::string target = RequestAddress(GetRedirectLocation(block, asked.address));
        if (!target.empty()) {
            asked.address = target;
            ++asked.redirects;
            return true;
        }
    }
    const std::string landed = asked.address == asked.requested ? std::string() : asked.address;
    Over(item, {asked.requested, landed, status, GetHeaderValue(block, "Content-Type"), BodyOf(block, body)});
    return false;
}

void LookPass::Unanswered(std::size_t item)
{
    const Item& asked = m_items[item];
    Over(item, {asked.requested, asked.address == asked.requested ? std::string() : asked.address, 0, {}, {}});
}

void LookPass::Over(std::size_t item, PageLook look)
{
    Site& site = m_sites[m_siteOf[item]];
    const std::size_t position = m_items[item].position;
    if (position != kProbe) {
        if (site.probe)
            Judge(site, position, look);
        else
            site.waiting.emplace_back(position, std::move(look));
        return;
    }
    site.probe = std::move(look);
    for (const auto& [waiting, waitingLook] : site.waiting)
        Judge(site, waiting, waitingLook);
    site.waiting = {};
}

void LookPass::Judge(Site& site, std::size_t position, const PageLook& look)
{
    m_links[position]->LookFinding = JudgeLook(look, *site.probe);
    if (--site.linksLeft == 0)
        site.probe.reset();  // its site has no link left to judge: its page need not be kept
}

}  // namespace brimtor
