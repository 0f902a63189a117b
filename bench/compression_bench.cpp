// Compression coder benchmark against gzip and a plain memory copy.
//
// Usage:
//   build/bench/compression_bench [work-folder]      (default: a folder in /tmp)
//   RUNS=5 build/bench/compression_bench             (best of RUNS, default 3)
//
// Writes a fixed corpus into the work folder (English-like text, a 24-bit BMP
// picture, a script, random bytes, and gzip output of the text), then prints
// per file: its size; our compressed size, ratio (compressed / original) and
// compress and expand speed (in memory); the same for `gzip -6` and `gzip -1`
// run as commands on the same file (their times include starting the process,
// a few milliseconds); and memcpy speed as the ceiling. Speeds are MB/s of
// uncompressed data (1 MB = 10^6 bytes). Exits 1 if any file does not expand
// back to itself, 2 if the corpus cannot be written.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "package/compression.h"

namespace {

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

std::string EnglishText(size_t size) {
  static constexpr const char* kWords[] = {
      "the", "of", "and", "to", "in", "a", "is", "that", "for", "it", "as", "was", "with", "be",
      "by", "on", "not", "he", "this", "are", "or", "his", "from", "at", "which", "but", "have",
      "an", "had", "they", "you", "were", "their", "one", "all", "we", "can", "her", "has", "there",
      "been", "if", "more", "when", "will", "would", "who", "so", "no", "window", "object", "desktop",
      "package", "compression", "dictionary", "position", "frequency", "symbol", "engine", "script"};
  constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];
  Lcg rng(1);
  std::string text;
  size_t line = 0;
  while (text.size() < size) {
    // Skewed choice: low indices (common words) come up far more often.
    uint32_t a = rng.Next() % kWordCount, b = rng.Next() % kWordCount;
    text += kWords[std::min(a, b)];
    line += 1;
    if (rng.Next() % 13 == 0) {
      text += ". ";
    } else if (line % 12 == 0) {
      text += "\n";
    } else {
      text += " ";
    }
  }
  text.resize(size);
  return text;
}

// A 24-bit bottom-up BMP: gradients with a few flat shapes and some noise.
std::string BmpPicture(int width, int height) {
  int row_size = (width * 3 + 3) & ~3;
  uint32_t pixel_bytes = static_cast<uint32_t>(row_size * height);
  std::string bmp(54 + pixel_bytes, '\0');
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(value >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, 54 + pixel_bytes);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bmp[26] = 1;
  bmp[28] = 24;
  put32(34, pixel_bytes);
  Lcg rng(2);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      size_t at = 54 + static_cast<size_t>(y) * row_size + static_cast<size_t>(x) * 3;
      int dx = x - width / 2, dy = y - height / 2;
      uint8_t blue = static_cast<uint8_t>(x * 255 / width), green = static_cast<uint8_t>(y * 255 / height);
      uint8_t red = static_cast<uint8_t>((x + y) / 4);
      if (dx * dx + dy * dy < (height / 4) * (height / 4)) blue = 40, green = 200, red = 220;
      if (x > width / 8 && x < width / 3 && y > height / 8 && y < height / 3) blue = green = red = 250;
      if (rng.Next() % 16 == 0) red = static_cast<uint8_t>(red + rng.Next() % 8);
      bmp[at] = static_cast<char>(blue);
      bmp[at + 1] = static_cast<char>(green);
      bmp[at + 2] = static_cast<char>(red);
    }
  }
  return bmp;
}

std::string ScriptText(size_t size) {
  static constexpr const char* kLines[] = {
      "event load\n", "window create 10 20\n", "  var set counter 0\n", "  if [num eq %counter% 3]\n",
      "    image load back.bmp\n", "  end\n", "  while [num lt %i% 100]\n", "    inc i\n",
      "    str replace %text% old new\n", "  wend\n", "event end\n", "function move x y\n",
      "  window left %x%\n", "  window top %y%\n", "function end\n"};
  Lcg rng(3);
  std::string text;
  while (text.size() < size) {
    text += kLines[rng.Next() % 15];
    if (rng.Next() % 5 == 0) text += "  var set v" + std::to_string(rng.Next() % 1000) + " " +
                                     std::to_string(rng.Next() % 100000) + "\n";
  }
  text.resize(size);
  return text;
}

std::string RandomBytes(size_t size) {
  Lcg rng(4);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(rng.Next());
  return bytes;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

double BestSeconds(int runs, const std::function<void()>& work) {
  double best = 1e30;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

double MegabytesPerSecond(size_t bytes, double seconds) { return bytes / 1e6 / std::max(seconds, 1e-9); }

struct GzipResult {
  double ratio = 0, compress_speed = 0, expand_speed = 0;
};

std::optional<GzipResult> MeasureGzip(const std::string& path, size_t size, const char* level, int runs) {
  std::string packed = path + ".gz" + level;
  std::string compress = std::string("gzip -c ") + level + " '" + path + "' > '" + packed + "'";
  std::string expand = "gzip -dc '" + packed + "' > /dev/null";
  bool ok = true;
  double compress_time = BestSeconds(runs, [&] { ok = ok && std::system(compress.c_str()) == 0; });
  double expand_time = BestSeconds(runs, [&] { ok = ok && std::system(expand.c_str()) == 0; });
  if (!ok) return std::nullopt;
  GzipResult result;
  result.ratio = static_cast<double>(std::filesystem::file_size(packed)) / size;
  result.compress_speed = MegabytesPerSecond(size, compress_time);
  result.expand_speed = MegabytesPerSecond(size, expand_time);
  std::filesystem::remove(packed);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const char* runs_text = std::getenv("RUNS");
  int runs = runs_text ? std::max(1, std::atoi(runs_text)) : 3;
  std::filesystem::path folder =
      argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path() / "ixo_compression_bench";
  std::filesystem::create_directories(folder);

  std::string text = EnglishText(4'000'000);
  std::vector<std::pair<std::string, std::string>> corpus = {
      {"text.txt", text},
      {"picture.bmp", BmpPicture(1024, 768)},
      {"script.ixs", ScriptText(1'000'000)},
      {"random.bin", RandomBytes(2'000'000)},
  };
  for (auto& [name, bytes] : corpus) {
    if (!WriteFile((folder / name).string(), bytes)) return 2;
  }
  // Already-compressed data: gzip's own output for the text.
  std::string text_path = (folder / "text.txt").string();
  std::string gz_path = (folder / "text.txt.gz").string();
  if (std::system(("gzip -c -6 '" + text_path + "' > '" + gz_path + "'").c_str()) == 0) {
    corpus.emplace_back("text.txt.gz", ReadFile(gz_path));
  }

  std::printf("%-12s %9s | %9s %6s %8s %8s | %6s %7s %7s | %6s %7s %7s | %8s\n", "file", "size", "ours",
              "ratio", "comp", "expand", "gz-6", "comp", "expand", "gz-1", "comp", "expand", "memcpy");
  int status = 0;
  for (const auto& entry : corpus) {
    const std::string& name = entry.first;
    const std::string& bytes = entry.second;
    std::string path = (folder / name).string();
    std::string stream;
    double compress_time = BestSeconds(runs, [&] { stream = ixo::CompressBytes(bytes); });
    std::optional<std::string> expanded;
    double expand_time = BestSeconds(runs, [&] { expanded = ixo::ExpandBytes(stream); });
    if (!expanded || *expanded != bytes) {
      std::fprintf(stderr, "%s: expanded data differs\n", name.c_str());
      status = 1;
    }
    std::string copy(bytes.size(), '\0');
    double copy_time = BestSeconds(runs * 3, [&] {
      std::memcpy(copy.data(), bytes.data(), bytes.size());
      asm volatile("" : : "r"(copy.data()) : "memory");  // keep the copy
    });
    GzipResult gzip6 = MeasureGzip(path, bytes.size(), "-6", runs).value_or(GzipResult{});
    GzipResult gzip1 = MeasureGzip(path, bytes.size(), "-1", runs).value_or(GzipResult{});
    std::printf("%-12s %9zu | %9zu %6.3f %8.1f %8.1f | %6.3f %7.1f %7.1f | %6.3f %7.1f %7.1f | %8.0f\n",
                name.c_str(), bytes.size(), stream.size(), static_cast<double>(stream.size()) / bytes.size(),
                MegabytesPerSecond(bytes.size(), compress_time), MegabytesPerSecond(bytes.size(), expand_time),
                gzip6.ratio, gzip6.compress_speed, gzip6.expand_speed, gzip1.ratio, gzip1.compress_speed,
                gzip1.expand_speed, MegabytesPerSecond(bytes.size(), copy_time));
  }
  std::printf("speeds in MB/s of uncompressed data; ratio = compressed size / size; gzip times include process start\n");
  return status;
}
