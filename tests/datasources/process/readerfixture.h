#pragma once
// What the tests of the reader program share: the reader settings of a
// test, the test build of the reader making a fault, and a folder with a
// dBASE table of 300 records.
#include "datasources/process/readerprocess.h"
#include "datasources/readers/sourcereader.h"
#include "tests/support/faultyreader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pv {

using ::testing::ReaderSettingsScope;

// No reader program left running or unreaped.
void ExpectNoChildren();

// m_dir holds clienti.dbf, 300 records of five fields.
class ReaderProcessTest : public ::testing::Test {
 protected:
  void SetUp() override;

  SourceLocation Folder() const { return {SourceKind::DBase, m_dir.path(), {}, {}}; }

  // The program reads the dBASE table through the reader program.
  void ExpectTheTableReads();

  QTemporaryDir m_dir;
};

}  // namespace pv
