// The level of zlib's deflate for callers that leave it to zlib, as Qt's PDF
// writer does, and for callers that name their own, in a print job and
// outside one.
#include "printing/pdfstreams.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// The text deflated from a stream set up by `init`.
template <typename Init>
std::string Deflate(const std::string& text, Init init) {
  z_stream z{};
  EXPECT_EQ(init(&z), Z_OK);
  std::string out(deflateBound(&z, uLong(text.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = uInt(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string Inflate(const std::string& data, std::size_t size) {
  std::string out(size, '\0');
  uLongf length = uLongf(size);
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(data.data()),
                       uLong(data.size())),
            Z_OK);
  out.resize(length);
  return out;
}

// Something like a page of labels: operators and numbers, repeated with
// small changes.
std::string PageLike() {
  std::string s;
  for (int i = 0; i < 400; ++i) {
    s += "q\n/CSp cs 0 0 0 scn\n/GSa gs\nBT\n/F7 71 Tf 1 0 0 -1 0 0 Tm\n";
    s += std::to_string(379 + i % 7) + " -" + std::to_string(491 + i) + ".906250 Td <000" + std::to_string(i % 10) +
         "> Tj\nET\nQ\n" + std::to_string(496 + 13 * (i % 31)) + " 1299 27 357 re\nf\n";
  }
  return s;
}

// Within a print job's scope, on its thread, zlib's default becomes the
// fast level and a named level stays; outside it, and on any other thread
// meanwhile, zlib's own default holds.
TEST(PdfStreams, TheDefaultLevelIsTheFastOneOnlyWithinAJob) {
  const std::string text = PageLike();
  struct Case {
    bool inJob;
    int asked;     // what the caller gives deflateInit
    int expected;  // the level zlib works at
  };
  const Case cases[] = {
      {true, Z_DEFAULT_COMPRESSION, pv::PdfStreamLevel},
      {true, 0, 0},
      {true, 1, 1},
      {true, 6, 6},
      {true, 9, 9},
      {false, Z_DEFAULT_COMPRESSION, 6},
      {false, 1, 1},
  };
  for (const Case& c : cases) {
    std::optional<pv::PdfStreamScope> job;
    if (c.inJob) job.emplace();
    const std::string got = Deflate(text, [&](z_stream* z) { return deflateInit(z, c.asked); });
    const std::string want = Deflate(
        text, [&](z_stream* z) { return deflateInit2(z, c.expected, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY); });
    EXPECT_EQ(got, want) << "level " << c.asked << (c.inJob ? " in a job" : "");
    EXPECT_EQ(Inflate(got, text.size()), text) << "level " << c.asked;
  }
  const std::string fast = Deflate(text, [](z_stream* z) { return deflateInit(z, pv::PdfStreamLevel); });
  const std::string usual = Deflate(text, [](z_stream* z) { return deflateInit(z, 6); });
  // One-shot compress() leaves the level to zlib as well; another thread
  // keeps zlib's default while a job runs.
  const auto compressed = [&] {
    std::vector<Bytef> out(compressBound(uLong(text.size())));
    uLongf length = uLongf(out.size());
    EXPECT_EQ(compress(out.data(), &length, reinterpret_cast<const Bytef*>(text.data()), uLong(text.size())), Z_OK);
    return std::string(reinterpret_cast<const char*>(out.data()), length);
  };
  const pv::PdfStreamScope job;
  EXPECT_EQ(compressed(), fast);
  std::string elsewhere;
  std::thread([&] { elsewhere = compressed(); }).join();
  EXPECT_EQ(elsewhere, usual);
}

TEST(PdfStreams, AStreamThatCannotBeSetUpIsRefusedAsByZlib) {
  z_stream z{};
  EXPECT_EQ(deflateInit(&z, 12), Z_STREAM_ERROR);
  EXPECT_EQ(deflateInit_(&z, Z_DEFAULT_COMPRESSION, "0.9", int(sizeof(z_stream))), Z_VERSION_ERROR);
  EXPECT_EQ(deflateInit_(&z, Z_DEFAULT_COMPRESSION, ZLIB_VERSION, 4), Z_VERSION_ERROR);
}

}  // namespace
