// The compression coder: LZSS over a 4 KB ring with a 15-byte look-ahead,
// literals and match lengths in an adaptive Huffman code, match positions in
// a static prefix code. See lzhuf_format.h for the stream layout.
//
// Expanding is strict about damaged input: a stream too short for its header,
// with a wrong magic byte, or whose bits run out before the declared length
// has been produced is rejected. Bytes after the point where the declared
// length is reached are ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ixo {

// The compressed stream of `data`; empty data gives the 5-byte header alone.
// Throws std::length_error for data of 4 GiB or more, which the header's
// 32-bit length cannot describe.
std::string CompressBytes(std::string_view data);

// The data of a compressed stream, or nullopt when it is malformed. A header
// declaring length 0 gives empty data.
std::optional<std::string> ExpandBytes(std::string_view stream);

// Compresses one file into another. False when the source cannot be opened
// (the destination is then not created), is 4 GiB or larger, or is empty (the
// destination then holds the 5-byte header), when the destination cannot be
// created, or on a read or write error (the destination keeps what was
// written). Streams through fixed-size buffers.
bool CompressFile(const std::string& source, const std::string& destination);

// Expands one file into another. False when the source cannot be opened (the
// destination is then not created), when the destination cannot be created,
// on a write error, when the stream is malformed (the destination keeps the
// bytes produced before the damage was found), or when it declares length 0
// (the destination is then empty). Streams through fixed-size buffers.
bool ExpandFile(const std::string& source, const std::string& destination);

}  // namespace ixo
