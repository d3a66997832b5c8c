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

std::map<std::string, std::string> ParseArguments(int argc, char** argv) {
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

void Run(const std::map<std::string, std::string>& args) {
  const auto get = [&](const std::string& k) {
    const auto it = args.find(k);
    return it == args.end() ? std::string{} : it->second;
  };
  const racesizes::TRaceSizeTable sizes = get("sizes").empty()
                                              ? racesizes::TRaceSizeTable{}
                                              : racesizes::TRaceSizeTable::Load(get("sizes"));
  const artgen::TArtList list(get("list"), sizes);
  std::set<std::string> fonts = list.FontFamilies();
  if (!get("contact").empty()) fonts.insert(artgen::kContactSheetFont);
  artgen::RequireFonts(fonts);
  const std::filesystem::path out = get("out");
  std::filesystem::create_directories(out);
  std::vector<artgen::SurfacePtr> pictures;
  std::vector<artgen::TSheetItem> sheet;
  for (const artgen::TArtEntry& entry : list.Entries()) {
    pictures.push_back(artgen::RenderEntry(entry, get("inputs")));
    artgen::WritePng(pictures.back().get(), out / (entry.Recipe.Key() + ".png"));
    sheet.push_back({entry.Recipe.Key(), entry.Layout, pictures.back().get()});
  }
  if (!get("manifest").empty()) artgen::WritePackManifest(list.Entries(), get("manifest"), out);
  if (!get("contact").empty()) {
    const std::filesystem::path contact = get("contact");
    if (contact.has_parent_path()) std::filesystem::create_directories(contact.parent_path());
    artgen::WriteContactSheet(sheet, std::filesystem::path(get("list")).filename().string(),
                              contact);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  try {
    Run(ParseArguments(argc, argv));
  } catch (const std::exception& e) {
    std::cerr << "art-gen: " << e.what() << '\n';
    status = 1;
  }
  artgen::ReleaseFontCaches();
  return status;
}
