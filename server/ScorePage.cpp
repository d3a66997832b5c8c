#include "ScorePage.h"

#include <ctime>

namespace server {

namespace {

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Comet Lane Derby - world scores</title>
<style>
body { background: #0b1020; color: #e8ecff; font-family: sans-serif; margin: 2em auto;
       max-width: 40em; padding: 0 1em; }
h1 { color: #ffd75e; font-size: 1.6em; text-align: center; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.3em 0.6em; border-bottom: 1px solid #2a3358; }
th { color: #9fb0ff; text-align: left; }
th.rank, td.rank, th.score, td.score { text-align: right; }
th.rank, td.rank { width: 3em; }
tr:nth-child(even) td { background: #121a33; }
p.empty { text-align: center; color: #9fb0ff; }
</style>
</head>
<body>
<h1>Comet Lane Derby - world scores</h1>
)";

std::string DateOf(int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
  return text;
}

void AppendRow(std::string& page, size_t rank, const TScoreRow& row) {
  page += "<tr><td class=\"rank\">" + std::to_string(rank) + "</td><td class=\"name\">" +
          HtmlEscape(row.Name) + "</td><td class=\"score\">" + std::to_string(row.Score) +
          "</td><td class=\"date\">" + DateOf(row.Time) + "</td></tr>\n";
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string RenderScorePage(const std::vector<TScoreRow>& rows) {
  std::string page(kHead);
  if (rows.empty()) {
    page += "<p class=\"empty\">No scores yet.</p>\n";
  } else {
    page +=
        "<table id=\"scores\">\n<thead><tr><th class=\"rank\">Rank</th><th>Name</th><th "
        "class=\"score\">Score</th><th>Date</th></tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < rows.size(); ++i) AppendRow(page, i + 1, rows[i]);
    page += "</tbody>\n</table>\n";
  }
  page += "</body>\n</html>\n";
  return page;
}

}  // namespace server
