#include "printing/pdfstreams.h"

namespace pv {
namespace {

// zlib's own Z_DEFAULT_COMPRESSION, without its header here.
constexpr int kZlibDefault = -1;

thread_local int t_scopes = 0;

}  // namespace

PdfStreamScope::PdfStreamScope() { ++t_scopes; }

PdfStreamScope::~PdfStreamScope() { --t_scopes; }

int DefaultDeflateLevel() { return t_scopes > 0 ? PdfStreamLevel : kZlibDefault; }

}  // namespace pv
