// The difference times the opacity fits a signed 16-bit lane (|255 × 100| <
// 32768), and the division by 100 is a multiply by 5243 / 2^19 (high half, then
// a shift of 3), which truncation toward zero corrects by one for negative
// lanes; that is exact over the whole range. The same steps run sixteen bytes at
// a time with SSE2 (every x86-64 has it) or thirty-two with AVX2 where the
// processor has it.
#include "graphics/kernels/byte_blend.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ixo::graphics::kernel {

namespace {

void BlendTail(uint8_t* destination, const uint8_t* source, size_t from, size_t n, int opacity) {
  for (size_t i = from; i < n; ++i)
    destination[i] = static_cast<uint8_t>(destination[i] + (source[i] - destination[i]) * opacity / 100);
}

#if defined(__x86_64__)

void BlendSse2(uint8_t* destination, const uint8_t* source, size_t n, int opacity) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i scale = _mm_set1_epi16(static_cast<int16_t>(opacity));
  const __m128i reciprocal = _mm_set1_epi16(5243);
  auto half = [&](__m128i d, __m128i s) {
    const __m128i product = _mm_mullo_epi16(_mm_sub_epi16(s, d), scale);
    __m128i quotient = _mm_srai_epi16(_mm_mulhi_epi16(product, reciprocal), 3);
    quotient = _mm_sub_epi16(quotient, _mm_srai_epi16(product, 15));
    return _mm_add_epi16(d, quotient);
  };
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + i));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
    const __m128i low = half(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
    const __m128i high = half(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), _mm_packus_epi16(low, high));
  }
  BlendTail(destination, source, i, n, opacity);
}

__attribute__((target("avx2"))) void BlendAvx2(uint8_t* destination, const uint8_t* source, size_t n,
                                                int opacity) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i scale = _mm256_set1_epi16(static_cast<int16_t>(opacity));
  const __m256i reciprocal = _mm256_set1_epi16(5243);
  auto half = [&](__m256i d, __m256i s) __attribute__((target("avx2"))) {
    const __m256i product = _mm256_mullo_epi16(_mm256_sub_epi16(s, d), scale);
    __m256i quotient = _mm256_srai_epi16(_mm256_mulhi_epi16(product, reciprocal), 3);
    quotient = _mm256_sub_epi16(quotient, _mm256_srai_epi16(product, 15));
    return _mm256_add_epi16(d, quotient);
  };
  size_t i = 0;
  // Unpacking and packing both work within 128-bit halves, so the bytes come back in order.
  for (; i + 32 <= n; i += 32) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(destination + i));
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
    const __m256i low = half(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero));
    const __m256i high = half(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + i), _mm256_packus_epi16(low, high));
  }
  BlendSse2(destination + i, source + i, n - i, opacity);
}

using BlendFunction = void (*)(uint8_t*, const uint8_t*, size_t, int);

BlendFunction ChooseBlend() { return __builtin_cpu_supports("avx2") ? BlendAvx2 : BlendSse2; }

#endif

}  // namespace

void BlendBytes(uint8_t* destination, const uint8_t* source, size_t n, int opacity) {
#if defined(__x86_64__)
  static const BlendFunction blend = ChooseBlend();
  blend(destination, source, n, opacity);
#else
  BlendTail(destination, source, 0, n, opacity);
#endif
}

}  // namespace ixo::graphics::kernel
