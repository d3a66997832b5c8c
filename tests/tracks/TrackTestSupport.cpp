#include "TrackTestSupport.h"

#include <unistd.h>

#include <filesystem>

#include "TrackCompiler.h"
#include "TrackSource.h"

namespace tracktest {

const tracktool::TRaceSizes& Sizes() {
  static const tracktool::TRaceSizes kSizes = tracktool::TRaceSizes::Load(CLD_RACE_SIZES_FILE);
  return kSizes;
}

std::string SmallTrackSource() {
  return "# a small test track\n"
         "laps 3\n"
         "opponents 4\n"
         "length 300\n"
         "map\n"
         "/--->--\\\n"
         "|      |\n"
         "C      C\n"
         "|      |\n"
         "\\--C---/\n"
         "end\n";
}

std::vector<tracktool::TrackRecord> SmallTrack() {
  return tracktool::CompileTrack(tracktool::ParseTrackSource(SmallTrackSource(), "small.txt"),
                                 Sizes());
}

tracktool::TTrackFileData AsFile(const std::vector<tracktool::TrackRecord>& records) {
  return {records, records.size() * tracktool::RecordSize};
}

std::string TempFolder(const std::string& name) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("cld-track-tests-" + name + "-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

}  // namespace tracktest
