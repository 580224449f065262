#pragma once
// The start of the format windows' screenshot probes.

#include "platform/msgbox.h"
#include "tests/support/answer_boxes.h"

#include <QString>

#include <cstdio>

namespace formatstest {

// In a probe: the output folder (the first argument; empty when missing),
// and every message box written to standard error and answered Ok.
inline QString ProbeStart(int argc, char** argv) {
  pv::test::AnswerMessageBoxesWith([](const pv::MsgBoxRequest& r) {
    std::fprintf(stderr, "message: %s\n", r.text.toUtf8().constData());
    return pv::MsgAnswer::Ok;
  });
  return argc < 2 ? QString() : QString::fromLocal8Bit(argv[1]);
}

}  // namespace formatstest
