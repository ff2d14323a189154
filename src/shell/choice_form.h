#pragma once

#include "shell/form_window.h"

namespace marvane {

// The model menu: one button per kind of model; below them, the work kept in
// files: open a session, the recent sessions and the last work left on a
// form (shell/sessions.h).
class ChoiceForm : public FormWindow {
 public:
  ChoiceForm();

  // Lists the recent sessions and names the last work; each is hidden while
  // there is none.
  void Form_Load() override;

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Inomplete_Click();
  void openSession_Click();
  void reopenLast_Click();
  void recentSessions_Activated(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Says what went wrong with a file in the strip above the model buttons.
  void Tell(const QString& problem);
};

}  // namespace marvane
