#include "ImageListFile.h"

#include <algorithm>

#include "ImageListByteReader.h"
#include "ImageListColors.h"
#include "ImageListStreamError.h"
#include "VexelImageList.h"
#include "platform/CodePage1251.h"

namespace vexel {
namespace {

// Value types of the component stream.
enum TValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaLString = 12,
  vaCollection = 14,
  vaWString = 18,
  vaUtf8String = 20,
};

constexpr uint8_t kResourceMarker = 0xFF;
constexpr uint16_t kResourceTypeRawData = 10;
constexpr uint16_t kResourceFlags = 0x1030;
constexpr size_t kResourceHeaderRead = 79;
constexpr char kSignature[] = "TPF0";
constexpr char kResourceName[] = "TIMAGELISTCOLLECTIONCOMPONENT";
constexpr char kRootClass[] = "TImageListCollectionComponent";
constexpr char kRootName[] = "ImageListCollectionComponent";

// ---- Writing ----

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutBytes(std::vector<uint8_t>& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

// A length-prefixed short string (names, identifiers); longer text is cut at 255 bytes.
void PutShortString(std::vector<uint8_t>& out, const std::string& text) {
  const std::string shortText = text.substr(0, 255);
  out.push_back(static_cast<uint8_t>(shortText.size()));
  PutBytes(out, shortText);
}

void PutInteger(std::vector<uint8_t>& out, int32_t value) {
  if (value >= INT8_MIN && value <= INT8_MAX) {
    out.push_back(vaInt8);
    PutLe(out, static_cast<uint32_t>(value), 1);
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    out.push_back(vaInt16);
    PutLe(out, static_cast<uint32_t>(value), 2);
  } else {
    out.push_back(vaInt32);
    PutLe(out, static_cast<uint32_t>(value), 4);
  }
}

void PutString(std::vector<uint8_t>& out, const std::string& text) {
  if (text.size() <= 255) {
    out.push_back(vaString);
    PutShortString(out, text);
  } else {
    out.push_back(vaLString);
    PutLe(out, static_cast<uint32_t>(text.size()), 4);
    PutBytes(out, text);
  }
}

void PutPicture(std::vector<uint8_t>& out, const TPicture& picture) {
  std::vector<uint8_t> data;
  PutShortString(data, PictureClassName(picture.Kind));
  if (picture.Kind == TPicture::TKind::Bitmap) {
    PutLe(data, static_cast<uint32_t>(picture.Data.size()), 4);
  }
  data.insert(data.end(), picture.Data.begin(), picture.Data.end());
  out.push_back(vaBinary);
  PutLe(out, static_cast<uint32_t>(data.size()), 4);
  out.insert(out.end(), data.begin(), data.end());
}

void PutEntry(std::vector<uint8_t>& out, const TImageListFileEntry& entry) {
  out.push_back(vaList);
  PutShortString(out, "Name");
  PutString(out, entry.Name);
  PutShortString(out, "Picture.Data");
  PutPicture(out, entry.Picture);
  PutShortString(out, "TileHeight");
  PutInteger(out, entry.TileHeight);
  PutShortString(out, "TileWidth");
  PutInteger(out, entry.TileWidth);
  PutShortString(out, "TransparentColor");
  if (entry.TransparentColorName.empty()) {
    PutInteger(out, static_cast<int32_t>(entry.TransparentColor));
  } else {
    out.push_back(vaIdent);
    PutShortString(out, entry.TransparentColorName);
  }
  PutShortString(out, "Transparent");
  out.push_back(entry.Transparent ? vaTrue : vaFalse);
  if (entry.Filepath) {
    PutShortString(out, "Filepath");
    PutString(out, *entry.Filepath);
  }
  out.push_back(vaNull);
}

std::vector<uint8_t> ComponentStream(const std::vector<TImageListFileEntry>& entries) {
  std::vector<uint8_t> out;
  PutBytes(out, kSignature);
  PutShortString(out, kRootClass);
  PutShortString(out, kRootName);
  PutShortString(out, "List");
  out.push_back(vaCollection);
  for (const auto& entry : entries) PutEntry(out, entry);
  out.push_back(vaNull);  // end of the collection
  out.push_back(vaNull);  // end of the root's properties
  out.push_back(vaNull);  // end of the root's children
  return out;
}

// ---- Reading ----

std::string ReadShortString(TByteReader& reader) {
  return reader.Text(reader.U8());
}

// A 32-bit length followed by that many units of UnitBytes each, capped by the bytes left.
size_t ReadLength(TByteReader& reader, size_t unitBytes, const char* what) {
  const uint32_t length = reader.U32();
  if (length > reader.Remaining() / unitBytes) {
    reader.Fail(std::string(what) + " of " + std::to_string(length) + " units runs past the end");
  }
  return length;
}

std::string WideToCodePage(const std::vector<uint8_t>& utf16) {
  std::string text;
  for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
    const auto unit = static_cast<char32_t>(utf16[i] | utf16[i + 1] << 8);
    const uint8_t byte = unit == 0 ? 0 : platform::ByteOf1251(unit);
    text.push_back(static_cast<char>(unit != 0 && byte == 0 ? '?' : byte));
  }
  return text;
}

std::string ReadStringValue(TByteReader& reader, uint8_t type, const std::string& property) {
  switch (type) {
    case vaString:
      return ReadShortString(reader);
    case vaLString:
      return reader.Text(ReadLength(reader, 1, "long string"));
    case vaWString:
      return WideToCodePage(reader.Bytes(ReadLength(reader, 2, "wide string") * 2));
    case vaUtf8String:
      return platform::Utf8To1251(reader.Text(ReadLength(reader, 1, "UTF-8 string")));
    default:
      reader.Fail("property " + property + " needs a string, not value type " +
                  std::to_string(type));
  }
}

int32_t ReadIntegerValue(TByteReader& reader, uint8_t type, const std::string& property) {
  switch (type) {
    case vaInt8:
      return static_cast<int8_t>(reader.U8());
    case vaInt16:
      return static_cast<int16_t>(reader.U16());
    case vaInt32:
      return static_cast<int32_t>(reader.U32());
    default:
      reader.Fail("property " + property + " needs an integer, not value type " +
                  std::to_string(type));
  }
}

int32_t ReadInteger(TByteReader& reader, const std::string& what) {
  const uint8_t type = reader.U8();
  return ReadIntegerValue(reader, type, what);
}

bool ReadBooleanValue(TByteReader& reader, uint8_t type, const std::string& property) {
  if (type != vaFalse && type != vaTrue) {
    reader.Fail("property " + property + " needs a boolean, not value type " +
                std::to_string(type));
  }
  return type == vaTrue;
}

uint32_t ReadColorValue(TByteReader& reader, uint8_t type, const std::string& property) {
  if (type != vaIdent) return static_cast<uint32_t>(ReadIntegerValue(reader, type, property));
  const std::string ident = ReadShortString(reader);
  uint32_t color = 0;
  if (!ColorFromIdent(ident, color)) reader.Fail("unknown colour name \"" + ident + "\"");
  return color;
}

// The binary value of Picture.Data: the picture kind's class name, then the kind's own data.
TPicture ReadPictureValue(TByteReader& reader, uint8_t type) {
  if (type != vaBinary) {
    reader.Fail("property Picture.Data needs binary data, not value type " + std::to_string(type));
  }
  const size_t length = ReadLength(reader, 1, "picture data");
  const size_t end = reader.Position() + length;
  const std::string className = ReadShortString(reader);
  TPicture picture;
  picture.Kind = PictureKindOfClass(className);
  if (picture.Kind == TPicture::TKind::None)
    reader.Fail("unknown picture kind \"" + className + "\"");
  if (reader.Position() > end) reader.Fail("picture kind name runs past the picture data");
  size_t count = end - reader.Position();
  if (picture.Kind == TPicture::TKind::Bitmap) {
    if (count < 4) reader.Fail("bitmap byte count runs past the picture data");
    count = reader.U32();
    if (count > end - reader.Position()) {
      reader.Fail("bitmap of " + std::to_string(count) + " bytes runs past the picture data");
    }
  }
  picture.Data = reader.Bytes(count);
  reader.Seek(end);
  int32_t width = 0;
  int32_t height = 0;
  std::string error;
  if (!picture.Data.empty() && !PictureSize(picture, width, height, error)) reader.Fail(error);
  return picture;
}

void ReadItemProperty(TByteReader& reader, TImageListItem& item) {
  const std::string property = ReadShortString(reader);
  const uint8_t type = reader.U8();
  if (property == "Name") {
    item.Name = ReadStringValue(reader, type, property);
  } else if (property == "Picture.Data") {
    item.Picture = ReadPictureValue(reader, type);
  } else if (property == "TileHeight") {
    item.SetTileHeight(ReadIntegerValue(reader, type, property));
  } else if (property == "TileWidth") {
    item.SetTileWidth(ReadIntegerValue(reader, type, property));
  } else if (property == "TransparentColor") {
    item.TransparentColor = ReadColorValue(reader, type, property);
  } else if (property == "Transparent") {
    item.Transparent = ReadBooleanValue(reader, type, property);
  } else if (property == "Filepath") {
    item.Filepath = ReadStringValue(reader, type, property);
  } else {
    reader.Fail("unknown entry property \"" + property + "\"");
  }
}

void ReadCollection(TByteReader& reader, TImageListCollection& collection) {
  if (reader.Peek() != vaNull) collection.Clear();
  while (reader.Peek() != vaNull) {
    const uint8_t next = reader.Peek();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32) ReadInteger(reader, "order");
    TImageListItem& item = *collection.Add();
    if (reader.U8() != vaList) reader.Fail("collection item does not start with a list");
    while (reader.Peek() != vaNull) ReadItemProperty(reader, item);
    reader.U8();
  }
  reader.U8();
}

void ReadRootProperty(TByteReader& reader, TImageListCollection& collection) {
  const std::string property = ReadShortString(reader);
  const uint8_t type = reader.U8();
  if (property == "List" && type == vaCollection) {
    ReadCollection(reader, collection);
  } else if (property == "Tag") {
    ReadIntegerValue(reader, type, property);
  } else {
    reader.Fail("unknown property \"" + property + "\" of value type " + std::to_string(type));
  }
}

// The one-entry resource header: 0xFF, type 10, a 0-terminated name, flags and size.
void SkipResourceHeader(TByteReader& reader, size_t size) {
  const size_t count = std::min(size, kResourceHeaderRead);
  const std::vector<uint8_t> header = reader.Bytes(count);
  if (count < 3 || header[0] != kResourceMarker ||
      (header[1] | header[2] << 8) != kResourceTypeRawData) {
    reader.Seek(0);
    reader.Fail("no resource header of type 10");
  }
  const auto nameEnd = std::find(header.begin() + 3, header.end(), 0);
  const auto nameLength = static_cast<size_t>(nameEnd - (header.begin() + 3));
  const size_t streamStart = nameLength + 10;
  if (streamStart > size) reader.Fail("resource header runs past the end");
  reader.Seek(streamStart);
}

void ReadRoot(TByteReader& reader, TImageListCollection& collection) {
  if (reader.Remaining() < 4 || reader.Text(4) != kSignature) {
    reader.Fail("no \"TPF0\" signature");
  }
  if ((reader.Peek() & 0xF0) == 0xF0) {
    const uint8_t flags = reader.U8() & 0x0F;
    if (flags & 2) ReadInteger(reader, "child position");
  }
  ReadShortString(reader);  // class name
  ReadShortString(reader);  // object name
  while (reader.Peek() != vaNull) ReadRootProperty(reader, collection);
  reader.U8();
  if (reader.Peek() != vaNull) reader.Fail("unexpected child object");
  reader.U8();
}

}  // namespace

std::vector<uint8_t> WriteImageListFile(const std::vector<TImageListFileEntry>& entries) {
  const std::vector<uint8_t> stream = ComponentStream(entries);
  std::vector<uint8_t> out;
  out.push_back(kResourceMarker);
  PutLe(out, kResourceTypeRawData, 2);
  PutBytes(out, kResourceName);
  out.push_back(0);
  PutLe(out, kResourceFlags, 2);
  PutLe(out, static_cast<uint32_t>(stream.size()), 4);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

bool ReadImageListStream(const std::vector<uint8_t>& stream, TImageListCollection& collection,
                         std::string& error) {
  TByteReader reader(stream);
  try {
    SkipResourceHeader(reader, stream.size());
    ReadRoot(reader, collection);
  } catch (const TStreamError& e) {
    error = e.what();
    return false;
  }
  return true;
}

}  // namespace vexel
