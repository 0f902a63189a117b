// The message box of the headless host: prints "[message] TEXT" on an output
// stream and answers with the style's default button.
#pragma once

#include <ostream>

#include "platform/message_box.h"

namespace ixo::platform {

class HeadlessMessageBox : public MessageBox {
 public:
  explicit HeadlessMessageBox(std::ostream& out) : out_(out) {}
  int Show(std::string_view text, unsigned style) override;

 private:
  std::ostream& out_;
};

}  // namespace ixo::platform
