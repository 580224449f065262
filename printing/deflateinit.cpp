// zlib's deflateInit_, defined in the programs that print (never in a
// library of ours) so that it comes before the library's in the dynamic
// linker's search: Qt's PDF writer, which asks for zlib's default level,
// deflates at the print job's level while a job writes its pages
// (PdfStreamScope). What zlib's own does with the level it is given is
// unchanged.
#include "printing/pdfstreams.h"

#include <zlib.h>

extern "C" int deflateInit_(z_streamp strm, int level, const char* version, int stream_size) {
  if (level == Z_DEFAULT_COMPRESSION) level = pv::DefaultDeflateLevel();
  // zlib's deflateInit_ is this call with its defaults: 32 KB window, memory
  // level 8, the default strategy.
  return deflateInit2_(strm, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY, version, stream_size);
}
