#include "platform/headless/headless_message_box.h"

namespace ixo::platform {

int HeadlessMessageBox::Show(std::string_view text, unsigned style) {
  out_ << "[message] " << text << '\n';
  out_.flush();
  return DefaultAnswer(style);
}

}  // namespace ixo::platform
