#pragma once
// Shared fixtures of the track tests: the real race sizes and a small complete track.

#include <string>
#include <vector>

#include "RaceSizes.h"
#include "TrackFile.h"

namespace tracktest {

/// The race picture sizes the game's tracks are built with.
const tracktool::TRaceSizes& Sizes();

/// Source of a small complete track for four opponents: a 7 by 5 square loop driven clockwise
/// with the finish line on the top straight and three checkpoints.
std::string SmallTrackSource();

/// The records of the small track, compiled.
std::vector<tracktool::TrackRecord> SmallTrack();

/// Track file contents made of records, as read from a file of exactly their size.
tracktool::TTrackFileData AsFile(const std::vector<tracktool::TrackRecord>& records);

/// A fresh empty folder for files a test writes.
std::string TempFolder(const std::string& name);

}  // namespace tracktest
