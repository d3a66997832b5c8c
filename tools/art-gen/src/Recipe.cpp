#include "Recipe.h"

#include <sstream>
#include <stdexcept>

namespace artgen {

double parseNumber(const std::string& text, const std::string& what) {
  std::size_t used = 0;
  double value = 0.0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) {
    throw std::runtime_error(what + ": \"" + text + "\" is not a number");
  }
  return value;
}

std::vector<std::string> splitWords(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

Recipe::Recipe(std::string key, std::vector<const ArtSection*> layers, const Palette& palette)
    : key_(std::move(key)), layers_(std::move(layers)), palette_(palette) {}

const std::vector<ArtParam>* Recipe::lookup(const std::string& name) const {
  used_.insert(name);
  for (const ArtSection* layer : layers_) {
    for (const ArtParam& p : layer->params) {
      if (p.key == name) return &layer->params;
    }
  }
  return nullptr;
}

void Recipe::fail(const std::string& message) const {
  throw std::runtime_error(where() + ": entry \"" + key_ + "\": " + message);
}

bool Recipe::has(const std::string& name) const {
  return lookup(name) != nullptr;
}

std::string Recipe::text(const std::string& name) const {
  const auto values = all(name);
  if (values.empty()) fail("missing parameter \"" + name + "\"");
  return values.back();
}

std::string Recipe::text(const std::string& name, const std::string& fallback) const {
  const auto values = all(name);
  return values.empty() ? fallback : values.back();
}

double Recipe::number(const std::string& name) const {
  const std::string value = text(name);
  try {
    return parseNumber(value, name);
  } catch (const std::runtime_error& e) {
    fail(e.what());
  }
}

double Recipe::number(const std::string& name, double fallback) const {
  return has(name) ? number(name) : fallback;
}

Colour Recipe::colour(const std::string& name) const {
  return resolveColour(text(name));
}

Colour Recipe::colour(const std::string& name, const std::string& fallback) const {
  return resolveColour(text(name, fallback));
}

Colour Recipe::resolveColour(const std::string& text) const {
  try {
    return palette_.resolve(text);
  } catch (const std::runtime_error& e) {
    fail(e.what());
  }
}

std::vector<std::string> Recipe::all(const std::string& name) const {
  std::vector<std::string> values;
  const auto* params = lookup(name);
  if (params == nullptr) return values;
  for (const ArtParam& p : *params) {
    if (p.key == name) values.push_back(p.value);
  }
  return values;
}

std::vector<double> Recipe::numbers(const std::string& name) const {
  std::string value = text(name);
  for (char& c : value) {
    if (c == ',') c = ' ';
  }
  std::vector<double> result;
  try {
    for (const auto& word : splitWords(value)) result.push_back(parseNumber(word, name));
  } catch (const std::runtime_error& e) {
    fail(e.what());
  }
  return result;
}

std::pair<int, int> Recipe::size(const std::string& name) const {
  const std::string value = text(name);
  const auto x = value.find('x');
  if (x == std::string::npos) fail("parameter \"" + name + "\" must look like WxH");
  double w = 0.0;
  double h = 0.0;
  try {
    w = parseNumber(value.substr(0, x), name);
    h = parseNumber(value.substr(x + 1), name);
  } catch (const std::runtime_error& e) {
    fail(e.what());
  }
  if (w < 1 || h < 1 || w > 4096 || h > 4096 || w != static_cast<int>(w) ||
      h != static_cast<int>(h)) {
    fail("parameter \"" + name + "\" needs whole sizes 1..4096");
  }
  return {static_cast<int>(w), static_cast<int>(h)};
}

std::vector<std::string> Recipe::unusedOwnKeys() const {
  std::vector<std::string> unused;
  for (const ArtParam& p : layers_.front()->params) {
    if (used_.count(p.key) == 0) unused.push_back(p.key);
  }
  return unused;
}

}  // namespace artgen
