#include "platform/desktop/gtk_message_box.h"

#include <gtk/gtk.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/script_charset.h"

namespace ixo::platform {

namespace {

// The buttons of each button style, as label and answer.
std::vector<std::pair<const char*, int>> ButtonsOf(unsigned style) {
  switch (style & 0xF) {
    case kButtonsOkCancel: return {{"_OK", kAnswerOk}, {"_Cancel", kAnswerCancel}};
    case kButtonsAbortRetryIgnore: return {{"_Abort", kAnswerAbort}, {"_Retry", kAnswerRetry}, {"_Ignore", kAnswerIgnore}};
    case kButtonsYesNoCancel: return {{"_Yes", kAnswerYes}, {"_No", kAnswerNo}, {"_Cancel", kAnswerCancel}};
    case kButtonsYesNo: return {{"_Yes", kAnswerYes}, {"_No", kAnswerNo}};
    case kButtonsRetryCancel: return {{"_Retry", kAnswerRetry}, {"_Cancel", kAnswerCancel}};
    default: return {{"_OK", kAnswerOk}};
  }
}

GtkMessageType TypeOf(unsigned style) {
  switch (style & 0xF0) {
    case kIconError: return GTK_MESSAGE_ERROR;
    case kIconQuestion: return GTK_MESSAGE_QUESTION;
    case kIconWarning: return GTK_MESSAGE_WARNING;
    case kIconInformation: return GTK_MESSAGE_INFO;
    default: return GTK_MESSAGE_OTHER;
  }
}

}  // namespace


int GtkMessageBox::Show(std::string_view text, unsigned style) {
  const std::string message = source::WindowsTextToUtf8(text);
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, TypeOf(style), GTK_BUTTONS_NONE, "%s",
                                             message.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), "ixo");
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  const auto buttons = ButtonsOf(style);
  for (const auto& [label, answer] : buttons) gtk_dialog_add_button(GTK_DIALOG(dialog), label, answer);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), DefaultAnswer(style));
  int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  // Closing the box without a button: cancel when it has one, else its default.
  if (response < 0) {
    for (const auto& [label, answer] : buttons)
      if (answer == kAnswerCancel) return kAnswerCancel;
    return DefaultAnswer(style);
  }
  return response;
}

}  // namespace ixo::platform
