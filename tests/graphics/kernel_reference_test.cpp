// The row kernels against the plain reference kernels on seeded random images of
// odd sizes, with random areas that reach past the images' edges and random
// effect and deform parameters. Set IXO_KERNEL_VERBOSE=1 to print each case.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include "graphics/kernels/kernels.h"
#include "graphics/kernels/reference_kernels.h"

namespace ixo::graphics {
namespace {

class KernelReferenceTest : public testing::Test {
 protected:
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  Image RandomImage() {
    Image image(Between(1, 23), Between(1, 19), Between(0, 1) ? 24 : 32);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < static_cast<int>(image.stride()); ++x)
        // Few distinct values, so that key colours and ignored colours occur.
        image.row(y)[x] = static_cast<uint8_t>(Between(0, 3) * 85);
    return image;
  }

  CopyArea RandomArea() {
    if (Between(0, 3) == 0) {  // unscaled
      const int w = Between(1, 25), h = Between(1, 25);
      return {Between(-6, 20), Between(-6, 20), w, h, Between(-6, 20), Between(-6, 20), w, h};
    }
    return {Between(-6, 20), Between(-6, 20), Between(-2, 25), Between(-2, 25),
            Between(-6, 20), Between(-6, 20), Between(-2, 30), Between(-2, 30)};
  }

  EffectParameters RandomEffects() {
    EffectParameters effects;
    effects.mode = Between(0, 4);
    effects.x_step = Between(-1, 3);
    effects.y_step = Between(-1, 3);
    for (int k = 0; k < 3; ++k) {
      effects.opacity[k] = Between(0, 4) == 0 ? 100 : Between(-20, 130);
      effects.shift[k] = Between(0, 2) == 0 ? Between(-5, 7) : 0;
    }
    // One opacity for every channel takes the vector path of unscaled copies.
    if (Between(0, 3) == 0) effects.opacity.fill(Between(0, 1) ? 100 : Between(1, 100));
    effects.cycle_length = Between(-1, 4);
    return effects;
  }

  DeformParameters RandomDeform() {
    if (Between(0, 1) == 0) return {};
    return {Between(-3, 12), Between(-3, 12), Between(-3, 12), Between(-3, 12)};
  }

  static uint64_t Hash(uint64_t hash, const Image& image) {
    auto mix = [&](uint64_t value) { hash = (hash ^ value) * 1099511628211ull; };
    mix(static_cast<uint64_t>(image.width()));
    mix(static_cast<uint64_t>(image.height()));
    mix(static_cast<uint64_t>(image.bits_per_pixel()));
    for (int y = 0; y < image.height(); ++y)
      for (size_t x = 0; x < image.stride(); ++x) mix(image.row(y)[x]);
    return hash;
  }

  static bool Same(const Image& a, const Image& b) { return Hash(14695981039346656037ull, a) == Hash(14695981039346656037ull, b); }

  // Runs a case on copies of the images through both versions (on one image when
  // self is set) and compares every image afterwards.
  void Compare(const std::string& description, Image source, Image destination, bool self,
               const std::function<void(Image&, Image&, bool reference)>& run) {
    if (std::getenv("IXO_KERNEL_VERBOSE")) std::cout << description << "\n";
    Image fast_source = source, fast_destination = self ? source : destination;
    Image plain_source = source, plain_destination = self ? source : destination;
    if (self) {
      run(fast_destination, fast_destination, false);
      run(plain_destination, plain_destination, true);
    } else {
      run(fast_source, fast_destination, false);
      run(plain_source, plain_destination, true);
      ASSERT_TRUE(Same(fast_source, plain_source)) << description;
    }
    ASSERT_TRUE(Same(fast_destination, plain_destination)) << description;
    checksum_ = Hash(checksum_, fast_destination);
  }

  std::string Describe(const char* kernel, const CopyArea& a, const EffectParameters& e, const DeformParameters& d,
                       bool self) {
    std::ostringstream out;
    out << kernel << (self ? " self" : "") << " area " << a.sx << "," << a.sy << "," << a.sw << "," << a.sh << " -> "
        << a.dx << "," << a.dy << "," << a.dw << "," << a.dh << " mode " << e.mode << " steps " << e.x_step << ","
        << e.y_step << " opacity " << e.opacity[0] << "," << e.opacity[1] << "," << e.opacity[2] << " shift "
        << e.shift[0] << "," << e.shift[1] << "," << e.shift[2] << " cycle " << e.cycle_length << " deform "
        << d.top_left << "," << d.top_right << "," << d.bottom_left << "," << d.bottom_right;
    return out.str();
  }

  std::mt19937 random_{20261211};
  uint64_t checksum_ = 14695981039346656037ull;
};

TEST_F(KernelReferenceTest, RowKernelsMatchTheReferenceOnRandomImages) {
  for (int round = 0; round < 1000; ++round) {
    const Image source = RandomImage();
    const Image destination = RandomImage();
    const CopyArea area = RandomArea();
    const EffectParameters effects = RandomEffects();
    const DeformParameters deform = RandomDeform();
    const bool self = Between(0, 5) == 0;
    const bool transparent = Between(0, 1) == 0;
    const int32_t key = Between(0, 1) ? kAutomaticKey : Between(0, 3) * 0x555555;

    Compare(Describe("ScaledCopy", area, effects, deform, self), source, destination, self,
            [&](Image& s, Image& d, bool reference) {
              (reference ? reference::ScaledCopy : ScaledCopy)(s, d, area, effects, deform);
            });
    Compare(Describe("BlendedCopy", area, effects, deform, self), source, destination, self,
            [&](Image& s, Image& d, bool reference) {
              (reference ? reference::BlendedCopy : BlendedCopy)(s, d, area, transparent, key, effects, deform);
            });
    const uint32_t colour = static_cast<uint32_t>(Between(0, 0xFFFFFF));
    const int opacity = Between(-30, 140);
    Compare(Describe("TintedFill", area, effects, deform, false), source, destination, false,
            [&](Image&, Image& d, bool reference) {
              (reference ? reference::TintedFill : TintedFill)(d, area.dx, area.dy, area.dw, area.dh, colour, opacity);
            });
    const int channel = Between(0, 2);
    Compare(Describe("BrushPaint", area, effects, deform, self), source, destination, self,
            [&](Image& s, Image& d, bool reference) {
              (reference ? reference::BrushPaint : BrushPaint)(s, d, area.sx, area.sy, area.sw, area.sh, area.dx,
                                                               area.dy, colour, opacity, channel);
            });
    const auto operation = static_cast<RasterOperation>(Between(0, 10));
    Compare(Describe("RasterCopy", area, effects, deform, self), source, destination, self,
            [&](Image& s, Image& d, bool reference) {
              (reference ? reference::RasterCopy : RasterCopy)(s, d, area.sx, area.sy, area.sw, area.sh, area.dx,
                                                               area.dy, operation, colour);
            });
    const bool clockwise = Between(0, 1) == 0;
    Compare(Describe("RotateImage", area, effects, deform, self), source, destination, self,
            [&](Image& s, Image& d, bool reference) { (reference ? reference::RotateImage : RotateImage)(s, d, clockwise); });
    Image fast_image = destination, fast_other = source, plain_image = destination, plain_other = source;
    const uint32_t ignored = static_cast<uint32_t>(Between(0, 3) * 0x555555);
    const auto fast = CompareImages(fast_image, fast_other, area.sx, area.sy, area.sw, area.sh, area.dx, area.dy, ignored);
    const auto plain =
        reference::CompareImages(plain_image, plain_other, area.sx, area.sy, area.sw, area.sh, area.dx, area.dy, ignored);
    ASSERT_EQ(fast.has_value(), plain.has_value()) << Describe("CompareImages", area, effects, deform, false);
    if (fast) {
      EXPECT_EQ(fast->colour, plain->colour);
      EXPECT_EQ(fast->x, plain->x);
      EXPECT_EQ(fast->y, plain->y);
    }
  }
  // The same seed gives the same images and results on every machine.
  std::cout << "kernel checksum " << std::hex << checksum_ << "\n";
}

}  // namespace
}  // namespace ixo::graphics
