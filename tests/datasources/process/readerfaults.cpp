// The faults of the test build of the reader (plavik-reader-faults). A fault
// is "what@request": crash, hang, slow, memory, cut, garbage, exit or values,
// at Open, Tables, Columns, ReadTable, RunQuery or TableFile; and for a
// table's rows: refuse, cutrows, endrows, miscount, trickle or stall.
#include "datasources/process/protocol.h"
#include "everyvalue.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace pv {

using readerprotocol::Frame;

namespace {

const char* RequestName(Frame request) {
  switch (request) {
    case Frame::Open: return "Open";
    case Frame::Tables: return "Tables";
    case Frame::Columns: return "Columns";
    case Frame::ReadTable: return "ReadTable";
    case Frame::RunQuery: return "RunQuery";
    case Frame::TableFile: return "TableFile";
    default: return "";
  }
}

void Write(int out, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(out, p, n);
    if (put <= 0) std::_Exit(EXIT_FAILURE);
    p += put;
    n -= static_cast<std::size_t>(put);
  }
}

}  // namespace

bool HandleFault(const QString& fault, Frame request, int out, SourceTable& table) {
  if (fault.section(QLatin1Char('@'), 1) != QLatin1String(RequestName(request))) return false;
  const QString what = fault.section(QLatin1Char('@'), 0, 0);
  if (what == QLatin1String("crash")) ::raise(SIGSEGV);
  if (what == QLatin1String("hang")) {
    for (;;) ::pause();
  }
  if (what == QLatin1String("memory")) {
    // Until the memory limit stops it: the allocation that fails throws.
    static std::vector<char*> blocks;
    for (;;) {
      constexpr std::size_t kBlock = 16 * 1024 * 1024;
      char* block = new char[kBlock];
      std::memset(block, 1, kBlock);
      blocks.push_back(block);
    }
  }
  if (what == QLatin1String("cut")) {
    readerprotocol::FrameWriter writer;
    writer.Begin(Frame::Names);
    writer.U32(3);
    for (const char* name : {"uno", "due", "tre"}) writer.Text(QString::fromLatin1(name));
    writer.End();
    Write(out, writer.Data(), writer.Size() / 2);
    std::_Exit(EXIT_SUCCESS);
  }
  if (what == QLatin1String("garbage")) {
    // A frame header of an unknown kind with a body too long for any frame,
    // and then silence: the program must not wait for the rest.
    const char bytes[] = "\xff\xff\xff\x7fZgarbage";
    Write(out, bytes, sizeof bytes - 1);
    for (;;) ::pause();
  }
  if (what == QLatin1String("exit")) std::_Exit(EXIT_SUCCESS);
  if (what == QLatin1String("slow")) {
    // Answers as usual, late.
    const timespec pause{0, 600 * 1000 * 1000};
    ::nanosleep(&pause, nullptr);
    return false;
  }
  if (what == QLatin1String("refuse") || what == QLatin1String("cutrows") || what == QLatin1String("endrows") ||
      what == QLatin1String("miscount")) {
    // The start of a table (its columns and a frame of rows), then the fault.
    readerprotocol::FrameWriter writer;
    writer.Begin(Frame::Table);
    writer.Columns({{QStringLiteral("NOME"), ColumnType::Text}});
    writer.End();
    for (int frame = 0; frame < 2; ++frame) {
      writer.Begin(Frame::Rows);
      writer.U32(2);
      writer.Value(QStringLiteral("prima"));
      writer.Value(QStringLiteral("seconda"));
      writer.End();
    }
    if (what == QLatin1String("cutrows")) {
      Write(out, writer.Data(), writer.Size() - 3);
      std::_Exit(EXIT_SUCCESS);
    }
    Write(out, writer.Data(), writer.Size());
    if (what == QLatin1String("endrows")) std::_Exit(EXIT_SUCCESS);
    if (what == QLatin1String("refuse")) throw DbError(DbErrProvider, QStringLiteral("Record 3 illeggibile."));
    writer.Clear();
    writer.Begin(Frame::End);
    writer.I64(5);  // one more than were sent
    writer.End();
    Write(out, writer.Data(), writer.Size());
    for (;;) ::pause();  // the program ends this reader
  }
  if (what == QLatin1String("trickle") || what == QLatin1String("stall")) {
    // A table of kTrickleFrames frames of two rows (NUMERO 0, 1, 2, ...),
    // one frame every 250 ms, 2.5 s in all; then the reader exits. A stall
    // sends the columns and the first frame, and then nothing.
    constexpr int kTrickleFrames = 10;
    readerprotocol::FrameWriter writer;
    writer.Begin(Frame::Table);
    writer.Columns({{QStringLiteral("NUMERO"), ColumnType::Integer}});
    writer.End();
    for (int frame = 0; frame < kTrickleFrames; ++frame) {
      writer.Begin(Frame::Rows);
      writer.U32(2);
      writer.Value(QVariant(qint64{frame} * 2));
      writer.Value(QVariant(qint64{frame} * 2 + 1));
      writer.End();
      Write(out, writer.Data(), writer.Size());
      writer.Clear();
      if (what == QLatin1String("stall")) {
        for (;;) ::pause();
      }
      const timespec pause{0, 250 * 1000 * 1000};
      ::nanosleep(&pause, nullptr);
    }
    writer.Begin(Frame::End);
    writer.I64(kTrickleFrames * 2);
    writer.End();
    Write(out, writer.Data(), writer.Size());
    std::_Exit(EXIT_SUCCESS);
  }
  if (what == QLatin1String("values")) {
    table = testing::EveryValueKind();
    return true;
  }
  return false;
}

}  // namespace pv
