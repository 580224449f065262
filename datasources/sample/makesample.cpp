// Writes the program's sample address list, database/indirizzi.dbf: 200
// invented people, the same every time it is made. dBASE III, text in
// Windows-1252.
//
//   makesample OUTPUT.dbf

#include <QDate>
#include <QString>

#include <shapefil.h>

#include <cstdint>
#include <cstdio>

namespace {

// A small fixed generator, so that every build writes the same file.
class Sequence {
 public:
  int Next(int bound) {
    m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((m_state >> 33) % static_cast<uint64_t>(bound));
  }

 private:
  uint64_t m_state = 20011231;
};

const char* const kNames[] = {
    "Marco",   "Giulia", "Luca",    "Francesca", "Andrea",   "Chiara",  "Matteo",  "Sara",   "Alessandro", "Martina",
    "Davide",  "Elena",  "Simone",  "Valentina", "Federico", "Alessia", "Lorenzo", "Silvia", "Niccolò",    "Beatrice",
    "Stefano", "Ilaria", "Giorgio", "Paola",     "Riccardo", "Anna",    "Tommaso", "Laura",  "Emanuele",   "Noemi"};
const char* const kSurnames[] = {"Rossi",   "Russo",    "Ferrari",  "Esposito",   "Bianchi",    "Romano",  "Colombo",
                                 "Ricci",   "Marino",   "Greco",    "Bruno",      "Gallo",      "Conti",   "De Luca",
                                 "Mancini", "Costa",    "Giordano", "Rizzo",      "Lombardi",   "Moretti", "Barbieri",
                                 "Fontana", "Santoro",  "Mariani",  "Rinaldi",    "Caruso",     "Ferrara", "Galli",
                                 "Martini", "Leone",    "Longo",    "Gentile",    "Martinelli", "Vitale",  "Serra",
                                 "Coppola", "D'Angelo", "Fabbri",   "Pellegrini", "Sanna"};
const char* const kStreets[] = {
    "Via Roma",      "Via Garibaldi",       "Corso Italia",   "Via Mazzini",      "Piazza Dante",
    "Via Cavour",    "Viale della Libertà", "Via Verdi",      "Via Marconi",      "Corso Vittorio Emanuele",
    "Via dei Mille", "Via San Francesco",   "Via Manzoni",    "Via XX Settembre", "Largo Augusto",
    "Via Leopardi",  "Via delle Rose",      "Vicolo Stretto", "Via Puccini",      "Viale Europa"};
struct City {
  const char* name;
  const char* cap;
  const char* prov;
};
const City kCities[] = {{"Roma", "00184", "RM"},
                        {"Milano", "20121", "MI"},
                        {"Napoli", "80133", "NA"},
                        {"Torino", "10121", "TO"},
                        {"Bologna", "40121", "BO"},
                        {"Firenze", "50122", "FI"},
                        {"Genova", "16121", "GE"},
                        {"Venezia", "30121", "VE"},
                        {"Bari", "70121", "BA"},
                        {"Palermo", "90133", "PA"},
                        {"Forlì", "47121", "FC"},
                        {"Cantù", "22063", "CO"},
                        {"Perugia", "06121", "PG"},
                        {"Trento", "38122", "TN"},
                        {"Cagliari", "09124", "CA"},
                        {"Verona", "37121", "VR"},
                        {"Ancona", "60121", "AN"},
                        {"Sassari", "07100", "SS"},
                        {"Città di Castello", "06012", "PG"},
                        {"Lecce", "73100", "LE"}};

template <typename T, size_t N>
const T& Pick(Sequence& seq, const T (&items)[N]) {
  return items[seq.Next(static_cast<int>(N))];
}

QByteArray Ansi(const char* utf8) { return QString::fromUtf8(utf8).toLatin1(); }

// Twelve digits and the EAN-13 check digit.
QByteArray Code(Sequence& seq) {
  QByteArray digits = "80";
  for (int i = 0; i < 10; ++i) digits += static_cast<char>('0' + seq.Next(10));
  int sum = 0;
  for (int i = 0; i < 12; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
  digits += static_cast<char>('0' + (10 - sum % 10) % 10);
  return digits;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: makesample FILE.dbf\n");
    return 2;
  }
  DBFHandle dbf = DBFCreateEx(argv[1], "LDID/87");
  if (dbf == nullptr) {
    std::fprintf(stderr, "makesample: impossibile creare %s\n", argv[1]);
    return 1;
  }
  const int nome = DBFAddField(dbf, "NOME", FTString, 20, 0);
  const int cognome = DBFAddField(dbf, "COGNOME", FTString, 25, 0);
  const int indirizzo = DBFAddField(dbf, "INDIRIZZO", FTString, 40, 0);
  const int cap = DBFAddField(dbf, "CAP", FTString, 5, 0);
  const int citta = DBFAddField(dbf, "CITTA", FTString, 30, 0);
  const int prov = DBFAddField(dbf, "PROV", FTString, 2, 0);
  const int nascita = DBFAddNativeFieldType(dbf, "NASCITA", 'D', 8, 0);
  const int codice = DBFAddField(dbf, "CODICE", FTString, 13, 0);
  const int attivo = DBFAddNativeFieldType(dbf, "ATTIVO", 'L', 1, 0);
  const int saldo = DBFAddNativeFieldType(dbf, "SALDO", 'N', 10, 2);
  bool ok = nome >= 0 && cognome >= 0 && indirizzo >= 0 && cap >= 0 && citta >= 0 && prov >= 0 && nascita >= 0 &&
            codice >= 0 && attivo >= 0 && saldo >= 0;

  Sequence seq;
  for (int row = 0; ok && row < 200; ++row) {
    const City& city = Pick(seq, kCities);
    const QByteArray street = Ansi(Pick(seq, kStreets)) + ' ' + QByteArray::number(1 + seq.Next(180));
    const QDate born = QDate(1940, 1, 1).addDays(seq.Next(365 * 65));
    const double balance = (seq.Next(2000001) - 500000) / 100.0;
    QByteArray date = born.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    ok = DBFWriteStringAttribute(dbf, row, nome, Ansi(Pick(seq, kNames)).constData()) &&
         DBFWriteStringAttribute(dbf, row, cognome, Ansi(Pick(seq, kSurnames)).constData()) &&
         DBFWriteStringAttribute(dbf, row, indirizzo, street.constData()) &&
         DBFWriteStringAttribute(dbf, row, cap, city.cap) &&
         DBFWriteStringAttribute(dbf, row, citta, Ansi(city.name).constData()) &&
         DBFWriteStringAttribute(dbf, row, prov, city.prov) &&
         DBFWriteAttributeDirectly(dbf, row, nascita, date.data()) &&
         DBFWriteStringAttribute(dbf, row, codice, Code(seq).constData()) &&
         DBFWriteLogicalAttribute(dbf, row, attivo, seq.Next(5) == 0 ? 'F' : 'T') &&
         DBFWriteDoubleAttribute(dbf, row, saldo, balance);
  }
  DBFClose(dbf);
  if (!ok) {
    std::fprintf(stderr, "makesample: scrittura di %s non riuscita\n", argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
