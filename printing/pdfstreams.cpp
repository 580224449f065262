// zlib's deflateInit_, defined in the program itself so that it comes before
// the library's in the dynamic linker's search, for Qt's PDF writer as for
// everyone else in the process: the default level becomes PdfStreamLevel.
// What zlib's own does with the level it is given is unchanged.
#include "printing/pdfstreams.h"

#include <zlib.h>

extern "C" int deflateInit_(z_streamp strm, int level, const char* version, int stream_size) {
  if (level == Z_DEFAULT_COMPRESSION) level = pv::PdfStreamLevel;
  // zlib's deflateInit_ is this call with its defaults: 32 KB window, memory
  // level 8, the default strategy.
  return deflateInit2_(strm, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY, version, stream_size);
}
