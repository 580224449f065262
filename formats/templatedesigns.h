#pragma once
// The data-merge templates delivered with the program: one table in code
// from which both the label files graphics/template/N.LAB (written at build
// time) and the rows of rst_template come, so the two never disagree. Every
// template has exactly the label size of one of the delivered print formats,
// and its field objects name columns of the sample address list
// (database/indirizzi.dbf) or the predefined fields.

#include "document/labelfile.h"

#include <QString>

#include <vector>

namespace pv {

struct DeliveredTemplate {
  int ID_TEMPLATE = 0;  // the file's name: the number and ".LAB"
  double Width = 0;     // millimetres
  double Height = 0;
  QString Description;
  QString FormatCode;  // the delivered print format of this size
};

const std::vector<DeliveredTemplate>& DeliveredTemplates();

// The label file of a template: header (size, format code), no background or
// border, its objects placed as the editor places a page of that size.
LabFileContent DeliveredTemplateContent(const DeliveredTemplate& t);

// The file name of a template in the template folder: "7.LAB".
QString TemplateFileName(int idTemplate);

// Writes every delivered template into `folder` (made when missing). False
// with the reason when a file cannot be written.
bool WriteDeliveredTemplates(const QString& folder, QString* error = nullptr);

}  // namespace pv
