#pragma once
// The format windows' screenshot tests: a probe run on a virtual display
// with a program folder and an output folder of its own, the rectangle it
// prints after a tag, and the pictures it saved.

#include "tests/support/xvfb.h"

#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace formatstest {

class ShotProbe {
 public:
  // Runs the probe; `rect` is what it prints after `tag` ("x y width
  // height"). Without xvfb-run the test fails: tools/setup.sh installs it.
  void Run(const QString& probe, const QString& tag) {
    const QString xvfb = pv::test::FindXvfbRun();
    ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is not installed (tools/setup.sh installs it)";
    ASSERT_TRUE(m_home.isValid() && m_out.isValid());
    const pv::test::ProbeResult run = pv::test::RunProbeOnXvfb(xvfb, probe, m_home.path(), m_out.path(), 60000);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList f = run.out.section(tag, 1).split(QLatin1Char(' '));
    ASSERT_GE(f.size(), 4) << run.out.toStdString();
    rect = QRect(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].trimmed().toInt());
  }
  // A picture the probe saved, as RGB32.
  QImage Image(const QString& name) const { return QImage(m_out.filePath(name)).convertToFormat(QImage::Format_RGB32); }

  QRect rect;

 private:
  QTemporaryDir m_home;
  QTemporaryDir m_out;
};

}  // namespace formatstest
