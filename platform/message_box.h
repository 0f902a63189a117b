// The modal message box. Styles and answers use the numbering that scripts see:
// low bits choose the buttons, the next bits the icon; answers are button ids.
#pragma once

#include <string_view>

namespace ixo::platform {

enum MessageBoxStyle : unsigned {
  kButtonsOk = 0x0,
  kButtonsOkCancel = 0x1,
  kButtonsAbortRetryIgnore = 0x2,
  kButtonsYesNoCancel = 0x3,
  kButtonsYesNo = 0x4,
  kButtonsRetryCancel = 0x5,
  kIconError = 0x10,
  kIconQuestion = 0x20,
  kIconWarning = 0x30,
  kIconInformation = 0x40,
  kSystemModal = 0x1000,
  kForeground = 0x10000,
  kTopmost = 0x40000,
  // What start-up, the loader and the build report use.
  kEngineMessageStyle = kButtonsOk | kIconInformation | kSystemModal | kForeground | kTopmost,
};

enum MessageBoxAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerAbort = 3, kAnswerRetry = 4,
                              kAnswerIgnore = 5, kAnswerYes = 6, kAnswerNo = 7 };

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // Shows text (line breaks already in place) with the application title as caption,
  // waits for an answer and returns the button pressed.
  virtual int Show(std::string_view text, unsigned style) = 0;
};

// The button a box of that style answers with when nobody is there to press one.
int DefaultAnswer(unsigned style);

}  // namespace ixo::platform
