#pragma once
// Message boxes answered by a function, for tests and test tools that decide
// each answer from the box shown. An empty function puts the default back.
#include "platform/msgbox.h"

#include <functional>

namespace pv::test {

class FunctionMessageBoxes : public MessageBoxHost {
 public:
  MsgAnswer Show(const MsgBoxRequest& request) override { return answer ? answer(request) : MsgAnswer::Ok; }
  std::function<MsgAnswer(const MsgBoxRequest&)> answer;
};

inline void AnswerMessageBoxesWith(std::function<MsgAnswer(const MsgBoxRequest&)> answer) {
  static FunctionMessageBoxes boxes;
  boxes.answer = std::move(answer);
  SetMessageBoxHost(boxes.answer ? &boxes : nullptr);
}

}  // namespace pv::test
