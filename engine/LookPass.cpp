#include "engine/LookPass.hpp"

#include <map>
#include <random>

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
        const auto [entry, added] = siteOfOrigin.emplace(origin, m_sites.size());
        if (added) {
            Site& site = m_sites.emplace_back();
            site.probeAddress = origin.empty() ? std::string() : ProbeAddress(address, Letters());
            if (origin.empty())
                site.probe = PageLook {};  // no probe: its looks are judged alone
        }
        ++m_sites[entry->second].linksLeft;
        m_items.push_back({position, address, address});
        m_siteOf.push_back(entry->second);
    }
}

std::optional<std::size_t> LookPass::Answered(std::size_t item, std::string_view header, std::string_view body)
{
    Item& asked = m_items[item];
    const std::string_view block = HeaderBlock(header);
    const std::int16_t status = GetStatusCode(block);
    if (status >= 300 && status <= 399 && asked.redirects < kMostRedirects) {
        const std::string target = RequestAddress(GetRedirectLocation(block, asked.address));
        if (!target.empty()) {
            asked.address = target;
            ++asked.redirects;
            return item;
        }
    }
    PageLook look = Seen(asked, status);
    look.contentType = GetHeaderValue(block, "Content-Type");
    look.body = BodyOf(block, body);
    if (asked.position != kProbe)
        return LinkOver(item, std::move(look));
    ProbeOver(m_sites[m_siteOf[item]], std::move(look));
    return std::nullopt;
}

void LookPass::Unanswered(std::size_t item)
{
    Site& site = m_sites[m_siteOf[item]];
    if (m_items[item].position == kProbe)
        ProbeOver(site, Seen(m_items[item], 0));
    else
        Found(site, m_items[item].position, LookVerdict::None);
}

PageLook LookPass::Seen(const Item& item, std::int32_t status) const
{
    return {item.requested, item.address == item.requested ? std::string() : item.address, status, {}, {}};
}

std::optional<std::size_t> LookPass::LinkOver(std::size_t item, PageLook look)
{
    const std::size_t siteIndex = m_siteOf[item];
    Site& site = m_sites[siteIndex];
    const std::size_t position = m_items[item].position;
    if (site.probe) {
        Found(site, position, JudgeLook(look, *site.probe));
        return std::nullopt;
    }
    if (const std::optional<LookVerdict> alone = JudgeLookAlone(look)) {
        Found(site, position, *alone);
        return std::nullopt;
    }
    site.waiting.emplace_back(position, std::move(look));
    if (site.probeAsked)
        return std::nullopt;
    site.probeAsked = true;
    m_items.push_back({kProbe, site.probeAddress, site.probeAddress});
    m_siteOf.push_back(siteIndex);
    return m_items.size() - 1;
}

void LookPass::ProbeOver(Site& site, PageLook probe)
{
    site.probe = std::move(probe);
    for (const auto& [position, look] : std::exchange(site.waiting, {}))
        Found(site, position, JudgeLook(look, *site.probe));
}

void LookPass::Found(Site& site, std::size_t position, LookVerdict verdict)
{
    m_links[position]->LookFinding = verdict;
    if (--site.linksLeft == 0)
        site.probe.reset();  // its site has no link left to judge: its page need not be kept
}

}  // namespace brimtor
