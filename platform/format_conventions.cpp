#include "platform/format_conventions.h"

namespace pv {

namespace {

FormatConventions MakeItalian() {
  FormatConventions c;
  c.decimalSeparator = QStringLiteral(",");
  c.thousandsSeparator = QStringLiteral(".");
  c.dateSeparator = QStringLiteral("/");
  c.timeSeparator = QStringLiteral(":");
  c.currency = QString::fromUtf8("#,##0.00 \"\xE2\x82\xAC\";-#,##0.00 \"\xE2\x82\xAC\"");
  c.shortDate = QStringLiteral("dd/mm/yyyy");
  c.mediumDate = QStringLiteral("dd-mmm-yy");
  c.longDate = QStringLiteral("dddd d mmmm yyyy");
  c.shortTime = QStringLiteral("hh:nn");
  c.mediumTime = QStringLiteral("hh:nn AM/PM");
  c.longTime = QStringLiteral("hh:nn:ss");
  c.monthNames = {QStringLiteral("gennaio"), QStringLiteral("febbraio"), QStringLiteral("marzo"),
                  QStringLiteral("aprile"),  QStringLiteral("maggio"),   QStringLiteral("giugno"),
                  QStringLiteral("luglio"),  QStringLiteral("agosto"),   QStringLiteral("settembre"),
                  QStringLiteral("ottobre"), QStringLiteral("novembre"), QStringLiteral("dicembre")};
  c.monthAbbreviations = {QStringLiteral("gen"), QStringLiteral("feb"), QStringLiteral("mar"), QStringLiteral("apr"),
                          QStringLiteral("mag"), QStringLiteral("giu"), QStringLiteral("lug"), QStringLiteral("ago"),
                          QStringLiteral("set"), QStringLiteral("ott"), QStringLiteral("nov"), QStringLiteral("dic")};
  c.dayNames = {QStringLiteral("domenica"),
                QString::fromUtf8("luned\xC3\xAC"),
                QString::fromUtf8("marted\xC3\xAC"),
                QString::fromUtf8("mercoled\xC3\xAC"),
                QString::fromUtf8("gioved\xC3\xAC"),
                QString::fromUtf8("venerd\xC3\xAC"),
                QStringLiteral("sabato")};
  c.dayAbbreviations = {QStringLiteral("dom"), QStringLiteral("lun"), QStringLiteral("mar"), QStringLiteral("mer"),
                        QStringLiteral("gio"), QStringLiteral("ven"), QStringLiteral("sab")};
  c.yes = QString::fromUtf8("S\xC3\xAC");
  c.no = QStringLiteral("No");
  c.trueText = QStringLiteral("Vero");
  c.falseText = QStringLiteral("Falso");
  c.on = QStringLiteral("Attivo");
  c.off = QStringLiteral("Disattivo");
  return c;
}

}  // namespace

const FormatConventions& FormatConventions::Italian() {
  static const FormatConventions conventions = MakeItalian();
  return conventions;
}

}  // namespace pv
