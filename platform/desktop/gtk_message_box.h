// The engine's message box on the desktop: a modal dialog above every window,
// titled with the application's title.
#pragma once

#include "platform/message_box.h"

namespace ixo::platform {

class GtkMessageBox : public MessageBox {
 public:
  int Show(std::string_view text, unsigned style) override;
};

}  // namespace ixo::platform
