// The exported functions of Pictor2 and the one renderer behind them.

#include "libs/pictor2/pictor2.h"

#include "libs/pictor2/dib.h"
#include "libs/pictor2/metafile.h"
#include "platform/colmo2/colmo2.h"

#include <QImage>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#define PICTOR_EXPORT __attribute__((visibility("default")))

namespace pv::pictor {
namespace {

// Metafiles larger than this are not read (no label picture comes near it).
constexpr std::uintmax_t kMaxFileBytes = 256u * 1024 * 1024;

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const char* fileName) {
  if (fileName == nullptr || *fileName == '\0') return std::nullopt;
  const std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(fileName)));
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff length = in.tellg();
  if (length < 0 || static_cast<std::uintmax_t>(length) > kMaxFileBytes) return std::nullopt;
  in.seekg(0, std::ios::beg);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  if (length > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), length)) return std::nullopt;
  return bytes;
}

// The bytes of the metafiles played lately, each kept while its file keeps
// its modification time and size: a border is played on every label of a
// sheet, and is read once.
class MetafileCache {
 public:
  struct Metafile {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    std::shared_ptr<DibCache> dibs;  // its bitmaps as decoded
  };

  Metafile Get(const char* fileName) {
    if (fileName == nullptr || *fileName == '\0') return {};
    const std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(fileName)));
    std::error_code ec;
    const auto mtime = std::filesystem::last_write_time(path, ec);
    if (ec) return {};
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return {};
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
      if (it->path == path && it->mtime == mtime && it->size == size) {
        m_entries.splice(m_entries.begin(), m_entries, it);
        return m_entries.front().metafile;
      }
    }
    auto bytes = ReadWholeFile(fileName);
    if (!bytes) return {};
    Metafile metafile{std::make_shared<const std::vector<std::uint8_t>>(std::move(*bytes)),
                      std::make_shared<DibCache>()};
    std::erase_if(m_entries, [&](const Entry& e) { return e.path == path; });
    m_entries.push_front(Entry{path, mtime, size, metafile});
    if (m_entries.size() > kMaxEntries) m_entries.pop_back();
    return metafile;
  }

 private:
  struct Entry {
    std::filesystem::path path;
    std::filesystem::file_time_type mtime;
    std::uintmax_t size = 0;
    Metafile metafile;
  };
  static constexpr std::size_t kMaxEntries = 8;
  std::list<Entry> m_entries;
};

class BitmapRenderer {
 public:
  virtual ~BitmapRenderer() = default;

  std::int32_t Render(DeviceContext* target, const QImage* bitmap, const Rect* placement) {
    if (bitmap == nullptr) return 1;
    const Size size{bitmap->width(), bitmap->height()};
    ColmoBitmap(target, placement, bitmap, &size, -1, 0, 0);
    return 1;
  }
  std::int32_t RenderEx() { return 0; }
  std::int32_t RenderAlphaEx() { return 0; }
  std::int32_t RenderFile() { return 0; }
  std::int32_t ProcessingBitmap() { return 0; }

  std::int32_t RenderMetaFile(DeviceContext* dc, const Rect* rect, const char* fileName) {
    // Played from memory: no scratch file is written anywhere.
    if (dc == nullptr || rect == nullptr) return 0;
    const MetafileCache::Metafile metafile = m_metafiles.Get(fileName);
    if (!metafile.bytes) return 0;
    const auto& bytes = *metafile.bytes;
    return PlayMetafile(dc, bytes.data(), bytes.size(), *rect, metafile.dibs.get()) == PlayResult::Played ? 1 : 0;
  }

  Colour SetMaskColor(Colour colour) {
    m_maskColor = colour;
    return colour;
  }

  double ImageAspect(const char* fileName) {
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes) return 1.0;
    const auto frame = ReadEmfFrame(bytes->data(), bytes->size());
    if (!frame) return 1.0;
    const std::int64_t width = static_cast<std::int64_t>(frame->right) - frame->left;
    const std::int64_t height = static_cast<std::int64_t>(frame->bottom) - frame->top;
    // The editor divides by this: a frame without a positive size reads as square.
    if (width <= 0 || height <= 0) return 1.0;
    return static_cast<double>(height) / static_cast<double>(width);
  }

  Colour maskColor() const { return m_maskColor; }

 private:
  Colour m_maskColor = 129535;  // red 255, green 249, blue 1
  MetafileCache m_metafiles;
};

BitmapRenderer g_renderer;

}  // namespace
}  // namespace pv::pictor

using pv::pictor::g_renderer;

extern "C" {

PICTOR_EXPORT std::int32_t PictorRender(pv::DeviceContext* target, const QImage* bitmap, const pv::Rect* placement) {
  return g_renderer.Render(target, bitmap, placement);
}
PICTOR_EXPORT std::int32_t PictorRenderEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                          std::int32_t) {
  return g_renderer.RenderEx();
}
PICTOR_EXPORT std::int32_t PictorRenderAlphaEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
  return g_renderer.RenderAlphaEx();
}
PICTOR_EXPORT std::int32_t PictorRenderWMF(std::int32_t, std::int32_t) { return 1; }
PICTOR_EXPORT std::int32_t PictorRenderFile(std::int32_t, std::int32_t, std::int32_t) {
  return g_renderer.RenderFile();
}
PICTOR_EXPORT std::int32_t PictorRenderFileEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                              std::int32_t) {
  return g_renderer.RenderEx();
}
PICTOR_EXPORT std::int32_t PictorProcessingBitmap(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                                  std::int32_t) {
  return g_renderer.ProcessingBitmap();
}
PICTOR_EXPORT std::int32_t PictorRenderMetaFile(pv::DeviceContext* dc, const pv::Rect* rect, const char* fileName) {
  return g_renderer.RenderMetaFile(dc, rect, fileName);
}
PICTOR_EXPORT std::int32_t PictorRenderMetaFileEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                                  std::int32_t) {
  return g_renderer.RenderEx();
}
PICTOR_EXPORT pv::Colour PictorSetMaskColor(pv::Colour colour) { return g_renderer.SetMaskColor(colour); }
PICTOR_EXPORT std::int32_t PictorRenderFileFast(std::int32_t, std::int32_t, std::int32_t) {
  return g_renderer.RenderFile();
}
PICTOR_EXPORT double PictorImageAspect(const char* fileName) { return g_renderer.ImageAspect(fileName); }

}  // extern "C"
