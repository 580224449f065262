#pragma once
// The compression of the streams of every PDF the program writes.

namespace pv {

// The zlib level of Qt's PDF streams (page contents, embedded fonts and
// pictures). Qt's writer asks zlib for its default level, 6, and offers no
// way to choose; in a merge job of thousands of labels deflating the page
// contents at that level is about a fifth of the whole job. Level 2 deflates
// them in well under half the time for streams about an eighth larger.
// Callers of zlib that name their own level keep it.
inline constexpr int PdfStreamLevel = 2;

}  // namespace pv
