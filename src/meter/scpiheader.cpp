#include "meter/scpiheader.h"

#include <cctype>
#include <charconv>

namespace vemra::meter {

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> splitAt(std::string_view text, char by) {
    std::vector<std::string_view> out;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(by, from);
        out.push_back(text.substr(from, at - from));
        if (at == text.npos)
            return out;
        from = at + 1;
    }
}

bool nodeMatches(std::string_view given, std::string_view node) {
    std::string shortForm;
    for (const char c : node)
        if (!std::islower(static_cast<unsigned char>(c)))
            shortForm += c;
    const std::string word = upperCase(given);
    return word == shortForm || word == upperCase(node);
}

bool headerMatches(std::span<const std::string_view> given,
                   std::span<const std::string_view> pattern) {
    if (pattern.empty())
        return given.empty();
    std::string_view node = pattern.front();
    if (node.starts_with('[')) {
        node = node.substr(1, node.size() - 2);
        if (headerMatches(given, pattern.subspan(1)))
            return true;
    }
    return !given.empty() && nodeMatches(given.front(), node) &&
           headerMatches(given.subspan(1), pattern.subspan(1));
}

bool headerIs(std::span<const std::string_view> given, std::string_view pattern) {
    const std::vector<std::string_view> nodes = splitAt(pattern, ':');
    return headerMatches(given, nodes);
}

std::optional<double> numberIn(std::string_view text) {
    text = trimmed(text);
    double value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace vemra::meter
