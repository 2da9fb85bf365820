// Lenient matching of place names as people type them: Turkish case rules,
// and letters with marks equal to their base letters, so "istanbul",
// "ISTANBUL" and "İstanbul" all find "İstanbul", and "sanliurfa" finds
// "Şanlıurfa". Text is Windows-1254.
#pragma once

#include <string>
#include <string_view>

namespace miravel {

// The search key of a text: lower case, marks dropped, dotted and dotless i
// merged.
std::string SearchKey(std::string_view cp1254);

bool ContainsForSearch(std::string_view haystack, std::string_view needle);

}  // namespace miravel
