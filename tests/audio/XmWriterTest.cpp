// The XM writer: what it writes plays at the right pitch in a real player, its bytes follow the
// format's layout, and it refuses modules it cannot store.
#include <gtest/gtest.h>

#include <functional>
#include <libopenmpt/libopenmpt.hpp>
#include <string>
#include <vector>

#include "AudioMeasure.h"
#include "CaseName.h"
#include "SongBuilder.h"
#include "XmFormatError.h"
#include "XmLayout.h"
#include "XmWriter.h"

namespace {

constexpr int kRate = 48000;

// A one-note song: instrument "tone" holds `note` for a whole pattern.
struct PitchCase {
  const char* Name;
  const char* Instrument;  // settings lines of the instrument
  const char* Note;
  double ExpectedHz;
};

void PrintTo(const PitchCase& c, std::ostream* out) {
  *out << c.Name;
}

std::string OneNoteSong(const PitchCase& c) {
  return std::string("channels 2\ninstrument tone\n") + c.Instrument + "\nend\n" +
         "phrase held tone\n  " + c.Note + "/64\nend\npattern p 64\n  1 held\nend\norder p\n";
}

std::vector<float> RenderMono(const std::vector<std::uint8_t>& bytes, double seconds) {
  openmpt::module module(bytes);
  std::vector<float> out(static_cast<std::size_t>(seconds * kRate));
  std::size_t done = 0;
  while (done < out.size()) {
    const std::size_t got = module.read(kRate, out.size() - done, out.data() + done);
    if (got == 0) break;
    done += got;
  }
  out.resize(done);
  return out;
}

// Compiles a one-note song and measures the pitch libopenmpt plays.
class WrittenNotePitch : public ::testing::TestWithParam<PitchCase> {};

TEST_P(WrittenNotePitch, PlaysAtTheNotesFrequency) {
  const std::vector<float> audio = RenderMono(xm::CompileSong(OneNoteSong(GetParam())), 0.9);
  ASSERT_EQ(audio.size(), static_cast<std::size_t>(0.9 * kRate));
  const auto steady = std::span<const float>(audio).subspan(kRate / 10, kRate / 2);
  EXPECT_GT(audio_test::MeasureLevels(steady).Rms, 0.01);
  const double hz = audio_test::ZeroCrossingFrequency(steady, kRate);
  EXPECT_NEAR(hz, GetParam().ExpectedHz, GetParam().ExpectedHz * 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Tuning, WrittenNotePitch,
    ::testing::Values(PitchCase{"LoopedSineMadeAtC4PlaysA4",
                                "wave sine\npitch c4\nlength 0.5\nloop", "a4", 440.0},
                      PitchCase{"SampleMadeAtItsOwnNote", "wave sine\npitch a4\nlength 0.5\nloop",
                                "a4", 440.0},
                      PitchCase{"LowRateSampleBelowItsPitch",
                                "wave sine\npitch c4\nrate 22050\nlength 0.5\nloop", "a2", 110.0},
                      PitchCase{"TriangleAboveItsPitch",
                                "wave triangle\npitch c4\nlength 0.5\nloop", "e5", 659.255},
                      PitchCase{"OneShotFixedToneAnOctaveUp",
                                "wave sine\nfreq 1000\npitch c4\nlength 2", "c5", 2000.0}),
    audio_test::CaseName<PitchCase>);

// A small valid module: two channels, one four-row pattern, one instrument of 100 samples.
xm::TModule SmallModule() {
  xm::TModule module;
  module.Name = "small";
  module.Channels = 2;
  module.Orders = {0};
  xm::TPattern pattern;
  pattern.Rows.assign(4, std::vector<xm::TCell>(2));
  pattern.Rows[0][0] = {49, 1, 0x40, 0, 0};
  module.Patterns = {pattern};
  xm::TInstrument instrument;
  instrument.Name = "blip";
  xm::TSample sample;
  sample.Data.assign(100, 0);
  sample.Data[1] = 1000;
  sample.Data[2] = -1000;
  sample.Data[3] = 32767;
  sample.Data[4] = -32768;
  instrument.Samples = {sample};
  module.Instruments = {instrument};
  return module;
}

TEST(XmWriterLayout, HeaderFieldsMatchTheFormat) {
  const std::vector<std::uint8_t> bytes = xm::WriteXm(SmallModule());
  ASSERT_GT(bytes.size(), 80u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 17), "Extended Module: ");
  EXPECT_EQ(bytes[37], 0x1A);
  std::string error;
  const std::optional<audio_test::XmLayout> layout = audio_test::WalkXm(bytes, error);
  ASSERT_TRUE(layout) << error;
  EXPECT_EQ(layout->Version, 0x0104);
  EXPECT_EQ(layout->SongHeaderSize, 276u);
  EXPECT_EQ(layout->Channels, 2);
  EXPECT_EQ(layout->PatternHeaderSizes, std::vector<std::uint32_t>{9});
  EXPECT_EQ(layout->InstrumentHeaderSizes, std::vector<std::uint32_t>{263});
  EXPECT_EQ(layout->End, bytes.size());
}

TEST(XmWriterLayout, SampleLengthsAndLoopAreInBytesAndDataIsDeltaCoded) {
  xm::TModule module = SmallModule();
  xm::TSample& sample = module.Instruments[0].Samples[0];
  sample.Loop = xm::LoopType::kForward;
  sample.LoopStart = 10;
  sample.LoopLength = 50;
  const std::vector<std::uint8_t> bytes = xm::WriteXm(module);
  const std::size_t data = bytes.size() - 200;
  const std::size_t header = data - 40;
  EXPECT_EQ(audio_test::Read32(bytes, header), 200u);
  EXPECT_EQ(audio_test::Read32(bytes, header + 4), 20u);
  EXPECT_EQ(audio_test::Read32(bytes, header + 8), 100u);
  EXPECT_EQ(bytes[header + 14], 0x11) << "forward loop, 16-bit";
  std::int16_t value = 0;
  for (std::size_t i = 0; i < sample.Data.size(); ++i) {
    value = static_cast<std::int16_t>(value + audio_test::Read16(bytes, data + 2 * i));
    ASSERT_EQ(value, sample.Data[i]) << "sample " << i;
  }
}

TEST(XmWriterLayout, PackedCellsKeepOnlyTheFieldsThatAreSet) {
  const std::vector<std::uint8_t> bytes = xm::WriteXm(SmallModule());
  const std::size_t pattern = 60 + 276;
  EXPECT_EQ(audio_test::Read16(bytes, pattern + 5), 4) << "rows";
  // Note, instrument and volume of the first cell, then seven empty cells.
  const std::vector<std::uint8_t> expected = {0x87, 49,   1,    0x40, 0x80, 0x80,
                                              0x80, 0x80, 0x80, 0x80, 0x80};
  EXPECT_EQ(audio_test::Read16(bytes, pattern + 7), expected.size());
  EXPECT_EQ(
      std::vector<std::uint8_t>(bytes.begin() + pattern + 9, bytes.begin() + pattern + 9 + 11),
      expected);
}

// A damage done to a valid module and the words the refusal must contain.
struct RejectCase {
  const char* Name;
  std::function<void(xm::TModule&)> Damage;
  const char* Message;
};

void PrintTo(const RejectCase& c, std::ostream* out) {
  *out << c.Name;
}

// Damages a valid module and expects the writer to refuse it.
class XmWriterRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(XmWriterRejects, InconsistentModuleWithAClearMessage) {
  xm::TModule module = SmallModule();
  GetParam().Damage(module);
  try {
    xm::WriteXm(module);
    FAIL() << "the module was written";
  } catch (const xm::TXmFormatError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().Message), std::string::npos)
        << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    BadModules, XmWriterRejects,
    ::testing::Values(
        RejectCase{"RowWithTooFewCells", [](xm::TModule& m) { m.Patterns[0].Rows[2].resize(1); },
                   "pattern 0, row 2 has 1 cells, but the module has 2 channels"},
        RejectCase{"RowWithTooManyCells", [](xm::TModule& m) { m.Patterns[0].Rows[3].resize(4); },
                   "row 3 has 4 cells, but the module has 2 channels"},
        RejectCase{"OddChannelCount", [](xm::TModule& m) { m.Channels = 3; }, "is odd"},
        RejectCase{"TooManyChannels", [](xm::TModule& m) { m.Channels = 34; }, "channel count"},
        RejectCase{"OrderOfAMissingPattern",
                   [](xm::TModule& m) {
                     m.Orders = {0, 1};
                   },
                   "order 1 pattern is 1, outside the range 0..0"},
        RejectCase{"EmptyOrderList", [](xm::TModule& m) { m.Orders.clear(); }, "order list length"},
        RejectCase{"RestartPastTheOrderList", [](xm::TModule& m) { m.Restart = 1; },
                   "restart position"},
        RejectCase{"PatternWithoutRows", [](xm::TModule& m) { m.Patterns[0].Rows.clear(); },
                   "pattern 0 row count"},
        RejectCase{"CellOfAMissingInstrument",
                   [](xm::TModule& m) { m.Patterns[0].Rows[1][1].Instrument = 2; },
                   "row 1, channel 1: instrument is 2"},
        RejectCase{"NoteBeyondKeyOff", [](xm::TModule& m) { m.Patterns[0].Rows[0][0].Note = 98; },
                   "note is 98"},
        RejectCase{"UndefinedVolumeColumnValue",
                   [](xm::TModule& m) { m.Patterns[0].Rows[0][0].Volume = 0x55; },
                   "volume column value 85"},
        RejectCase{"EnvelopeWithThirteenPoints",
                   [](xm::TModule& m) {
                     for (int i = 0; i < 13; ++i) {
                       m.Instruments[0].VolumeEnvelope.Points.push_back({i * 4, 64});
                     }
                   },
                   "has 13 points"},
        RejectCase{"EnvelopeGoingBackInTime",
                   [](xm::TModule& m) {
                     m.Instruments[0].VolumeEnvelope.Points = {{0, 64}, {10, 32}, {5, 0}};
                   },
                   "point 2 does not come after"},
        RejectCase{"SustainPointMissing",
                   [](xm::TModule& m) {
                     m.Instruments[0].VolumeEnvelope.Points = {{0, 64}, {10, 32}};
                     m.Instruments[0].VolumeEnvelope.Sustain = 2;
                   },
                   "sustain or loop point"},
        RejectCase{"LoopPastTheSampleEnd",
                   [](xm::TModule& m) {
                     xm::TSample& s = m.Instruments[0].Samples[0];
                     s.Loop = xm::LoopType::kForward;
                     s.LoopStart = 90;
                     s.LoopLength = 20;
                   },
                   "runs past its 100 samples"},
        RejectCase{
            "EmptyLoop",
            [](xm::TModule& m) { m.Instruments[0].Samples[0].Loop = xm::LoopType::kPingPong; },
            "its loop is empty"},
        RejectCase{"RelativeNoteOutOfRange",
                   [](xm::TModule& m) { m.Instruments[0].Samples[0].RelativeNote = 96; },
                   "relative note"},
        RejectCase{"NoteMapOfAMissingSample",
                   [](xm::TModule& m) { m.Instruments[0].NoteSamples[40] = 1; },
                   "note-to-sample map"},
        RejectCase{"ModuleNameTooLong", [](xm::TModule& m) { m.Name = "a name of twenty-one."; },
                   "longer than 20 characters"},
        RejectCase{"SpeedZero", [](xm::TModule& m) { m.Speed = 0; }, "speed"}),
    audio_test::CaseName<RejectCase>);

}  // namespace
