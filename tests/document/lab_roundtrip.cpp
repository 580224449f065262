// lab-roundtrip IN OUT: reads the label file IN as File > Open reads it
// (pictures into a temp folder of its own), writes it to OUT as File > Save
// writes it, and prints one line per object. A refused file prints the
// message number and the reason, writes nothing and exits with 1.
#include "document/document.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace {

QString Geometry(const pv::ObjectRecord& r) {
  const auto StrSingle = [](float v) { return pv::Trim(pv::StrSingle(v)); };
  if (r.GeomType == pv::GeomLine)
    return QStringLiteral("line %1 %2 %3 %4").arg(StrSingle(r.X1), StrSingle(r.Y1), StrSingle(r.X2), StrSingle(r.Y2));
  return QStringLiteral("box %1 %2 %3 %4")
      .arg(StrSingle(r.CenterX), StrSingle(r.CenterY), StrSingle(r.Width), StrSingle(r.Height));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  const QStringList args = app.arguments();
  if (args.size() != 3) {
    err << "usage: lab-roundtrip IN OUT\n";
    return 2;
  }
  QString reason;
  if (!pv::ReadLabFileIntoDocument(args[1], &reason)) {
    out << pv::MsgBadLabFile << ' ' << reason << '\n';
    pv::RemoveTempImageFolder();
    return 1;
  }
  for (int i = 1; i <= pv::ObjCount; ++i) {
    const pv::ObjectRecord& r = pv::Objects[static_cast<std::size_t>(i)];
    out << i << " key=" << r.Key << " kind=" << r.UserType << ' ' << Geometry(r) << " angle=" << r.Angle
        << (pv::IsTrue(r.IsSelected) ? " selected" : "") << (pv::IsTrue(r.IsHidden) ? " hidden" : "") << " content=\""
        << r.Content << "\"\n";
  }
  pv::LabFileContent content;
  QString error;
  bool ok = pv::CurrentLabContent(content, &error);
  if (ok) {
    QSaveFile file(args[2]);
    ok = file.open(QIODevice::WriteOnly) && pv::WriteLabFile(file, content) && file.commit();
    if (!ok) error = args[2] + QStringLiteral(": ") + file.errorString();
  }
  pv::RemoveTempImageFolder();
  if (!ok) {
    err << "cannot write " << error << '\n';
    return 3;
  }
  return 0;
}
