#include "tests/support/hook_recorder.h"

MessageBoxRecorder::MessageBoxRecorder(int fallback) : fallback_(fallback) {
  SetMessageBoxHook(&MessageBoxRecorder::Hook, this);
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHook(nullptr, nullptr); }

std::vector<std::string> MessageBoxRecorder::texts() const {
  std::vector<std::string> out;
  for (const MessageBoxCall& call : calls_) out.push_back(call.text);
  return out;
}

int MessageBoxRecorder::Hook(const MessageBoxCall& call, void* self) {
  auto* recorder = static_cast<MessageBoxRecorder*>(self);
  recorder->calls_.push_back(call);
  const HWND focused = GetFocus();
  if (recorder->takeFocus_ && focused) {
    SetFocus(nullptr);
    SetFocus(GetAncestor(focused, GA_ROOT));
  }
  if (recorder->answers_.empty()) return recorder->fallback_;
  const int answer = recorder->answers_.front();
  recorder->answers_.pop_front();
  return answer;
}

ProgramStartRecorder::ProgramStartRecorder(UINT result) : result_(result) {
  SetProgramStartHook(&ProgramStartRecorder::Hook, this);
}

ProgramStartRecorder::~ProgramStartRecorder() { SetProgramStartHook(nullptr, nullptr); }

UINT ProgramStartRecorder::Hook(const ProgramStartCall& call, void* self) {
  auto* recorder = static_cast<ProgramStartRecorder*>(self);
  recorder->calls_.push_back(call);
  return recorder->result_;
}

ModalDialogRecorder::ModalDialogRecorder(Answer answer) : answer_(std::move(answer)) {
  SetModalDialogHook(&ModalDialogRecorder::Hook, this);
}

ModalDialogRecorder::~ModalDialogRecorder() { SetModalDialogHook(nullptr, nullptr); }

INT_PTR ModalDialogRecorder::Hook(const ModalDialogCall& call, void* self) {
  auto* recorder = static_cast<ModalDialogRecorder*>(self);
  recorder->kinds_.push_back(call.kind);
  return recorder->answer_ ? recorder->answer_(call) : 0;
}
