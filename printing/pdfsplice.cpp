// Every part is read (in threads) and checked whole: its table,
// every object where the table says and of the number it says, every
// reference to an object the part has, every stream's data of the length
// its dictionary gives, one page tree of pages only. Then the objects are
// written in file order, part after part, each copied from its part's bytes
// but for the numbers of its references (found by a tokenizer that knows
// strings, names, comments and stream data, so nothing else is changed).
#include "printing/pdfsplice.h"

#include "printing/blockwriter.h"
#include "printing/inthreads.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pv {
namespace {

// The highest object number a PDF reader must take.
constexpr uint64_t kMaxObjects = 8388607;

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }
bool IsDelimiter(char c) {
  switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
    case '/':
    case '%': return true;
    default: return false;
  }
}
bool IsRegular(char c) { return !IsSpace(c) && !IsDelimiter(c); }
bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

enum class Kind { kInt, kWord, kName, kString, kHex, kDictOpen, kDictClose, kArrayOpen, kArrayClose, kEnd, kBad };

struct Token {
  Kind kind = Kind::kEnd;
  size_t begin = 0;
  size_t end = 0;
};

// The tokens of data[from, to). A string, a hex string or a name is one
// token, so nothing inside one is ever taken for a number or a keyword.
class Lexer {
 public:
  Lexer(const char* data, size_t from, size_t to) : d_(data), pos_(from), end_(to) {}

  Token Next() {
    while (pos_ < end_) {
      if (IsSpace(d_[pos_])) {
        ++pos_;
      } else if (d_[pos_] == '%') {
        while (pos_ < end_ && d_[pos_] != '\n' && d_[pos_] != '\r') ++pos_;
      } else {
        break;
      }
    }
    const size_t begin = pos_;
    if (pos_ >= end_) return {Kind::kEnd, begin, begin};
    const auto token = [&](Kind kind, size_t length) {
      pos_ = begin + length;
      return Token{kind, begin, pos_};
    };
    const char c = d_[pos_];
    switch (c) {
      case '(': {
        int depth = 0;
        for (size_t at = pos_; at < end_; ++at) {
          if (d_[at] == '\\') {
            ++at;  // the escaped character, whatever it is
          } else if (d_[at] == '(') {
            ++depth;
          } else if (d_[at] == ')' && --depth == 0) {
            return token(Kind::kString, at + 1 - begin);
          }
        }
        return token(Kind::kBad, end_ - begin);
      }
      case '<':
        if (pos_ + 1 < end_ && d_[pos_ + 1] == '<') return token(Kind::kDictOpen, 2);
        for (size_t at = pos_ + 1; at < end_; ++at) {
          if (d_[at] == '>') return token(Kind::kHex, at + 1 - begin);
          if (!IsHex(d_[at]) && !IsSpace(d_[at])) break;
        }
        return token(Kind::kBad, end_ - begin);
      case '>':
        if (pos_ + 1 < end_ && d_[pos_ + 1] == '>') return token(Kind::kDictClose, 2);
        return token(Kind::kBad, end_ - begin);
      case '[': return token(Kind::kArrayOpen, 1);
      case ']': return token(Kind::kArrayClose, 1);
      case '/': {
        size_t at = pos_ + 1;
        while (at < end_ && IsRegular(d_[at])) ++at;
        return token(Kind::kName, at - begin);
      }
      case ')':
      case '{':
      case '}': return token(Kind::kBad, end_ - begin);
      default: {
        size_t at = pos_;
        bool digits = true;
        while (at < end_ && IsRegular(d_[at])) digits = digits && d_[at] >= '0' && d_[at] <= '9', ++at;
        return token(digits ? Kind::kInt : Kind::kWord, at - begin);
      }
    }
  }
  size_t Pos() const { return pos_; }

 private:
  const char* d_;
  size_t pos_;
  size_t end_;
};

// The value of an unsigned integer token; false when it is above `max`.
bool IntValue(const char* d, const Token& t, uint64_t max, uint64_t* value) {
  if (t.kind != Kind::kInt || t.end - t.begin > 12) return false;
  uint64_t v = 0;
  for (size_t i = t.begin; i < t.end; ++i) v = v * 10 + uint64_t(d[i] - '0');
  *value = v;
  return v <= max;
}

bool Is(const char* d, const Token& t, Kind kind, const char* text) {
  const size_t n = std::strlen(text);
  return t.kind == kind && t.end - t.begin == n && std::memcmp(d + t.begin, text, n) == 0;
}

// One value read whole: where it is, and what the structure of the page
// tree needs of it.
struct Value {
  Kind kind = Kind::kEnd;  // of its first token
  size_t begin = 0;
  size_t end = 0;
  bool ref = false;
  uint64_t number = 0;         // an integer's value, a reference's object
  std::vector<uint64_t> refs;  // an array's references
  bool onlyRefs = true;        // an array holds nothing else
};

bool ReadValue(const char* d, Lexer* lexer, const Token& first, Value* value, int depth = 0) {
  if (depth > 64) return false;
  value->kind = first.kind;
  value->begin = first.begin;
  value->end = first.end;
  switch (first.kind) {
    case Kind::kInt: {
      if (!IntValue(d, first, UINT64_MAX / 16, &value->number)) return false;
      Lexer ahead = *lexer;
      const Token generation = ahead.Next();
      const Token r = ahead.Next();
      uint64_t g = 0;
      if (generation.kind == Kind::kInt && Is(d, r, Kind::kWord, "R")) {
        if (!IntValue(d, generation, 0, &g)) return false;
        value->ref = true;
        value->end = r.end;
        *lexer = ahead;
      }
      return true;
    }
    case Kind::kDictOpen:
      for (;;) {
        const Token key = lexer->Next();
        if (key.kind == Kind::kDictClose) {
          value->end = key.end;
          return true;
        }
        Value item;
        if (key.kind != Kind::kName || !ReadValue(d, lexer, lexer->Next(), &item, depth + 1)) return false;
      }
    case Kind::kArrayOpen:
      for (;;) {
        const Token t = lexer->Next();
        if (t.kind == Kind::kArrayClose) {
          value->end = t.end;
          return true;
        }
        Value item;
        if (!ReadValue(d, lexer, t, &item, depth + 1)) return false;
        if (item.ref) {
          value->refs.push_back(item.number);
        } else {
          value->onlyRefs = false;
        }
      }
    case Kind::kName:
    case Kind::kString:
    case Kind::kHex: return true;
    case Kind::kWord:
      return !Is(d, first, Kind::kWord, "R") && !Is(d, first, Kind::kWord, "obj") &&
             !Is(d, first, Kind::kWord, "endobj") && !Is(d, first, Kind::kWord, "stream");
    default: return false;
  }
}

struct Entry {
  QByteArrayView key;  // with its slash
  Value value;
};

// The entries of the dictionary that is all of data[from, to).
bool ReadDict(const char* d, size_t from, size_t to, std::vector<Entry>* entries) {
  Lexer lexer(d, from, to);
  if (lexer.Next().kind != Kind::kDictOpen) return false;
  for (;;) {
    const Token key = lexer.Next();
    if (key.kind == Kind::kDictClose) return lexer.Next().kind == Kind::kEnd;
    if (key.kind != Kind::kName) return false;
    Entry entry{QByteArrayView(d + key.begin, qsizetype(key.end - key.begin)), {}};
    if (!ReadValue(d, &lexer, lexer.Next(), &entry.value)) return false;
    entries->push_back(std::move(entry));
  }
}

const Value* Find(const std::vector<Entry>& entries, const char* key) {
  for (const Entry& e : entries) {
    if (e.key == QByteArrayView(key)) return &e.value;
  }
  return nullptr;
}

bool IsName(const char* d, const Value* v, const char* name) {
  const size_t n = std::strlen(name);
  return v && v->kind == Kind::kName && v->end - v->begin == n && std::memcmp(d + v->begin, name, n) == 0;
}

// A reference in an object: the object number's digits.
struct Ref {
  size_t at;
  uint32_t length;
  uint32_t number;
};

struct Object {
  size_t begin = 0;      // its number
  size_t numberEnd = 0;  // after its number
  size_t bodyBegin = 0;  // after "obj"
  size_t bodyEnd = 0;    // at "stream" or "endobj"
  size_t end = 0;        // the next object's offset, or the table's
  size_t firstRef = 0;   // in Part::refs
  size_t refCount = 0;
  bool stream = false;
};

struct Part {
  QByteArrayView bytes;
  char version = 0;             // the digit after "%PDF-1."
  size_t headerEnd = 0;         // the first object's offset
  uint32_t size = 0;            // /Size: objects 1 .. size - 1
  std::vector<Object> objects;  // by number, [0] unused
  std::vector<uint32_t> order;  // the numbers in file order
  std::vector<Ref> refs;        // of every object, object by object
  uint32_t info = 0;            // 0 when there is none
  uint32_t catalog = 0;
  uint32_t pages = 0;           // the page tree
  std::vector<uint32_t> kids;   // its pages in order
  Value kidsValue, countValue;  // where the page tree has them
  QByteArrayView id;            // the trailer's /ID value, if any
};

// The object at its offset: "N 0 obj", its references (in the part's
// list) up to "stream" or "endobj", then nothing but white space to its end.
bool ScanObject(const char* d, uint32_t self, Object* o, std::vector<Ref>* refs) {
  Lexer lexer(d, o->begin, o->end);
  const Token n = lexer.Next(), g = lexer.Next(), obj = lexer.Next();
  uint64_t value = 0, zero = 0;
  if (n.begin != o->begin || !IntValue(d, n, kMaxObjects, &value) || value != self || !IntValue(d, g, 0, &zero) ||
      !Is(d, obj, Kind::kWord, "obj")) {
    return false;
  }
  o->numberEnd = n.end;
  o->bodyBegin = obj.end;
  o->firstRef = refs->size();
  char open[64];
  int depth = 0;
  Token number, generation;  // the two tokens before the current one: a reference's numbers before its R
  for (;;) {
    const Token t = lexer.Next();
    switch (t.kind) {
      case Kind::kBad:
      case Kind::kEnd: return false;
      case Kind::kDictOpen:
      case Kind::kArrayOpen:
        if (depth == int(sizeof open)) return false;
        open[depth++] = t.kind == Kind::kDictOpen ? '<' : '[';
        break;
      case Kind::kDictClose:
      case Kind::kArrayClose:
        if (depth == 0 || open[--depth] != (t.kind == Kind::kDictClose ? '<' : '[')) return false;
        break;
      case Kind::kWord:
        if (Is(d, t, Kind::kWord, "R")) {
          uint64_t target = 0, targetGeneration = 0;
          if (!IntValue(d, number, kMaxObjects, &target) || !IntValue(d, generation, 0, &targetGeneration)) {
            return false;
          }
          refs->push_back({number.begin, uint32_t(number.end - number.begin), uint32_t(target)});
        } else if (Is(d, t, Kind::kWord, "stream") || Is(d, t, Kind::kWord, "endobj")) {
          if (depth != 0) return false;
          o->bodyEnd = t.begin;
          o->refCount = refs->size() - o->firstRef;
          o->stream = Is(d, t, Kind::kWord, "stream");
          if (o->stream) return generation.kind == Kind::kDictClose;
          return lexer.Next().kind == Kind::kEnd;
        } else if (Is(d, t, Kind::kWord, "obj") || Is(d, t, Kind::kWord, "endstream")) {
          return false;
        }
        break;
      default: break;
    }
    number = generation;
    generation = t;
  }
}

// The part's table, trailer and objects, checked; false when the part is
// not as Qt's writer makes it.
bool ReadPart(QByteArrayView bytes, Part* p) {
  const char* d = bytes.data();
  const size_t size = size_t(bytes.size());
  p->bytes = bytes;
  if (size < 64 || std::memcmp(d, "%PDF-1.", 7) != 0) return false;
  p->version = d[7];

  // "startxref", its offset and "%%EOF" at the end.
  const QByteArrayView tail = bytes.last(std::min<qsizetype>(bytes.size(), 1024));
  const qsizetype at = tail.lastIndexOf(QByteArrayView("startxref"));
  if (at < 0) return false;
  const size_t startxref = size - size_t(tail.size()) + size_t(at);
  Lexer end(d, startxref + 9, size);
  uint64_t xref = 0;
  const Token offset = end.Next();
  if (!IntValue(d, offset, size, &xref)) return false;
  size_t eof = offset.end;
  while (eof < size && IsSpace(d[eof])) ++eof;
  if (size - eof < 5 || std::memcmp(d + eof, "%%EOF", 5) != 0) return false;
  for (eof += 5; eof < size; ++eof) {
    if (!IsSpace(d[eof])) return false;
  }

  // The table: one section from object 0, every object in use.
  Lexer table(d, size_t(xref), startxref);
  const Token keyword = table.Next(), first = table.Next(), count = table.Next();
  uint64_t from = 1, objects = 0;
  if (keyword.begin != xref || !Is(d, keyword, Kind::kWord, "xref") || !IntValue(d, first, 0, &from) ||
      !IntValue(d, count, kMaxObjects, &objects) || objects < 4) {
    return false;
  }
  size_t entry = count.end;
  while (entry < startxref && IsSpace(d[entry])) ++entry;
  if (startxref - entry < objects * 20) return false;
  p->size = uint32_t(objects);
  p->objects.resize(objects);
  for (uint64_t i = 0; i < objects; ++i, entry += 20) {
    const char* e = d + entry;
    uint64_t value = 0;
    for (int k = 0; k < 10; ++k) {
      if (e[k] < '0' || e[k] > '9') return false;
      value = value * 10 + uint64_t(e[k] - '0');
    }
    const bool ends = (e[18] == ' ' && (e[19] == '\n' || e[19] == '\r')) || (e[18] == '\r' && e[19] == '\n');
    if (e[10] != ' ' || e[16] != ' ' || !ends) return false;
    if (i == 0) {
      if (std::memcmp(e + 11, "65535 f", 7) != 0) return false;
    } else {
      if (std::memcmp(e + 11, "00000 n", 7) != 0 || value < 9 || value >= xref) return false;
      p->objects[i].begin = size_t(value);
    }
  }

  // The trailer: nothing of an update (/Prev), a table stream (/XRefStm)
  // or encryption.
  Lexer trailer(d, entry, startxref);
  if (!Is(d, trailer.Next(), Kind::kWord, "trailer")) return false;
  const Token open = trailer.Next();
  Value dict;
  if (open.kind != Kind::kDictOpen || !ReadValue(d, &trailer, open, &dict)) return false;
  const Token last = trailer.Next();
  if (last.kind != Kind::kEnd) return false;
  std::vector<Entry> keys;
  if (!ReadDict(d, dict.begin, dict.end, &keys)) return false;
  for (const Entry& k : keys) {
    if (k.key == QByteArrayView("/Size")) {
      if (k.value.kind != Kind::kInt || k.value.ref || k.value.number != objects) return false;
    } else if (k.key == QByteArrayView("/Root") || k.key == QByteArrayView("/Info")) {
      if (!k.value.ref || k.value.number == 0 || k.value.number >= objects) return false;
      (k.key == QByteArrayView("/Root") ? p->catalog : p->info) = uint32_t(k.value.number);
    } else if (k.key == QByteArrayView("/ID")) {
      if (k.value.kind != Kind::kArrayOpen || !k.value.refs.empty()) return false;
      p->id = bytes.sliced(qsizetype(k.value.begin), qsizetype(k.value.end - k.value.begin));
    } else {
      return false;
    }
  }
  if (p->catalog == 0) return false;

  // The objects, each running to the next one's offset.
  p->order.resize(objects - 1);
  for (uint32_t i = 1; i < objects; ++i) p->order[i - 1] = i;
  std::sort(p->order.begin(), p->order.end(),
            [&](uint32_t a, uint32_t b) { return p->objects[a].begin < p->objects[b].begin; });
  p->headerEnd = p->objects[p->order.front()].begin;
  for (size_t i = 0; i < p->order.size(); ++i) {
    Object& o = p->objects[p->order[i]];
    o.end = i + 1 < p->order.size() ? p->objects[p->order[i + 1]].begin : size_t(xref);
    if (o.end <= o.begin || !ScanObject(d, p->order[i], &o, &p->refs)) return false;
  }
  for (const Ref& r : p->refs) {
    if (r.number == 0 || r.number >= objects) return false;
  }

  // Every stream's data of its /Length, then "endstream" and "endobj".
  std::vector<Entry> entries;
  for (uint32_t i = 1; i < objects; ++i) {
    const Object& o = p->objects[i];
    if (!o.stream) continue;
    entries.clear();
    if (!ReadDict(d, o.bodyBegin, o.bodyEnd, &entries)) return false;
    const Value* length = Find(entries, "/Length");
    if (!length || length->kind != Kind::kInt) return false;
    uint64_t bytesLong = length->number;
    if (length->ref) {
      if (length->number >= objects) return false;
      const Object& l = p->objects[length->number];
      if (l.stream) return false;
      Lexer value(d, l.bodyBegin, l.bodyEnd);
      if (!IntValue(d, value.Next(), size, &bytesLong) || value.Next().kind != Kind::kEnd) return false;
    }
    size_t data = o.bodyEnd + 6;
    if (data < o.end && d[data] == '\r') ++data;
    if (data >= o.end || d[data] != '\n') return false;
    ++data;
    if (bytesLong > o.end - data) return false;
    Lexer after(d, data + size_t(bytesLong), o.end);
    if (!Is(d, after.Next(), Kind::kWord, "endstream") || !Is(d, after.Next(), Kind::kWord, "endobj") ||
        after.Next().kind != Kind::kEnd) {
      return false;
    }
  }

  // The catalog and one page tree of pages only, whose attributes no page
  // inherits.
  const auto dictOf = [&](uint32_t number, std::vector<Entry>* out) {
    const Object& o = p->objects[number];
    return !o.stream && ReadDict(d, o.bodyBegin, o.bodyEnd, out);
  };
  std::vector<Entry> catalog;
  if (!dictOf(p->catalog, &catalog) || !IsName(d, Find(catalog, "/Type"), "/Catalog")) return false;
  const Value* pages = Find(catalog, "/Pages");
  if (!pages || !pages->ref) return false;
  if (pages->number >= objects) return false;
  p->pages = uint32_t(pages->number);
  if (p->pages == p->catalog || p->pages == p->info) return false;
  std::vector<Entry> tree;
  if (!dictOf(p->pages, &tree)) return false;
  for (const Entry& e : tree) {
    if (e.key == QByteArrayView("/Type")) {
      if (!IsName(d, &e.value, "/Pages")) return false;
    } else if (e.key == QByteArrayView("/Kids")) {
      if (e.value.kind != Kind::kArrayOpen || !e.value.onlyRefs || e.value.refs.empty()) return false;
      p->kidsValue = e.value;
    } else if (e.key == QByteArrayView("/Count")) {
      if (e.value.kind != Kind::kInt || e.value.ref) return false;
      p->countValue = e.value;
    } else if (e.key != QByteArrayView("/ProcSet")) {
      return false;
    }
  }
  if (p->kidsValue.kind != Kind::kArrayOpen || p->countValue.kind != Kind::kInt ||
      p->countValue.number != p->kidsValue.refs.size()) {
    return false;
  }
  // The tree's references are its pages only.
  const Object& root = p->objects[p->pages];
  if (root.refCount != p->kidsValue.refs.size()) return false;
  std::vector<char> isPage(objects, 0);
  std::vector<Entry> page;
  for (const uint64_t kid : p->kidsValue.refs) {
    page.clear();
    if (kid >= objects || kid == p->pages || kid == p->catalog || kid == p->info || isPage[kid] ||
        !dictOf(uint32_t(kid), &page) || !IsName(d, Find(page, "/Type"), "/Page")) {
      return false;
    }
    const Value* parent = Find(page, "/Parent");
    if (!parent || !parent->ref || parent->number != p->pages) return false;
    isPage[kid] = 1;
    p->kids.push_back(uint32_t(kid));
  }
  return true;
}

}  // namespace

SpliceResult SplicePdfParts(const std::vector<QByteArrayView>& bytes,
                            const std::function<bool(const char* data, size_t size)>& write) {
  if (bytes.empty()) return SpliceResult::kUnknown;
  std::vector<Part> parts(bytes.size());
  std::vector<char> known(bytes.size(), 0);
  InThreads(parts.size(), [&](size_t i) { known[i] = ReadPart(bytes[i], &parts[i]); });
  if (std::find(known.begin(), known.end(), 0) != known.end()) return SpliceResult::kUnknown;

  // The new numbers: the first part's as they are, then each later part's
  // objects but its catalog, page tree and document information, in the
  // order of their numbers. A later part's page tree is the first part's.
  const Part& head = parts.front();
  std::vector<std::vector<uint32_t>> numbers(parts.size());
  uint64_t next = head.size;
  size_t pageCount = head.kids.size();
  for (size_t k = 1; k < parts.size(); ++k) {
    Part& p = parts[k];
    if (p.version > head.version) return SpliceResult::kUnknown;
    std::vector<uint32_t>& n = numbers[k];
    n.assign(p.size, 0);
    for (uint32_t i = 1; i < p.size; ++i) {
      if (i == p.catalog || i == p.info) continue;
      n[i] = i == p.pages ? head.pages : uint32_t(next++);
    }
    if (next > kMaxObjects) return SpliceResult::kUnknown;
    // Nothing kept refers to what is left out.
    for (uint32_t i = 1; i < p.size; ++i) {
      const Object& o = p.objects[i];
      if (n[i] == 0 || i == p.pages) continue;
      for (size_t r = o.firstRef; r < o.firstRef + o.refCount; ++r) {
        if (n[p.refs[r].number] == 0) return SpliceResult::kUnknown;
      }
    }
    pageCount += p.kids.size();
  }

  BlockWriter out(write);
  std::vector<uint64_t> offsets(next, 0);
  out.Put(head.bytes.first(qsizetype(head.headerEnd)));
  for (const uint32_t i : head.order) {
    const Object& o = head.objects[i];
    offsets[i] = out.Pos();
    if (i != head.pages) {
      out.Put(head.bytes.data() + o.begin, o.end - o.begin);
      continue;
    }
    // The one page tree: every part's pages, and their count.
    const char* d = head.bytes.data();
    const Value& kids = head.kidsValue;
    const Value& count = head.countValue;
    const Value& firstValue = kids.begin < count.begin ? kids : count;
    const Value& secondValue = kids.begin < count.begin ? count : kids;
    const auto putValue = [&](const Value& v) {
      if (&v == &count) {
        out.Put(uint64_t(pageCount));
        return;
      }
      out.Put("[\n");
      for (size_t k = 0; k < parts.size(); ++k) {
        for (const uint32_t kid : parts[k].kids) {
          out.Put(uint64_t(k == 0 ? kid : numbers[k][kid]));
          out.Put(" 0 R\n");
        }
      }
      out.Put("]");
    };
    out.Put(d + o.begin, firstValue.begin - o.begin);
    putValue(firstValue);
    out.Put(d + firstValue.end, secondValue.begin - firstValue.end);
    putValue(secondValue);
    out.Put(d + secondValue.end, o.end - secondValue.end);
  }
  for (size_t k = 1; k < parts.size(); ++k) {
    const Part& p = parts[k];
    const char* d = p.bytes.data();
    const std::vector<uint32_t>& n = numbers[k];
    for (const uint32_t i : p.order) {
      if (n[i] == 0 || i == p.pages) continue;
      const Object& o = p.objects[i];
      offsets[n[i]] = out.Pos();
      out.Put(uint64_t(n[i]));
      size_t at = o.numberEnd;
      for (size_t r = o.firstRef; r < o.firstRef + o.refCount; ++r) {
        const Ref& ref = p.refs[r];
        out.Put(d + at, ref.at - at);
        out.Put(uint64_t(n[ref.number]));
        at = ref.at + ref.length;
      }
      out.Put(d + at, o.end - at);
    }
  }

  // The table and the trailer of the first part's document.
  const uint64_t xref = out.Pos();
  out.Put("xref\n0 ");
  out.Put(next);
  out.Put("\n0000000000 65535 f \n");
  char line[21] = "0000000000 00000 n \n";
  for (uint64_t i = 1; i < next; ++i) {
    uint64_t v = offsets[i];
    for (int k = 9; k >= 0; --k, v /= 10) line[k] = char('0' + v % 10);
    if (v != 0) return SpliceResult::kWriteFailed;  // beyond ten digits: no reader takes it
    out.Put(line, 20);
  }
  out.Put("trailer\n<<\n/Size ");
  out.Put(next);
  if (head.info != 0) {
    out.Put("\n/Info ");
    out.Put(uint64_t(head.info));
    out.Put(" 0 R");
  }
  out.Put("\n/Root ");
  out.Put(uint64_t(head.catalog));
  out.Put(" 0 R\n");
  if (!head.id.isEmpty()) {
    out.Put("/ID ");
    out.Put(head.id);
    out.Put("\n");
  }
  out.Put(">>\nstartxref\n");
  out.Put(xref);
  out.Put("\n%%EOF\n");
  out.Flush();
  return out.Ok() ? SpliceResult::kJoined : SpliceResult::kWriteFailed;
}

std::optional<QByteArray> SplicePdfParts(const std::vector<QByteArrayView>& parts) {
  QByteArray joined;
  const auto append = [&](const char* data, size_t size) {
    joined.append(data, qsizetype(size));
    return true;
  };
  if (SplicePdfParts(parts, append) != SpliceResult::kJoined) return std::nullopt;
  return joined;
}

}  // namespace pv
