#include "Recipe.h"

#include <sstream>
#include <stdexcept>

namespace artgen {

double ParseNumber(const std::string& text, const std::string& what) {
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

std::vector<std::string> SplitWords(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

TRecipe::TRecipe(std::string key, std::vector<const TArtSection*> layers, const TPalette& palette)
    : Key_(std::move(key)), Layers_(std::move(layers)), Palette_(palette) {}

const std::vector<TArtParam>* TRecipe::Lookup(const std::string& name) const {
  Used_.insert(name);
  for (const TArtSection* layer : Layers_) {
    for (const TArtParam& p : layer->Params) {
      if (p.Key == name) return &layer->Params;
    }
  }
  return nullptr;
}

void TRecipe::Fail(const std::string& message) const {
  throw std::runtime_error(Where() + ": entry \"" + Key_ + "\": " + message);
}

bool TRecipe::Has(const std::string& name) const {
  return Lookup(name) != nullptr;
}

std::string TRecipe::Text(const std::string& name) const {
  const auto values = All(name);
  if (values.empty()) Fail("missing parameter \"" + name + "\"");
  return values.back();
}

std::string TRecipe::Text(const std::string& name, const std::string& fallback) const {
  const auto values = All(name);
  return values.empty() ? fallback : values.back();
}

double TRecipe::Number(const std::string& name) const {
  const std::string value = Text(name);
  try {
    return ParseNumber(value, name);
  } catch (const std::runtime_error& e) {
    Fail(e.what());
  }
}

double TRecipe::Number(const std::string& name, double fallback) const {
  return Has(name) ? Number(name) : fallback;
}

TColour TRecipe::Colour(const std::string& name) const {
  return ResolveColour(Text(name));
}

TColour TRecipe::Colour(const std::string& name, const std::string& fallback) const {
  return ResolveColour(Text(name, fallback));
}

TColour TRecipe::ResolveColour(const std::string& text) const {
  try {
    return Palette_.Resolve(text);
  } catch (const std::runtime_error& e) {
    Fail(e.what());
  }
}

std::vector<std::string> TRecipe::All(const std::string& name) const {
  std::vector<std::string> values;
  const auto* params = Lookup(name);
  if (params == nullptr) return values;
  for (const TArtParam& p : *params) {
    if (p.Key == name) values.push_back(p.Value);
  }
  return values;
}

std::vector<double> TRecipe::Numbers(const std::string& name) const {
  std::string value = Text(name);
  for (char& c : value) {
    if (c == ',') c = ' ';
  }
  std::vector<double> result;
  try {
    for (const auto& word : SplitWords(value)) result.push_back(ParseNumber(word, name));
  } catch (const std::runtime_error& e) {
    Fail(e.what());
  }
  return result;
}

std::pair<int, int> TRecipe::Size(const std::string& name) const {
  const std::string value = Text(name);
  const auto x = value.find('x');
  if (x == std::string::npos) Fail("parameter \"" + name + "\" must look like WxH");
  double w = 0.0;
  double h = 0.0;
  try {
    w = ParseNumber(value.substr(0, x), name);
    h = ParseNumber(value.substr(x + 1), name);
  } catch (const std::runtime_error& e) {
    Fail(e.what());
  }
  if (w < 1 || h < 1 || w > 4096 || h > 4096 || w != static_cast<int>(w) ||
      h != static_cast<int>(h)) {
    Fail("parameter \"" + name + "\" needs whole sizes 1..4096");
  }
  return {static_cast<int>(w), static_cast<int>(h)};
}

std::vector<std::string> TRecipe::UnusedOwnKeys() const {
  std::vector<std::string> unused;
  for (const TArtParam& p : Layers_.front()->Params) {
    if (Used_.count(p.Key) == 0) unused.push_back(p.Key);
  }
  return unused;
}

}  // namespace artgen
