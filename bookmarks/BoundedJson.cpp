#include "bookmarks/BoundedJson.hpp"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

namespace {

// Builds the tree from the parser's events, which come without recursion. The library's own
// builder grows each object in place, and an order-keeping object whose storage grows copies the
// values already in it (its keys are const, so nothing can be moved): a folder's whole subtree
// once for each key after `children`, at every level above it. Here an object's members wait in
// a list of their own, where moving costs nothing, and the object is made once, at its size,
// when it closes.
class TreeBuilder {
public:
    using Json = OrderedJson;

    enum class Stop { None, TooDeep, RepeatedKey };

    Json Result() { return std::move(m_result); }
    Stop Stopped() const { return m_stop; }

    bool null() { return Put(Json()); }
    bool boolean(bool value) { return Put(Json(value)); }
    bool number_integer(Json::number_integer_t value) { return Put(Json(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return Put(Json(value)); }
    bool number_float(Json::number_float_t value, const Json::string_t&) { return Put(Json(value)); }
    bool string(Json::string_t& value) { return Put(Json(std::move(value))); }
    bool binary(Json::binary_t&) { return false; }

    bool start_object(std::size_t) { return Open(true); }
    bool key(Json::string_t& name)
    {
        m_open.back().key = std::move(name);
        return true;
    }
    bool end_object()
    {
        Level level = std::move(m_open.back());
        m_open.pop_back();
        if (HasRepeatedKey(level.members)) {
            m_stop = Stop::RepeatedKey;
            return false;
        }
        Json::object_t object;
        object.reserve(level.members.size());
        for (auto& [name, value] : level.members)
            object.emplace_back(std::move(name), std::move(value));
        return Put(Json(std::move(object)));
    }

    bool start_array(std::size_t) { return Open(false); }
    bool end_array()
    {
        Json::array_t items = std::move(m_open.back().items);
        m_open.pop_back();
        return Put(Json(std::move(items)));
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

private:
    struct Level {
        bool object = false;
        std::string key;                                   // of the member being read
        std::vector<std::pair<std::string, Json>> members; // an object's, in order
        Json::array_t items;                               // an array's
    };

    bool Open(bool object)
    {
        if (m_open.size() >= static_cast<std::size_t>(kMaxNesting)) {
            m_stop = Stop::TooDeep;
            return false;
        }
        m_open.emplace_back();
        m_open.back().object = object;
        return true;
    }

    bool Put(Json&& value)
    {
        if (m_open.empty())
            m_result = std::move(value);
        else if (m_open.back().object)
            m_open.back().members.emplace_back(std::move(m_open.back().key), std::move(value));
        else
            m_open.back().items.push_back(std::move(value));
        return true;
    }

    bool HasRepeatedKey(const std::vector<std::pair<std::string, Json>>& members)
    {
        m_names.clear();
        for (const auto& member : members)
            m_names.push_back(member.first);
        std::sort(m_names.begin(), m_names.end());
        return std::adjacent_find(m_names.begin(), m_names.end()) != m_names.end();
    }

    std::vector<Level> m_open;
    Json m_result;
    Stop m_stop = Stop::None;
    std::vector<std::string_view> m_names;  // reused for every object
};

}  // namespace

Outcome<OrderedJson> ParseBoundedJson(const std::string& text)
{
    TreeBuilder builder;
    if (OrderedJson::sax_parse(text, &builder))
        return builder.Result();
    switch (builder.Stopped()) {
    case TreeBuilder::Stop::TooDeep:
        return Failure {"nests deeper than the browser reads"};
    case TreeBuilder::Stop::RepeatedKey:
        return Failure {"repeats a key within one object"};
    case TreeBuilder::Stop::None:
        break;
    }
    return Failure {"is not valid JSON"};
}

}  // namespace brimtor
