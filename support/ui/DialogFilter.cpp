#include "support/ui/DialogFilter.hpp"

#include <QRegularExpression>

#include "support/NumberedError.hpp"
#include "support/Text.hpp"
#include "support/ui/LocalText.hpp"

namespace brimtor {

namespace {

QString Description(const std::string& piece)
{
    // "Text files (*.txt,*.csv)" already names its patterns; Qt adds the real ones.
    static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    return ToQt(piece).remove(trailingList).trimmed();
}

QString Patterns(const std::string& piece)
{
    return ToQt(piece).split(u';', Qt::SkipEmptyParts).join(u' ');
}

}  // namespace

std::vector<std::string> SplitFilter(std::string_view filter)
{
    if (filter.empty())
        throw NumberedError(ErrorNumber::SubscriptOutOfRange, "cCommonDialog: Filter", "Subscript out of range");
    // A closing bar ends the last pair; it does not open another.
    std::vector<std::string> pieces = SplitAt(filter, '|');
    if (pieces.back().empty())
        pieces.pop_back();
    return pieces;
}

std::string ZeroSeparatedFilter(std::string_view filter)
{
    std::string converted;
    for (const std::string& piece : SplitFilter(filter)) {
        converted += piece;
        converted += '\0';
    }
    converted += '\0';
    return converted;
}

QStringList QtNameFilters(std::string_view zeroSeparated)
{
    // Every piece ends in a zero character and one more closes the list.
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t end = zeroSeparated.find('\0'); end != std::string_view::npos && end + 1 < zeroSeparated.size();
         end = zeroSeparated.find('\0', start)) {
        pieces.emplace_back(zeroSeparated.substr(start, end - start));
        start = end + 1;
    }
    QStringList filters;
    for (std::size_t i = 0; i < pieces.size(); i += 2) {
        const QString patterns = i + 1 < pieces.size() ? Patterns(pieces[i + 1]) : QString();
        const QString list = u'(' + (patterns.isEmpty() ? QStringLiteral("*") : patterns) + u')';
        const QString description = Description(pieces[i]);
        filters << (description.isEmpty() ? list : description + u' ' + list);
    }
    return filters;
}

}  // namespace brimtor
