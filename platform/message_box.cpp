#include "platform/message_box.h"

namespace ixo::platform {

int DefaultAnswer(unsigned style) {
  switch (style & 0xF) {
    case kButtonsOkCancel: return kAnswerOk;
    case kButtonsAbortRetryIgnore: return kAnswerAbort;
    case kButtonsYesNoCancel:
    case kButtonsYesNo: return kAnswerYes;
    case kButtonsRetryCancel: return kAnswerRetry;
    default: return kAnswerOk;
  }
}

}  // namespace ixo::platform
