#pragma once
// The compression of the streams of the PDF files a print job writes.

namespace pv {

// The zlib level of Qt's PDF streams (page contents, embedded fonts and
// pictures). Qt's writer asks zlib for its default level, 6, and offers no
// way to choose; in a merge job of thousands of labels deflating the page
// contents at that level is about a fifth of the whole job. Level 2 deflates
// them in well under half the time for streams about an eighth larger.
inline constexpr int PdfStreamLevel = 2;

// While one is alive, a deflate stream set up on this thread at zlib's
// default level works at PdfStreamLevel; callers that name their own level
// keep it, and every other thread keeps zlib's default. The print job holds
// one while it writes its pages. It takes effect only in the programs linked
// with the program's own deflateInit_ (the target pdfstreamlevel).
class PdfStreamScope {
 public:
  PdfStreamScope();
  ~PdfStreamScope();
  PdfStreamScope(const PdfStreamScope&) = delete;
  PdfStreamScope& operator=(const PdfStreamScope&) = delete;
};

// The level a deflate stream asked for at zlib's default gets on this
// thread: PdfStreamLevel within a PdfStreamScope, else zlib's default (-1).
int DefaultDeflateLevel();

}  // namespace pv
