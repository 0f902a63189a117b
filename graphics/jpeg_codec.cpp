// The IJG interface reports errors by calling error_exit, which must not return:
// ours jumps back to the codec function, which then gives nullopt. Nothing with a
// destructor lives between setjmp and the library calls.
#include "graphics/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace ixo::graphics {

namespace {

// A stream with more scans than this is hostile: real progressive files have a few dozen.
constexpr long kMaxScans = 1000;

struct ErrorManager {
  jpeg_error_mgr library;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

// Ends decoding of streams that keep adding scans (each one costs a pass over the picture).
void LimitScans(j_common_ptr info) {
  auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
  if (decoder->is_decompressor && decoder->input_scan_number > kMaxScans) info->err->error_exit(info);
}

void SetUpErrors(ErrorManager& errors) {
  jpeg_std_error(&errors.library);
  errors.library.error_exit = JumpOnError;
  errors.library.emit_message = IgnoreMessage;
}

// Decodes into image, which the caller owns; false on any error.
bool DecodeInto(std::span<const uint8_t> file, Image& image) {
  jpeg_decompress_struct decoder;
  ErrorManager errors;
  jpeg_progress_mgr progress;
  SetUpErrors(errors);
  decoder.err = &errors.library;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&decoder);
    return false;
  }
  jpeg_create_decompress(&decoder);
  progress.progress_monitor = LimitScans;
  decoder.progress = &progress;
  decoder.mem->max_memory_to_use = 512L << 20;
  jpeg_mem_src(&decoder, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&decoder, TRUE);
  if (!IsAllowedSize(static_cast<int>(std::min<JDIMENSION>(decoder.image_width, kMaxImageSide + 1)),
                     static_cast<int>(std::min<JDIMENSION>(decoder.image_height, kMaxImageSide + 1)))) {
    jpeg_destroy_decompress(&decoder);
    return false;
  }
  decoder.out_color_space = JCS_EXT_BGR;
  decoder.dct_method = JDCT_ISLOW;
  decoder.do_fancy_upsampling = TRUE;
  jpeg_start_decompress(&decoder);
  image = Image(static_cast<int>(decoder.output_width), static_cast<int>(decoder.output_height), 24);
  while (decoder.output_scanline < decoder.output_height) {
    JSAMPROW row = image.row(static_cast<int>(decoder.output_scanline));
    jpeg_read_scanlines(&decoder, &row, 1);
  }
  jpeg_finish_decompress(&decoder);
  jpeg_destroy_decompress(&decoder);
  return true;
}

bool EncodeInto(const Image& image, int quality, bool grey, unsigned char*& buffer, unsigned long& size) {
  jpeg_compress_struct encoder;
  ErrorManager errors;
  SetUpErrors(errors);
  encoder.err = &errors.library;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&encoder);
    return false;
  }
  jpeg_create_compress(&encoder);
  jpeg_mem_dest(&encoder, &buffer, &size);
  encoder.image_width = static_cast<JDIMENSION>(image.width());
  encoder.image_height = static_cast<JDIMENSION>(image.height());
  encoder.input_components = 3;
  encoder.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&encoder);
  if (grey) jpeg_set_colorspace(&encoder, JCS_GRAYSCALE);
  jpeg_set_quality(&encoder, quality, TRUE);
  jpeg_start_compress(&encoder, TRUE);
  while (encoder.next_scanline < encoder.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(image.row(static_cast<int>(encoder.next_scanline)));
    jpeg_write_scanlines(&encoder, &row, 1);
  }
  jpeg_finish_compress(&encoder);
  jpeg_destroy_compress(&encoder);
  return true;
}

}  // namespace

std::optional<Image> DecodeJpeg(std::span<const uint8_t> file) {
  Image image;
  if (file.empty() || !DecodeInto(file, image)) return std::nullopt;
  return image;
}

std::optional<std::vector<uint8_t>> EncodeJpeg(const Image& image, int quality, bool grey) {
  if (image.width() == 0 || image.height() == 0) return std::nullopt;
  Image picture = image;
  picture.ConvertTo(24);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool encoded = EncodeInto(picture, std::clamp(quality, 1, 100), grey, buffer, size);
  std::optional<std::vector<uint8_t>> result;
  if (encoded) result.emplace(buffer, buffer + size);
  std::free(buffer);
  return result;
}

}  // namespace ixo::graphics
