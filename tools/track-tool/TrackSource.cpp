#include "TrackSource.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "TrackFile.h"

namespace tracktool {

namespace {

constexpr int MaxOpponents = 8;
constexpr int MaxLaps = 99;
constexpr int MinTags = 4;
constexpr int MaxTags = 50;

constexpr std::array<std::pair<std::string_view, int>, 7> ObstacleNames{{{"block", 1},
                                                                         {"rock", 8},
                                                                         {"arc", 9},
                                                                         {"wall-h", 10},
                                                                         {"wall-v", 11},
                                                                         {"stripes-h", 12},
                                                                         {"stripes-v", 13}}};

constexpr std::array<std::pair<std::string_view, int>, 3> DecorationNames{
    {{"flowers-h", Kind::PaintFlowersHorizontal},
     {"flowers-v", Kind::PaintFlowersVertical},
     {"decal", Kind::PaintDecal}}};

/// Reads one source line after another, keeping the line number for messages.
struct TLineReader {
  const std::string& Name;
  int Number = 0;

  [[noreturn]] void Fail(const std::string& what) const {
    throw TSourceError(Name + " line " + std::to_string(Number) + ": " + what);
  }

  int Int(const std::string& word, int low, int high) const {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < low || value > high) {
      Fail("\"" + word + "\" is not a number from " + std::to_string(low) + " to " +
           std::to_string(high));
    }
    return value;
  }
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line.substr(0, line.find('#')));
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

TPlacedItem ParseItem(const std::vector<std::string>& w, const TLineReader& reader, int code) {
  if (w[1].size() != 1 || w[1][0] < 'a' || w[1][0] > 'z') {
    reader.Fail("the anchor must be one lower-case letter of the map");
  }
  constexpr int Reach = 1000;
  TPlacedItem item;
  item.Anchor = w[1][0];
  item.Code = code;
  item.Dx = reader.Int(w[3], -Reach, Reach);
  item.Dy = reader.Int(w[4], -Reach, Reach);
  item.Angle = w.size() > 5 ? reader.Int(w[5], -360, 360) : 0;
  item.Line = reader.Number;
  return item;
}

void ParseSetting(const std::vector<std::string>& w, const TLineReader& reader, TTrackSource& src) {
  const std::string& key = w[0];
  if (key == "obstacle" || key == "decor") {
    const bool obstacle = key == "obstacle";
    if (w.size() != 5 && !(w.size() == 6 && !obstacle)) {
      reader.Fail(key + " needs: anchor kind dx dy" + (obstacle ? "" : " [angle]"));
    }
    const int code = obstacle ? ObstacleCode(w[2]) : DecorationCode(w[2]);
    if (code == (obstacle ? 0 : -1)) reader.Fail("unknown " + key + " kind \"" + w[2] + "\"");
    (obstacle ? src.Obstacles : src.Decorations).push_back(ParseItem(w, reader, code));
    return;
  }
  if (w.size() != 2) reader.Fail("\"" + key + "\" takes one value");
  if (key == "laps") {
    src.Laps = reader.Int(w[1], 1, MaxLaps);
  } else if (key == "opponents") {
    src.Opponents = reader.Int(w[1], 1, MaxOpponents);
  } else if (key == "tags") {
    src.Tags = reader.Int(w[1], MinTags, MaxTags);
  } else if (key == "length") {
    double value = 0;
    const auto [end, error] = std::from_chars(w[1].data(), w[1].data() + w[1].size(), value);
    if (error != std::errc() || end != w[1].data() + w[1].size() || value <= 0) {
      reader.Fail("length must be a positive number");
    }
    src.LengthText = w[1];
  } else {
    reader.Fail("unknown setting \"" + key + "\"");
  }
}

std::string TrimRight(const std::string& line) {
  const auto end = line.find_last_not_of(" \t\r");
  return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

}  // namespace

int ObstacleCode(std::string_view name) {
  for (const auto& [word, code] : ObstacleNames) {
    if (word == name) return code;
  }
  return 0;
}

int DecorationCode(std::string_view name) {
  for (const auto& [word, code] : DecorationNames) {
    if (word == name) return code;
  }
  return -1;
}

TTrackSource ParseTrackSource(std::string_view text, const std::string& name) {
  TTrackSource src;
  src.Name = name;
  TLineReader reader{src.Name};
  std::istringstream in{std::string(text)};
  bool inMap = false;
  bool mapSeen = false;
  for (std::string line; std::getline(in, line);) {
    ++reader.Number;
    if (inMap) {
      if (TrimRight(line) == "end") {
        inMap = false;
      } else {
        src.Map.push_back(TrimRight(line));
      }
      continue;
    }
    const std::vector<std::string> w = Words(line);
    if (w.empty()) continue;
    if (w.size() == 1 && w[0] == "map") {
      if (mapSeen) reader.Fail("a track has one map");
      inMap = mapSeen = true;
      continue;
    }
    ParseSetting(w, reader, src);
  }
  if (inMap) throw TSourceError(name + ": the map has no \"end\" line");
  if (!mapSeen || src.Map.empty()) throw TSourceError(name + ": no map");
  if (src.Laps == 0 || src.Opponents == 0 || src.LengthText.empty()) {
    throw TSourceError(name + ": laps, opponents and length must all be given");
  }
  return src;
}

TTrackSource LoadTrackSource(const std::string& file) {
  std::ifstream in(file);
  const std::string name = std::filesystem::path(file).filename().string();
  if (!in) throw TSourceError("cannot read track source " + file);
  std::ostringstream text;
  text << in.rdbuf();
  return ParseTrackSource(text.str(), name);
}

}  // namespace tracktool
