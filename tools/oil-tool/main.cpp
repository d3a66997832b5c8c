// oil-tool: packs pictures into image-list files, lists their entries and extracts their
// pictures.
//   oil-tool pack MANIFEST OUT
//   oil-tool list FILE
//   oil-tool extract FILE DIR

#include <iostream>
#include <string>

#include "OilCommands.h"

namespace {

int Usage() {
  std::cerr << "usage: oil-tool pack MANIFEST OUT\n"
               "       oil-tool list FILE\n"
               "       oil-tool extract FILE DIR\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "pack" && argc == 4) return oiltool::Pack(argv[2], argv[3], std::cerr);
  if (command == "list" && argc == 3) return oiltool::List(argv[2], std::cout, std::cerr);
  if (command == "extract" && argc == 4) return oiltool::Extract(argv[2], argv[3], std::cerr);
  return Usage();
}
