// The package file: a 305-byte header of text fields, a directory of 57-byte
// entries, then the stored contents back to back. Every number is decimal text.
//
//   offset  size  field
//   0       1     marker byte 0x49 (ignored by readers)
//   1       10    family id        text fields: the text, then a zero byte when shorter
//   11      16    object id        than the field; cut to the field when longer
//   27      16    creator id
//   43      50    short note
//   93      200   long note
//   293     12    file count: digits, a zero byte, spaces
//   305     57*n  directory: 12 bytes of size (digits, spaces), 45 bytes of stored name (name, spaces)
//
// A stored name ending in "__" marks a compressed file; its plain name lacks the suffix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ixo::package {

inline constexpr char kMarker = 0x49;
inline constexpr size_t kHeaderSize = 305;
inline constexpr size_t kEntrySize = 57;

struct Field {
  size_t offset;
  size_t size;
};

inline constexpr Field kFamilyIdField{1, 10};
inline constexpr Field kObjectIdField{11, 16};
inline constexpr Field kCreatorIdField{27, 16};
inline constexpr Field kShortNoteField{43, 50};
inline constexpr Field kLongNoteField{93, 200};
inline constexpr Field kCountField{293, 12};
inline constexpr Field kEntrySizeField{0, 12};
inline constexpr Field kEntryNameField{12, 45};

inline constexpr int kMaxFiles = 4999;
inline constexpr int kMaxDirectoryEntries = 5000;
inline constexpr size_t kMaxFileNameLength = 44;
inline constexpr std::string_view kCompressedSuffix = "__";

struct PackageHeader {
  std::string family_id;
  std::string object_id;
  std::string creator_id;
  std::string short_note;
  std::string long_note;
  std::string count_text;  // the count field up to its first zero byte
};

struct DirectoryEntry {
  uint64_t size = 0;
  std::string stored_name;
  uint64_t offset = 0;  // where the content starts in the package file
};

struct PackageIndex {
  PackageHeader header;
  std::vector<DirectoryEntry> entries;
};

// The text of a field: its bytes up to the first zero byte.
std::string ReadTextField(std::string_view block, Field field);
// Writes text into a field: cut to the field, then a zero byte when shorter.
void WriteTextField(std::string& block, Field field, std::string_view text);

// A stored name that can only be a plain file name: not empty, no "/", "\",
// zero byte or drive colon, not "." or "..". Anything else could write outside
// the destination folder.
bool IsSafeStoredName(std::string_view name);

}  // namespace ixo::package
