#pragma once
// SCPI headers as an instrument reads them: nodes split by ':', each taken in its short form
// (the capitals of "SYSTem") or its long one, in any case; a node in brackets may be left out
// ("[SENSe]:FRESistance:NPLCycles" takes "FRES:NPLC"). Standard C++ only: the station's pace
// rule and the rig's meter read lines alike.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vemra::meter {

std::string upperCase(std::string_view text);
std::string_view trimmed(std::string_view text);
std::vector<std::string_view> splitAt(std::string_view text, char by);

bool nodeMatches(std::string_view given, std::string_view node);
bool headerMatches(std::span<const std::string_view> given,
                   std::span<const std::string_view> pattern);
// The header's nodes against a pattern written "NODE:[NODE]:NODE".
bool headerIs(std::span<const std::string_view> given, std::string_view pattern);

// A plain number, the whole text; nothing for anything else.
std::optional<double> numberIn(std::string_view text);

} // namespace vemra::meter
