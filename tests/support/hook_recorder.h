// Test side of the seams in foundation/test_hooks.h: scope objects that
// record every message box, program start or modal dialog and answer it as
// the test says. The previous hook (normally none) comes back at scope end.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "foundation/test_hooks.h"

class MessageBoxRecorder {
 public:
  // Boxes are answered from `answers` in order, then with `fallback`.
  explicit MessageBoxRecorder(int fallback = IDOK);
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  void Answer(int button) { answers_.push_back(button); }
  // Each box takes the focus as a real one does, and gives it back to the
  // window it came from (not its control) when answered.
  void TakeFocus(bool take) { takeFocus_ = take; }
  const std::vector<MessageBoxCall>& calls() const { return calls_; }
  // Texts of all boxes, for compact expectations.
  std::vector<std::string> texts() const;

 private:
  static int Hook(const MessageBoxCall& call, void* self);
  std::vector<MessageBoxCall> calls_;
  std::deque<int> answers_;
  int fallback_;
  bool takeFocus_ = false;
};

class ProgramStartRecorder {
 public:
  explicit ProgramStartRecorder(UINT result = 33);
  ~ProgramStartRecorder();
  ProgramStartRecorder(const ProgramStartRecorder&) = delete;
  ProgramStartRecorder& operator=(const ProgramStartRecorder&) = delete;

  const std::vector<ProgramStartCall>& calls() const { return calls_; }

 private:
  static UINT Hook(const ProgramStartCall& call, void* self);
  std::vector<ProgramStartCall> calls_;
  UINT result_;
};

class ModalDialogRecorder {
 public:
  // `answer` fills the dialog's data and returns its result; by default a
  // dialog is cancelled (returns 0).
  using Answer = std::function<INT_PTR(const ModalDialogCall&)>;
  explicit ModalDialogRecorder(Answer answer = nullptr);
  ~ModalDialogRecorder();
  ModalDialogRecorder(const ModalDialogRecorder&) = delete;
  ModalDialogRecorder& operator=(const ModalDialogRecorder&) = delete;

  std::vector<std::string> kinds() const { return kinds_; }

 private:
  static INT_PTR Hook(const ModalDialogCall& call, void* self);
  std::vector<std::string> kinds_;
  Answer answer_;
};
