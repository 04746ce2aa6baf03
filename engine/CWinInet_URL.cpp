#include "engine/CWinInet_URL.hpp"

#include "engine/UriReference.hpp"

namespace brimtor {

namespace {

// RFC 3986 section 5.2.3.
std::string MergePaths(const UriReference& base, const std::string& relativePath)
{
    if (base.hasAuthority && base.path.empty())
        return "/" + relativePath;
    const std::size_t slash = base.path.rfind('/');
    return (slash == std::string::npos ? std::string() : base.path.substr(0, slash + 1)) + relativePath;
}

// RFC 3986 section 5.2.2, for a reference without scheme and authority.
void ResolvePathAndQuery(const UriReference& base, const UriReference& relative, UriReference& target)
{
    if (relative.path.empty()) {
        target.path = base.path;
        target.hasQuery = relative.hasQuery || base.hasQuery;
        target.query = relative.hasQuery ? relative.query : base.query;
        return;
    }
    target.path = RemoveDotSegments(relative.path.front() == '/' ? relative.path : MergePaths(base, relative.path));
    target.hasQuery = relative.hasQuery;
    target.query = relative.query;
}

}  // namespace

std::string CWinInet_URL::CombineUrl(const std::string& strBaseURL, const std::string& strRelativeUrl) const
{
    if (strBaseURL.empty() || strRelativeUrl.empty())
        return {};
    const UriReference base = UriReference::Split(strBaseURL);
    if (!base.hasScheme)
        return {};
    const UriReference relative = UriReference::Split(strRelativeUrl);
    UriReference target = relative;
    target.path = RemoveDotSegments(relative.path);
    if (!relative.hasScheme) {
        target.hasScheme = true;
        target.scheme = base.scheme;
        if (!relative.hasAuthority) {
            target.hasAuthority = base.hasAuthority;
            target.authority = base.authority;
            ResolvePathAndQuery(base, relative, target);
        }
    }
    return target.Join();
}

}  // namespace brimtor
