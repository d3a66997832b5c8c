#pragma once
// A readable listing of a track file's records.

#include <string>
#include <vector>

#include "TrackFile.h"

namespace tracktool {

/// One line per record: index, kind name, x, y, ParamA and ParamB, after a header line.
std::string DumpRecords(const std::vector<TrackRecord>& records);

}  // namespace tracktool
