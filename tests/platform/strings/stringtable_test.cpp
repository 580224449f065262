#include "platform/stringtable.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <map>
#include <string>

namespace {

QString RepoRoot() { return QDir::cleanPath(QStringLiteral(PLAVIK_TEST_SOURCE_DIR "/../../..")); }

// The source folders of the program and its libraries.
const QStringList& SourceFolders() {
  static const QStringList folders = {QStringLiteral("app"),         QStringLiteral("document"),
                                      QStringLiteral("render"),      QStringLiteral("editor"),
                                      QStringLiteral("properties"),  QStringLiteral("formats"),
                                      QStringLiteral("datasources"), QStringLiteral("printing"),
                                      QStringLiteral("libs"),        QStringLiteral("platform")};
  return folders;
}

// Every literal number passed to LoadResString(N) or MsgBoxRes(N, ...) in the
// sources, with the first place it is used.
std::map<int, std::string> NumbersUsedInCode() {
  static const QRegularExpression call(QStringLiteral(R"(\b(?:LoadResString|MsgBoxRes)\s*\(\s*(\d+)\s*[,)])"));
  std::map<int, std::string> used;
  const QString root = RepoRoot();
  for (const QString& folder : SourceFolders()) {
    const QString dir = root + QLatin1Char('/') + folder;
    if (!QDir(dir).exists()) continue;
    QDirIterator it(dir,
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.hpp"), QStringLiteral("*.cc"),
                     QStringLiteral("*.cxx"), QStringLiteral("*.c")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      QFile f(path);
      if (!f.open(QIODevice::ReadOnly)) continue;
      const QString text = QString::fromUtf8(f.readAll());
      for (auto m = call.globalMatch(text); m.hasNext();) {
        const auto hit = m.next();
        const int n = hit.captured(1).toInt();
        if (used.count(n)) continue;
        const int line = int(text.left(hit.capturedStart()).count(QLatin1Char('\n'))) + 1;
        used[n] = QDir(root).relativeFilePath(path).toStdString() + ":" + std::to_string(line);
      }
    }
  }
  return used;
}

TEST(StringTable, EveryNumberTheCodeUsesHasAText) {
  ASSERT_TRUE(QDir(RepoRoot() + QStringLiteral("/platform")).exists()) << RepoRoot().toStdString();
  const auto used = NumbersUsedInCode();
  // The message boxes' title is always string 1000; seeing it proves the scan
  // reads the sources at all.
  ASSERT_TRUE(used.count(1000)) << "the scan found no use of string 1000 under " << RepoRoot().toStdString();
  std::string missing;
  for (const auto& [n, where] : used) {
    if (!pv::HasResString(n) || pv::LoadResString(n).isEmpty())
      missing += "\n  " + std::to_string(n) + " (" + where + ")";
  }
  EXPECT_TRUE(missing.empty()) << "numbers used in the code with no text in resources/strings.tsv:" << missing;
}

// The table file itself: one entry a line, numbers ascending and unique, only
// the three escapes, and every line reaches the compiled table.
TEST(StringTable, FileIsWellFormedAndCompiledWhole) {
  QFile f(RepoRoot() + QStringLiteral("/resources/strings.tsv"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_FALSE(bytes.contains('\r'));
  const QString all = QString::fromUtf8(bytes);
  EXPECT_FALSE(all.contains(QChar::ReplacementCharacter)) << "not valid UTF-8";
  static const QRegularExpression entry(QStringLiteral(R"(^(\d+)\t(.*)$)"));
  static const QRegularExpression badEscape(QStringLiteral(R"(\\(?:[^nt\\]|$))"));
  QList<int> numbers;
  int lineNo = 0;
  for (const QString& line : all.split(QLatin1Char('\n'))) {
    ++lineNo;
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const auto m = entry.match(line);
    ASSERT_TRUE(m.hasMatch()) << "line " << lineNo << ": " << line.toStdString();
    const int n = m.captured(1).toInt();
    if (!numbers.isEmpty()) {
      EXPECT_LT(numbers.last(), n) << "line " << lineNo << ": not ascending or repeated";
    }
    numbers.append(n);
    // A lone backslash must be written "\\"; an escape other than \n \t \\ is a typo.
    QString text = m.captured(2);
    text.replace(QStringLiteral("\\\\"), QString());
    EXPECT_FALSE(badEscape.match(text).hasMatch()) << "line " << lineNo << ": bad escape";
  }
  EXPECT_EQ(numbers, pv::ResStringNumbers());
}

struct Exact {
  int number;
  const char* text;  // UTF-8
};

// Texts whose exact bytes matter: the title of every box, texts that other
// text is appended to (trailing blank), double blanks kept as they stand,
// access keys, the filter string of the file dialogs, accented letters.
TEST(StringTable, ExactTexts) {
  const Exact cases[] = {
      {1000, "Tavrel Lumetra 4"},
      {15098, "Senza nome"},
      {15039, "Dimensione etichetta: "},
      {31001, "Stampa su : "},
      {15034, " di "},
      {15001, "Sei sicuro di voler cancellare il formato: "},
      {15029, "Il numero della prima etichetta deve essere compreso tra 1 e"},
      {11922, "Si consiglia di utilizzarla se le stampe risultano  essere spostate rispetto il modulo di supporto."},
      {31025,
       "Non sono stati trovati record, è impossibile eseguire la stampa unione.  Si consiglia di premere F6 "
       "per editare il contenuto dell'archivio."},
      {15109, "Il numero di  etichette verticalii non può essere inferiore a 1."},
      {32012, "Salva con no&me..."},
      {11904, "&Mostra messaggi di avvertimento per aiutare l'utente."},
      {15093, "Etichetta (*.lab)|*.lab|Tutti i file (*.*)|*.*"},
      {15096, "Il file selezionato non è valido, oppure è danneggiato, impossibile continuare."},
      {31004, "Verticale - 90°"},
      {15045, "Vuoi terminare il lavoro con Tavrel Lumetra ?"},
      {15038, "Il valore deve essere compreso tra -1200 e 1200."},
      {32037, "-"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(pv::HasResString(c.number)) << c.number;
    EXPECT_EQ(pv::LoadResString(c.number).toStdString(), std::string(c.text)) << c.number;
  }
}

TEST(StringTable, NumberWithoutTextReadsEmpty) {
  for (int n : {0, -1, 1, 999, 1001, 12345, 99999}) {
    EXPECT_FALSE(pv::HasResString(n)) << n;
    EXPECT_TRUE(pv::LoadResString(n).isEmpty()) << n;
  }
}

}  // namespace
