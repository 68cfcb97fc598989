#include "pixels/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h uses FILE without including its header
#include <utility>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "pixels/image_error.h"
#include "pixels/image_size_limit.h"

namespace pixels {
namespace {

// The decoder's own working memory (progressive files keep every
// coefficient of the image: 6 bytes a texel at most for three full-size
// components); a file that needs more is refused.
constexpr long kWorkingMemory = 512L << 20;

// A progressive file's scans each refine the whole image; real files have
// about ten.  Thousands of tiny scans would keep the decoder busy for
// minutes on a small file.
constexpr int kMostScans = 256;

// For a file whose data is short of its size, the rows are given room as
// they are decoded rather than all at once: this many output bytes for
// each byte of the file before the buffer has to grow.
constexpr std::size_t kExpectedExpansion = 64;

// libjpeg reports errors through callbacks that must not return; they
// jump back to the step that called the library, with the reason.
struct JpegReader {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  jpeg_progress_mgr progress{};
  std::jmp_buf escape{};
  char reason[JMSG_LENGTH_MAX] = {};
  bool created = false;

  ~JpegReader() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

JpegReader& ReaderOf(j_common_ptr info) { return *static_cast<JpegReader*>(info->client_data); }

[[noreturn]] void OnError(j_common_ptr info) {
  JpegReader& reader = ReaderOf(info);
  (*info->err->format_message)(info, reader.reason);
  std::longjmp(reader.escape, 1);
}

// Level -1 is a warning: data the decoder had to guess or skip.
void OnMessage(j_common_ptr info, int level) {
  if (level < 0) OnError(info);
}

void OnProgress(j_common_ptr info) {
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number <= kMostScans) return;
  JpegReader& reader = ReaderOf(info);
  std::snprintf(reader.reason, sizeof reader.reason, "it has more than %d scans", kMostScans);
  std::longjmp(reader.escape, 1);
}

// Runs one step of the library, with its errors turned into a false return.
// The step must hold no object with a destructor: the jump skips them.
template <typename Step>
bool Guarded(JpegReader& reader, Step&& step) {
  if (setjmp(reader.escape) != 0) return false;
  step();
  return true;
}

void Check(bool done, const JpegReader& reader, const std::string& name) {
  if (done) return;
  if (reader.errors.msg_code == JWRN_JPEG_EOF) {
    RefuseImage(name, "the JPEG file ends before its end marker (the file is cut short)");
  }
  RefuseImage(name, std::string("the JPEG data is damaged: ") + reader.reason);
}

void StartReading(JpegReader& reader, const std::vector<std::uint8_t>& bytes, const std::string& name) {
  reader.info.err = jpeg_std_error(&reader.errors);
  reader.errors.error_exit = OnError;
  reader.errors.emit_message = OnMessage;
  reader.info.client_data = &reader;
  Check(Guarded(reader,
                [&reader, &bytes] {
                  jpeg_create_decompress(&reader.info);
                  reader.created = true;
                  reader.info.mem->max_memory_to_use = kWorkingMemory;
                  reader.progress.progress_monitor = OnProgress;
                  reader.info.progress = &reader.progress;
                  jpeg_mem_src(&reader.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
                  jpeg_read_header(&reader.info, TRUE);
                }),
        reader, name);
}

}  // namespace

RgbaImage DecodeJpeg(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  JpegReader reader;
  StartReading(reader, bytes, name);
  const std::uint32_t width = reader.info.image_width;
  const std::uint32_t height = reader.info.image_height;
  CheckImageSize(width, height, name);
  if (reader.info.jpeg_color_space == JCS_CMYK || reader.info.jpeg_color_space == JCS_YCCK) {
    RefuseImage(name, "it is a CMYK JPEG, made for print (save it as an RGB image)");
  }
  reader.info.out_color_space = JCS_EXT_RGBA;
  Check(Guarded(reader, [&reader] { jpeg_start_decompress(&reader.info); }), reader, name);

  const std::size_t rowBytes = std::size_t{width} * 4;
  std::vector<std::uint8_t> rgba;
  rgba.reserve(std::min(rowBytes * height, bytes.size() * kExpectedExpansion));
  while (reader.info.output_scanline < height) {
    rgba.resize(rgba.size() + rowBytes);
    JSAMPROW row = rgba.data() + rgba.size() - rowBytes;
    JDIMENSION rowsRead = 0;
    Check(Guarded(reader, [&reader, &row, &rowsRead] { rowsRead = jpeg_read_scanlines(&reader.info, &row, 1); }),
          reader, name);
    if (rowsRead != 1) RefuseImage(name, "the JPEG decoder gave no row " + std::to_string(reader.info.output_scanline));
  }
  // Reads on to the end marker, so that a file cut short after its last
  // row is refused too.
  Check(Guarded(reader, [&reader] { jpeg_finish_decompress(&reader.info); }), reader, name);

  RgbaImage image;
  image.width = width;
  image.height = height;
  image.rgba = std::move(rgba);
  return image;
}

}  // namespace pixels
