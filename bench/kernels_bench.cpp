// Pixel kernel benchmark on a 1920×1080 picture, in megapixels per second
// (the MP/s counter), beside memcpy of the same bytes (the ceiling: a kernel
// reads and writes at least that much) and beside pixman doing the closest
// operation: nearest-neighbour scaled copy, blend with a constant alpha, solid
// fill. pixman runs on 24-bit pixels (r8g8b8, our layout, served by its general
// paths) and on 32-bit pixels (x8r8g8b8, its fast paths).
//
// Usage: build/bench/kernels_bench [--benchmark_filter=REGEX] [--benchmark_repetitions=N]
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <vector>

#include "graphics/kernels/kernels.h"
#include "graphics/kernels/reference_kernels.h"
#include "graphics/rasterizer.h"

namespace {

using namespace ixo::graphics;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;

Image Picture(int width, int height, uint32_t seed) {
  Image image(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y)
    for (size_t x = 0; x < image.stride(); ++x) image.row(y)[x] = static_cast<uint8_t>(random());
  return image;
}

void CountPixels(benchmark::State& state, int64_t pixels = kPixels) {
  state.counters["MP/s"] =
      benchmark::Counter(static_cast<double>(pixels) * static_cast<double>(state.iterations()) / 1e6,
                         benchmark::Counter::kIsRate);
}

void Memcpy(benchmark::State& state) {
  const Image source = Picture(kWidth, kHeight, 1);
  Image destination(kWidth, kHeight);
  const size_t bytes = source.stride() * kHeight;
  for (auto _ : state) {
    std::memcpy(destination.row(0), source.row(0), bytes);
    benchmark::ClobberMemory();
  }
  CountPixels(state);
}
BENCHMARK(Memcpy);

void RasterCopySource(benchmark::State& state) {
  Image source = Picture(kWidth, kHeight, 1);
  Image destination(kWidth, kHeight);
  for (auto _ : state) RasterCopy(source, destination, 0, 0, kWidth, kHeight, 0, 0, RasterOperation::kSourceCopy, 0);
  CountPixels(state);
}
BENCHMARK(RasterCopySource);

void RasterCopyInvert(benchmark::State& state) {
  Image source = Picture(kWidth, kHeight, 1);
  Image destination = Picture(kWidth, kHeight, 2);
  for (auto _ : state) RasterCopy(source, destination, 0, 0, kWidth, kHeight, 0, 0, RasterOperation::kSourceInvert, 0);
  CountPixels(state);
}
BENCHMARK(RasterCopyInvert);

// Half-size picture scaled up to the full size.
template <auto Kernel>
void Scaled(benchmark::State& state) {
  Image source = Picture(kWidth / 2, kHeight / 2, 1);
  Image destination(kWidth, kHeight);
  for (auto _ : state) Kernel(source, destination, {0, 0, kWidth / 2, kHeight / 2, 0, 0, kWidth, kHeight}, {}, {});
  CountPixels(state);
}
BENCHMARK(Scaled<ScaledCopy>)->Name("ScaledCopy");
BENCHMARK(Scaled<reference::ScaledCopy>)->Name("ScaledCopy/reference");

void ScaledCopyDeformed(benchmark::State& state) {
  Image source = Picture(kWidth / 2, kHeight / 2, 1);
  Image destination(kWidth, kHeight);
  for (auto _ : state)
    ScaledCopy(source, destination, {0, 0, kWidth / 2, kHeight / 2, 0, 0, kWidth, kHeight}, {}, {40, 0, 0, 40});
  CountPixels(state);
}
BENCHMARK(ScaledCopyDeformed);

template <auto Kernel>
void Blended(benchmark::State& state) {
  Image source = Picture(kWidth, kHeight, 1);
  Image destination = Picture(kWidth, kHeight, 2);
  EffectParameters effects;
  const int opacity = static_cast<int>(state.range(1));
  effects.opacity = {opacity, opacity, opacity};
  const bool keyed = state.range(0) != 0;
  for (auto _ : state)
    Kernel(source, destination, {0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight}, keyed, 0x123456, effects, {});
  CountPixels(state);
}
// Opacity 50, and the keyed copy at opacity 100 that lays sprites down.
BENCHMARK(Blended<BlendedCopy>)->Name("BlendedCopy")->ArgNames({"keyed", "opacity"})->Args({0, 50})->Args({1, 50})->Args({1, 100});
BENCHMARK(Blended<reference::BlendedCopy>)->Name("BlendedCopy/reference")->ArgNames({"keyed", "opacity"})->Args({0, 50});

void BlendedCopyMode2(benchmark::State& state) {
  Image source = Picture(kWidth, kHeight, 1);
  Image destination = Picture(kWidth, kHeight, 2);
  EffectParameters effects;
  effects.mode = 2;
  effects.opacity = {50, 50, 50};
  for (auto _ : state)
    BlendedCopy(source, destination, {0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight}, false, 0, effects, {});
  CountPixels(state);
}
BENCHMARK(BlendedCopyMode2);

template <auto Kernel>
void Tinted(benchmark::State& state) {
  Image image = Picture(kWidth, kHeight, 1);
  for (auto _ : state) Kernel(image, 0, 0, kWidth, kHeight, 0x336699, static_cast<int>(state.range(0)));
  CountPixels(state);
}
BENCHMARK(Tinted<TintedFill>)->Name("TintedFill")->ArgName("opacity")->Arg(50)->Arg(100);
BENCHMARK(Tinted<reference::TintedFill>)->Name("TintedFill/reference")->ArgName("opacity")->Arg(50);

void SolidFill(benchmark::State& state) {
  Image image(kWidth, kHeight);
  for (auto _ : state) FillRectangle(image, 0, 0, kWidth, kHeight, 0x336699);
  CountPixels(state);
}
BENCHMARK(SolidFill);

template <auto Kernel>
void Brush(benchmark::State& state) {
  Image mask = Picture(kWidth, kHeight, 1);
  Image destination = Picture(kWidth, kHeight, 2);
  for (auto _ : state) Kernel(mask, destination, 0, 0, kWidth, kHeight, 0, 0, 0x336699, 80, 1);
  CountPixels(state);
}
BENCHMARK(Brush<BrushPaint>)->Name("BrushPaint");
BENCHMARK(Brush<reference::BrushPaint>)->Name("BrushPaint/reference");

void Compare(benchmark::State& state) {
  Image image = Picture(kWidth, kHeight, 1);
  Image other = image;
  for (auto _ : state) benchmark::DoNotOptimize(CompareImages(image, other, 0, 0, kWidth, kHeight, 0, 0, 0x010203));
  CountPixels(state);
}
BENCHMARK(Compare)->Name("CompareImages");

void Rotate(benchmark::State& state) {
  Image source = Picture(kWidth, kHeight, 1);
  Image destination(kHeight, kWidth);
  for (auto _ : state) RotateImage(source, destination, true);
  CountPixels(state);
}
BENCHMARK(Rotate)->Name("RotateImage");

// pixman on its own buffers of the given format.
struct PixmanPicture {
  PixmanPicture(pixman_format_code_t format, int width, int height, uint32_t seed) {
    const int bytes = PIXMAN_FORMAT_BPP(format) / 8;
    stride = (width * bytes + 3) & ~3;
    pixels.resize(static_cast<size_t>(stride) * height / 4 + 1);
    std::mt19937 random(seed);
    for (uint32_t& word : pixels) word = random();
    image = pixman_image_create_bits(format, width, height, pixels.data(), stride);
  }
  ~PixmanPicture() { pixman_image_unref(image); }
  int stride;
  std::vector<uint32_t> pixels;
  pixman_image_t* image;
};

pixman_format_code_t FormatOf(const benchmark::State& state) {
  return state.range(0) == 24 ? PIXMAN_r8g8b8 : PIXMAN_x8r8g8b8;
}

void PixmanScaledCopy(benchmark::State& state) {
  PixmanPicture source(FormatOf(state), kWidth / 2, kHeight / 2, 1);
  PixmanPicture destination(FormatOf(state), kWidth, kHeight, 2);
  pixman_transform_t transform;
  pixman_transform_init_scale(&transform, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(source.image, &transform);
  pixman_image_set_filter(source.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_SRC, source.image, nullptr, destination.image, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  CountPixels(state);
}
BENCHMARK(PixmanScaledCopy)->ArgName("bits")->Arg(24)->Arg(32);

void PixmanBlend(benchmark::State& state) {
  PixmanPicture source(FormatOf(state), kWidth, kHeight, 1);
  PixmanPicture destination(FormatOf(state), kWidth, kHeight, 2);
  const pixman_color_t half = {0, 0, 0, 0x8000};
  pixman_image_t* mask = pixman_image_create_solid_fill(&half);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_OVER, source.image, mask, destination.image, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  pixman_image_unref(mask);
  CountPixels(state);
}
BENCHMARK(PixmanBlend)->ArgName("bits")->Arg(24)->Arg(32);

void PixmanFill(benchmark::State& state) {
  PixmanPicture destination(FormatOf(state), kWidth, kHeight, 2);
  const pixman_color_t colour = {0x3333, 0x6666, 0x9999, 0xFFFF};
  const pixman_rectangle16_t whole = {0, 0, kWidth, kHeight};
  for (auto _ : state) pixman_image_fill_rectangles(PIXMAN_OP_SRC, destination.image, &colour, 1, &whole);
  CountPixels(state);
}
BENCHMARK(PixmanFill)->ArgName("bits")->Arg(24)->Arg(32);

}  // namespace

BENCHMARK_MAIN();
