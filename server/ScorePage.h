#pragma once
// The world score page: an HTML table of the best scores.

#include <string>
#include <string_view>
#include <vector>

#include "ScoreDatabase.h"

namespace server {

/// How many scores the page lists.
inline constexpr int kScorePageRows = 100;

/// The text with &, <, >, " and ' written as HTML character references.
std::string HtmlEscape(std::string_view text);

/// A complete UTF-8 HTML page ranking the rows in the given order: rank, name, score and the
/// date (UTC) each score arrived.
std::string RenderScorePage(const std::vector<TScoreRow>& rows);

}  // namespace server
