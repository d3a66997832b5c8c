// art-gen: draws every picture of an art list into PNG files, and optionally writes the
// packing manifest and a contact sheet for review.
//
// art-gen --list FILE --out DIR [--sizes FILE] [--inputs DIR] [--manifest FILE]
//         [--contact FILE]

#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ArtList.h"
#include "ContactSheet.h"
#include "EntryRenderer.h"
#include "FontCheck.h"
#include "PackManifest.h"
#include "RaceSizeTable.h"

namespace {

constexpr const char* kUsage =
    "usage: art-gen --list FILE --out DIR [--sizes FILE] [--inputs DIR] [--manifest FILE] "
    "[--contact FILE]\n";

std::map<std::string, std::string> parseArguments(int argc, char** argv) {
  std::map<std::string, std::string> args;
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (name.rfind("--", 0) != 0 || i + 1 >= argc) throw std::runtime_error(kUsage);
    args[name.substr(2)] = argv[i + 1];
  }
  for (const auto& [name, value] : args) {
    if (name != "list" && name != "out" && name != "sizes" && name != "inputs" &&
        name != "manifest" && name != "contact") {
      throw std::runtime_error("unknown option --" + name + "\n" + kUsage);
    }
  }
  if (args.count("list") == 0 || args.count("out") == 0) throw std::runtime_error(kUsage);
  return args;
}

void run(const std::map<std::string, std::string>& args) {
  const auto get = [&](const std::string& k) {
    const auto it = args.find(k);
    return it == args.end() ? std::string{} : it->second;
  };
  const racesizes::TRaceSizeTable sizes = get("sizes").empty()
                                              ? racesizes::TRaceSizeTable{}
                                              : racesizes::TRaceSizeTable::Load(get("sizes"));
  const artgen::ArtList list(get("list"), sizes);
  std::set<std::string> fonts = list.fontFamilies();
  if (!get("contact").empty()) fonts.insert(artgen::kContactSheetFont);
  artgen::requireFonts(fonts);
  const std::filesystem::path out = get("out");
  std::filesystem::create_directories(out);
  std::vector<artgen::SurfacePtr> pictures;
  std::vector<artgen::SheetItem> sheet;
  for (const artgen::ArtEntry& entry : list.entries()) {
    pictures.push_back(artgen::renderEntry(entry, get("inputs")));
    artgen::writePng(pictures.back().get(), out / (entry.recipe.key() + ".png"));
    sheet.push_back({entry.recipe.key(), entry.layout, pictures.back().get()});
  }
  if (!get("manifest").empty()) artgen::writePackManifest(list.entries(), get("manifest"), out);
  if (!get("contact").empty()) {
    const std::filesystem::path contact = get("contact");
    if (contact.has_parent_path()) std::filesystem::create_directories(contact.parent_path());
    artgen::writeContactSheet(sheet, std::filesystem::path(get("list")).filename().string(),
                              contact);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  try {
    run(parseArguments(argc, argv));
  } catch (const std::exception& e) {
    std::cerr << "art-gen: " << e.what() << '\n';
    status = 1;
  }
  artgen::releaseFontCaches();
  return status;
}
