#include "TrackDump.h"

#include <cstdio>

namespace tracktool {

std::string DumpRecords(const std::vector<TrackRecord>& records) {
  std::string out = "# index kind x y paramA paramB\n";
  for (std::size_t i = 0; i < records.size(); ++i) {
    const TrackRecord& r = records[i];
    char line[128];
    std::snprintf(line, sizeof line, "%zu %s %d %d %d %d\n", i, KindName(r.Kind).c_str(), r.PosX,
                  r.PosY, r.ParamA, r.ParamB);
    out += line;
  }
  return out;
}

}  // namespace tracktool
