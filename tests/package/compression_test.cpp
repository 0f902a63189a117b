#include "package/compression.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "package/bit_reader.h"
#include "package/bit_writer.h"
#include "package/byte_stream.h"
#include "package/huffman_model.h"
#include "package/lzhuf_expander.h"
#include "package/position_code.h"

namespace ixo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

// Deterministic pseudo-random numbers, so every run codes the same data.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  uint32_t state_;
};

// Text-like data: words from a small vocabulary with some raw bytes between,
// so it holds literals, matches of every length, equal-length match ties and
// enough symbols to rebuild the Huffman tree several times.
std::string MixedData(size_t size, uint32_t seed) {
  static constexpr const char* kWords[] = {"window ", "create ", "event ", "load ", "the ", "ixo ",
                                           "image\n", "0123456789", "  ", "if ", "while ", "end\n"};
  Lcg rng(seed);
  std::string data;
  while (data.size() < size) {
    uint32_t pick = rng.Next() % 16;
    if (pick < 12) {
      data += kWords[pick];
    } else {
      data.push_back(static_cast<char>(rng.Next()));
    }
  }
  data.resize(size);
  return data;
}

uint64_t Fnv1a(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 0x100000001b3ull;
  return hash;
}

std::string AllByteValues(int repeats) {
  std::string data;
  for (int round = 0; round < repeats; ++round) {
    for (int value = 0; value < 256; ++value) data.push_back(static_cast<char>(value));
  }
  return data;
}

// ---------------------------------------------------------------- round trips

struct RoundTripCase {
  const char* name;
  std::string data;
};

class RoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTripTest, ExpandsToTheOriginalBytes) {
  const std::string& data = GetParam().data;
  std::string stream = CompressBytes(data);
  std::optional<std::string> expanded = ExpandBytes(stream);
  ASSERT_TRUE(expanded.has_value());
  EXPECT_EQ(expanded->size(), data.size());
  EXPECT_TRUE(*expanded == data);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RoundTripTest,
    testing::Values(RoundTripCase{"empty", ""}, RoundTripCase{"one_byte", "A"},
                    RoundTripCase{"twenty_spaces", std::string(20, ' ')},
                    // Shorter than the look-ahead: the priming reads fewer than 15 bytes.
                    RoundTripCase{"shorter_than_look_ahead", "abcdefgh"},
                    // Ring wrap and the mirrored bytes at the end of the ring.
                    RoundTripCase{"ring_size", MixedData(4096, 1)},
                    RoundTripCase{"ring_size_plus_one", MixedData(4097, 2)},
                    RoundTripCase{"several_rings", MixedData(50000, 3)},
                    RoundTripCase{"mixed_megabyte", MixedData(1 << 20, 4)},
                    RoundTripCase{"all_byte_values", AllByteValues(40)},
                    // 40,000 symbols of the longest match: drives the tree rebuild.
                    RoundTripCase{"long_run", std::string(600000, 'a')},
                    // 70,000 literals, no matches: rebuilds with a flat tree.
                    RoundTripCase{"no_matches",
                                  [] {
                                    Lcg rng(9);
                                    std::string data(70000, '\0');
                                    for (char& byte : data) byte = static_cast<char>(rng.Next());
                                    return data;
                                  }()}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ exact encodings

TEST(CompressionFormatTest, HeaderHoldsMagicAndBigEndianLength) {
  std::string stream = CompressBytes(std::string(300, 'x'));
  EXPECT_EQ(stream.substr(0, 5), Bytes({0x1F, 0x00, 0x00, 0x01, 0x2C}));
  EXPECT_EQ(CompressBytes(""), Bytes({0x1F, 0, 0, 0, 0}));
}

// Known answers. In the starting tree the leaves 0..268 are paired in order
// (0-1 under 269, 2-3 under 270, ...), so every code can be read off the
// positions: a node's bit is its position's parity, the root's child first.
//  - "A" (symbol 65): path 65, 301, 419, 478, 508, 523, 530, 534 gives the
//    bits 1,1,1,0,0,1,0,0 from the leaf up, so the code is 00100111 = 0x27,
//    exactly one byte and no padding.
//  - 20 x "a": the first "a" has no earlier "a" in the ring, so it is a
//    literal; its path 97, 317, 427, 482, 510, 524, 531, 534 gives 0x47.
//    Then a 15-byte match at distance 1 (position 0): the model update has
//    moved symbol 268 into the leaf "a" had, so its code is again 0x47,
//    followed by position code 000 and six zero bits. The last 4 bytes are a
//    match of length 4 (symbol 257, code 11100111 untouched by the updates)
//    at position 0 again, then zero padding.
//  - 20 spaces: the pre-filled spaces match at once. Symbol 268 starts with
//    the code 11110010 (0xF2); the newest full match in the space tree is
//    ring position 4066, 15 back from 4081, so the position is 14: code 000
//    then 001110.
// The whole of each stream, and the hash of the larger one below, were also
// checked against a separate step-by-step transcription of the algorithm.
struct KnownAnswer {
  std::string input;
  std::string stream;
};

TEST(CompressionFormatTest, SmallInputsGiveTheKnownStreams) {
  const KnownAnswer cases[] = {
      {"A", Bytes({0x1F, 0, 0, 0, 0x01, 0x27})},
      {std::string(20, 'a'), Bytes({0x1F, 0, 0, 0, 0x14, 0x47, 0x47, 0x00, 0x73, 0x80, 0x00})},
      {std::string(20, ' '), Bytes({0x1F, 0, 0, 0, 0x14, 0xF2, 0x07, 0x74, 0x02, 0x40})},
      {"abcabcabcabc", Bytes({0x1F, 0, 0, 0, 0x0C, 0x47, 0x48, 0x49, 0xEC, 0x01, 0x00})},
  };
  for (const KnownAnswer& known : cases) {
    EXPECT_EQ(CompressBytes(known.input), known.stream) << "input of " << known.input.size() << " bytes";
    EXPECT_EQ(ExpandBytes(known.stream), known.input);
  }
}

// Pins the match finder's tie rules and the rebuild order on a larger input:
// any deviation changes the bytes long before it breaks a round trip.
TEST(CompressionFormatTest, MixedDataGivesTheKnownStream) {
  std::string stream = CompressBytes(MixedData(600000, 77));
  EXPECT_EQ(stream.size(), 165309u);
  EXPECT_EQ(Fnv1a(stream), 0x25afaa0ffac3638bull);
}

TEST(CompressionFormatTest, PositionCodeIsTheCanonicalPrefixCode) {
  const auto& tables = position_code::kTables;
  const int first_left_aligned[] = {0x00, 0x20, 0x30, 0x40, 0x50, 0x58};
  for (int entry = 0; entry < 6; ++entry) {
    EXPECT_EQ(tables.code[entry] << (8 - tables.length[entry]), first_left_aligned[entry]);
  }
  EXPECT_EQ(tables.code[62], 0xFE);
  EXPECT_EQ(tables.code[63], 0xFF);
  // Every byte decodes to the entry whose code starts it.
  for (int byte = 0; byte < 256; ++byte) {
    int entry = tables.entry_of_byte[byte];
    int length = tables.length_of_byte[byte];
    EXPECT_EQ(byte >> (8 - length), tables.code[entry]) << "byte " << byte;
  }
}

// ----------------------------------------------------------- Huffman model

TEST(HuffmanModelTest, RebuildsWhenTheRootReachesTheLimit) {
  HuffmanModel model;
  EXPECT_EQ(model.root_frequency(), 269);
  for (int i = 0; i < 32499; ++i) model.Update(i % 7);
  EXPECT_EQ(model.root_frequency(), 0x8000);
  model.Update(3);
  // Halved leaves (rounded up) plus the new occurrence.
  EXPECT_LT(model.root_frequency(), 0x8000 / 2 + 269);
  EXPECT_GT(model.root_frequency(), 0x8000 / 2);
}

// Frequencies in a Fibonacci-like shape make the rarest symbols' codes longer
// than 16 bits. The writer must keep every bit of them; a 16-bit code
// register would drop the first ones and the decoder would fall out of step.
TEST(HuffmanModelTest, CodesLongerThanSixteenBitsSurviveCoding) {
  std::vector<int> symbols;
  for (int64_t a = 300, b = 300, symbol = 0, total = 269; total + a < 32000; ++symbol) {
    for (int64_t i = 0; i < a; ++i) symbols.push_back(static_cast<int>(symbol));
    total += a;
    int64_t next = a + b;
    a = b;
    b = next;
  }
  for (int symbol = 200; symbol < 269; ++symbol) symbols.push_back(symbol);

  std::string stream;
  StringSink sink(stream);
  BitWriter writer(sink);
  HuffmanModel coder;
  int longest = 0;
  for (int symbol : symbols) {
    HuffmanModel::Code code = coder.CodeOf(symbol);
    longest = std::max(longest, code.length);
    writer.PutBits(code.bits, code.length);
    coder.Update(symbol);
  }
  ASSERT_TRUE(writer.Finish());
  EXPECT_GT(longest, 16);

  MemorySource source(stream);
  BitReader reader(source);
  HuffmanModel decoder;
  for (size_t i = 0; i < symbols.size(); ++i) {
    int symbol = decoder.DecodeSymbol(reader);
    ASSERT_EQ(symbol, symbols[i]) << "symbol " << i;
    decoder.Update(symbol);
  }
  EXPECT_FALSE(reader.overran());
}

// --------------------------------------------------------- malformed streams

TEST(ExpandTest, EveryCutShortStreamIsRejected) {
  for (const std::string& data : {std::string("A"), std::string(20, ' '), MixedData(3000, 5)}) {
    std::string stream = CompressBytes(data);
    for (size_t length = 0; length < stream.size(); ++length) {
      EXPECT_EQ(ExpandBytes(stream.substr(0, length)), std::nullopt)
          << "cut at " << length << " of " << stream.size();
    }
  }
}

TEST(ExpandTest, BadHeadersAreRejected) {
  std::string stream = CompressBytes("hello hello hello");
  std::string wrong_magic = stream;
  wrong_magic[0] = 0x1E;
  EXPECT_EQ(ExpandBytes(wrong_magic), std::nullopt);
  EXPECT_EQ(ExpandBytes(""), std::nullopt);
  EXPECT_EQ(ExpandBytes(Bytes({0x1F, 0, 0})), std::nullopt);
  // A length of zero needs no bits at all.
  EXPECT_EQ(ExpandBytes(Bytes({0x1F, 0, 0, 0, 0})), std::string());
}

// A hostile header declaring 4 GiB over a few bytes of bits stops as soon as
// the bits run out instead of reserving or producing the declared length.
TEST(ExpandTest, HugeDeclaredLengthStopsWhenInputEnds) {
  for (int filler : {0x00, 0xFF, 0x5A}) {
    std::string stream = Bytes({0x1F, 0xFF, 0xFF, 0xFF, 0xFF});
    stream.append(5, static_cast<char>(filler));
    EXPECT_EQ(ExpandBytes(stream), std::nullopt) << "filler " << filler;
  }
}

TEST(ExpandTest, GarbageNeverOverrunsTheDeclaredLength) {
  Lcg rng(21);
  for (int round = 0; round < 2000; ++round) {
    std::string stream = Bytes({0x1F, 0, 0, 0, static_cast<int>(rng.Next() % 64)});
    size_t size = rng.Next() % 40;
    for (size_t i = 0; i < size; ++i) stream.push_back(static_cast<char>(rng.Next()));
    std::optional<std::string> expanded = ExpandBytes(stream);
    if (expanded) {
      EXPECT_EQ(expanded->size(), static_cast<uint8_t>(stream[4]));
    }
  }
}

// The last match of 20 x "a" covers 4 bytes; declaring fewer ends the output
// inside that match, exactly at the declared length.
TEST(ExpandTest, LastMatchIsCutAtTheDeclaredLength) {
  std::string stream = CompressBytes(std::string(20, 'a'));
  for (int declared : {17, 18, 19}) {
    stream[4] = static_cast<char>(declared);
    EXPECT_EQ(ExpandBytes(stream), std::string(declared, 'a'));
  }
  // Fewer than the first match: cut inside the 15-byte match.
  stream[4] = 3;
  EXPECT_EQ(ExpandBytes(stream), std::string(3, 'a'));
}

TEST(ExpandTest, BytesAfterTheDeclaredLengthAreIgnored) {
  std::string data = MixedData(1000, 6);
  EXPECT_EQ(ExpandBytes(CompressBytes(data) + "trailing"), data);
}

// The expander hands out output in pieces of any size and resumes inside a match.
TEST(ExpandTest, OutputInSmallPiecesMatchesTheWhole) {
  std::string data = MixedData(20000, 8) + std::string(100, 'z');
  std::string stream = CompressBytes(data);
  for (size_t piece : {size_t{1}, size_t{7}, size_t{4096}}) {
    MemorySource source(stream);
    LzhufExpander expander(source);
    std::string out;
    std::vector<char> buffer(piece);
    size_t produced;
    do {
      produced = expander.Read(buffer.data(), piece);
      out.append(buffer.data(), produced);
    } while (produced == piece);
    EXPECT_EQ(expander.status(), LzhufExpander::Status::kFinished);
    EXPECT_EQ(expander.declared_length(), data.size());
    EXPECT_TRUE(out == data) << "piece " << piece;
  }
}

// ------------------------------------------------------------------- files

class CompressionFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("ixo_compression_" + std::to_string(::getpid()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }

  static void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
};

TEST_F(CompressionFileTest, RoundTripMatchesTheInMemoryStream) {
  std::string data = MixedData(300000, 10);
  WriteFile(Path("in.txt"), data);
  ASSERT_TRUE(CompressFile(Path("in.txt"), Path("in.txt__")));
  EXPECT_EQ(ReadFile(Path("in.txt__")), CompressBytes(data));
  ASSERT_TRUE(ExpandFile(Path("in.txt__"), Path("out.txt")));
  EXPECT_TRUE(ReadFile(Path("out.txt")) == data);
}

TEST_F(CompressionFileTest, MissingSourceFailsWithoutCreatingTheDestination) {
  EXPECT_FALSE(CompressFile(Path("absent"), Path("dest")));
  EXPECT_FALSE(ExpandFile(Path("absent"), Path("dest")));
  EXPECT_FALSE(std::filesystem::exists(Path("dest")));
}

TEST_F(CompressionFileTest, UncreatableDestinationFails) {
  WriteFile(Path("in"), "data");
  EXPECT_FALSE(CompressFile(Path("in"), Path("no_such_dir/out")));
  WriteFile(Path("stream"), CompressBytes("data"));
  EXPECT_FALSE(ExpandFile(Path("stream"), Path("no_such_dir/out")));
}

// An empty file compresses to the bare header and reports failure; that
// header expands to an empty file, again reporting failure.
TEST_F(CompressionFileTest, EmptyFileLeavesTheBareHeader) {
  WriteFile(Path("empty"), "");
  EXPECT_FALSE(CompressFile(Path("empty"), Path("empty__")));
  EXPECT_EQ(ReadFile(Path("empty__")), Bytes({0x1F, 0, 0, 0, 0}));
  EXPECT_FALSE(ExpandFile(Path("empty__"), Path("restored")));
  ASSERT_TRUE(std::filesystem::exists(Path("restored")));
  EXPECT_EQ(ReadFile(Path("restored")), "");
}

TEST_F(CompressionFileTest, MalformedStreamFails) {
  WriteFile(Path("magic"), "not a stream");
  EXPECT_FALSE(ExpandFile(Path("magic"), Path("out1")));
  EXPECT_EQ(ReadFile(Path("out1")), "");

  std::string stream = CompressBytes(MixedData(5000, 11));
  WriteFile(Path("cut"), stream.substr(0, stream.size() - 1));
  EXPECT_FALSE(ExpandFile(Path("cut"), Path("out2")));
}

}  // namespace
}  // namespace ixo
