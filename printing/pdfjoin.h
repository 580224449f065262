#pragma once
// One PDF out of the PDF files that several page workers wrote for one print
// job, each with its own range of pages.

#include <QString>
#include <QStringList>

namespace pv {

// Joins `parts` (PDF files this program's PDF writer made, in page order) into `target`: the first part's document
// (its catalog, document information and metadata) with every page of the following parts appended in order. The
// pages' contents, pictures and fonts are copied as they are, never decoded and compressed again.
// Parts as Qt's PDF writer lays them out are joined by copying their objects (pdfsplice.h); any other part with
// qpdf, which reads every PDF.
// Every part is read whole into memory and checked (its cross-reference table whole, every object readable) before
// anything is written; a part qpdf only warns of is joined. One part is checked and moved (or copied, across file
// systems) to the target as it is; several parts are left in place for the caller to remove.
// False with `reason` (Italian, for the user) when it cannot: a part missing or damaged, the target unwritable. It
// never throws, and the target is written beside itself and renamed, so a failure leaves no half-written target
// and an existing target as it was.
bool JoinPdfFiles(const QStringList& parts, const QString& target, QString* reason);

}  // namespace pv
