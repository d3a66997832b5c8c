#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ArtDocument.h"
#include "Colour.h"
#include "Palette.h"

namespace artgen {

/// The parameters of one picture: the entry's own lines first, then those of the
/// templates it uses. A single-valued lookup takes the last value of the first layer
/// that has the key; a list lookup takes every value of that layer. Getters throw
/// std::runtime_error naming the entry and the parameter when a value is missing or bad.
class TRecipe {
 public:
  /// layers[0] is the entry's own section; the rest are its templates in priority order.
  TRecipe(std::string key, std::vector<const TArtSection*> layers, const TPalette& palette);

  /// The image key this recipe draws.
  const std::string& Key() const { return Key_; }
  /// File and line of the entry, for messages.
  const std::string& Where() const { return Layers_.front()->Where; }

  /// True when some layer has the parameter.
  bool Has(const std::string& name) const;
  /// The parameter's text; throws when missing.
  std::string Text(const std::string& name) const;
  /// The parameter's text, or fallback when missing.
  std::string Text(const std::string& name, const std::string& fallback) const;
  /// The parameter as a number; throws when missing or not a number.
  double Number(const std::string& name) const;
  /// The parameter as a number, or fallback when missing.
  double Number(const std::string& name, double fallback) const;
  /// The parameter as a colour text resolved through the palette; throws when missing.
  TColour Colour(const std::string& name) const;
  /// The parameter as a colour, or the colour text fallback when missing.
  TColour Colour(const std::string& name, const std::string& fallback) const;
  /// Every value of a repeated parameter (empty when missing).
  std::vector<std::string> All(const std::string& name) const;
  /// The parameter split into numbers at blanks and commas; throws on a non-number.
  std::vector<double> Numbers(const std::string& name) const;
  /// A "WxH" parameter; throws when missing or malformed.
  std::pair<int, int> Size(const std::string& name) const;
  /// Resolves a colour text through the palette (for list values that hold colours).
  TColour ResolveColour(const std::string& text) const;
  /// Raises a std::runtime_error whose message names this entry.
  [[noreturn]] void Fail(const std::string& message) const;

  /// The entry's own keys that no getter asked for (misspelt or unused parameters).
  std::vector<std::string> UnusedOwnKeys() const;

 private:
  const std::vector<TArtParam>* Lookup(const std::string& name) const;

  std::string Key_;
  std::vector<const TArtSection*> Layers_;
  const TPalette& Palette_;
  mutable std::set<std::string> Used_;
};

/// Parses a number, throwing std::runtime_error naming what when text is not one.
double ParseNumber(const std::string& text, const std::string& what);
/// Splits text at blanks and tabs, dropping empty pieces.
std::vector<std::string> SplitWords(const std::string& text);

}  // namespace artgen
