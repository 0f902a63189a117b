#include "package/package_reader.h"

#include <cctype>
#include <filesystem>
#include <fstream>

namespace ixo::package {

namespace {

// Digits surrounded by spaces, up to the first zero byte; nothing otherwise.
std::optional<uint64_t> ParseDecimalField(std::string_view field) {
  field = field.substr(0, field.find('\0'));
  size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  size_t last = field.find_last_not_of(' ');
  std::string_view digits = field.substr(first, last - first + 1);
  if (digits.size() > 12) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

std::string TrimSpaces(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

PackageHeader ParseHeader(std::string_view block) {
  PackageHeader header;
  header.family_id = ReadTextField(block, kFamilyIdField);
  header.object_id = ReadTextField(block, kObjectIdField);
  header.creator_id = ReadTextField(block, kCreatorIdField);
  header.short_note = ReadTextField(block, kShortNoteField);
  header.long_note = ReadTextField(block, kLongNoteField);
  header.count_text = ReadTextField(block, kCountField);
  return header;
}

bool ReadExactly(std::ifstream& file, std::string& buffer, size_t size) {
  buffer.resize(size);
  return static_cast<bool>(file.read(buffer.data(), static_cast<std::streamsize>(size)));
}

}  // namespace

std::optional<PackageHeader> ReadHeader(const std::string& package_path) {
  std::ifstream file(package_path, std::ios::binary);
  std::string block;
  if (!file || !ReadExactly(file, block, kHeaderSize)) return std::nullopt;
  return ParseHeader(block);
}

std::optional<PackageIndex> ReadIndex(const std::string& package_path, std::string& error) {
  std::error_code size_error;
  uint64_t file_size = std::filesystem::file_size(package_path, size_error);
  std::ifstream file(package_path, std::ios::binary);
  if (!file || size_error) {
    error = "cannot read " + package_path;
    return std::nullopt;
  }
  std::string block;
  if (!ReadExactly(file, block, kHeaderSize)) {
    error = "the file is shorter than a package header";
    return std::nullopt;
  }
  PackageIndex index;
  index.header = ParseHeader(block);
  std::optional<uint64_t> count = ParseDecimalField(index.header.count_text);
  if (!count) {
    error = "the file count is not a number";
    return std::nullopt;
  }
  if (*count > kMaxDirectoryEntries || kHeaderSize + *count * kEntrySize > file_size) {
    error = "the directory does not fit the file";
    return std::nullopt;
  }
  std::string directory;
  if (!ReadExactly(file, directory, *count * kEntrySize)) {
    error = "the directory cannot be read";
    return std::nullopt;
  }
  uint64_t offset = kHeaderSize + *count * kEntrySize;
  for (uint64_t i = 0; i < *count; ++i) {
    std::string_view entry = std::string_view(directory).substr(i * kEntrySize, kEntrySize);
    std::optional<uint64_t> size =
        ParseDecimalField(entry.substr(kEntrySizeField.offset, kEntrySizeField.size));
    if (!size) {
      error = "the size of entry " + std::to_string(i + 1) + " is not a number";
      return std::nullopt;
    }
    if (offset + *size > file_size) {
      error = "the package ends before the contents of entry " + std::to_string(i + 1);
      return std::nullopt;
    }
    std::string_view name_field = entry.substr(kEntryNameField.offset, kEntryNameField.size);
    index.entries.push_back({*size, TrimSpaces(name_field), offset});
    offset += *size;
  }
  return index;
}

std::string HeaderText(const PackageHeader& header) {
  return header.object_id + "^^" + header.creator_id + "^^" + header.short_note + "^^" + header.long_note + "^^" +
         header.family_id + "^^" + header.count_text;
}

}  // namespace ixo::package
