// Sixteen bytes at a time on x86-64: the difference times the opacity fits a
// signed 16-bit lane (|255 × 100| < 32768), and the division by 100 is a multiply
// by 5243 / 2^19 (high half, then a shift of 3), which truncation toward zero
// corrects by one for negative lanes. That is exact over the whole range.
#include "graphics/kernels/byte_blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ixo::graphics::kernel {

void BlendBytes(uint8_t* destination, const uint8_t* source, size_t n, int opacity) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i scale = _mm_set1_epi16(static_cast<int16_t>(opacity));
  const __m128i reciprocal = _mm_set1_epi16(5243);
  auto half = [&](__m128i d, __m128i s) {
    const __m128i product = _mm_mullo_epi16(_mm_sub_epi16(s, d), scale);
    __m128i quotient = _mm_srai_epi16(_mm_mulhi_epi16(product, reciprocal), 3);
    quotient = _mm_sub_epi16(quotient, _mm_srai_epi16(product, 15));
    return _mm_add_epi16(d, quotient);
  };
  for (; i + 16 <= n; i += 16) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + i));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
    const __m128i low = half(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
    const __m128i high = half(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), _mm_packus_epi16(low, high));
  }
#endif
  for (; i < n; ++i)
    destination[i] = static_cast<uint8_t>(destination[i] + (source[i] - destination[i]) * opacity / 100);
}

}  // namespace ixo::graphics::kernel
