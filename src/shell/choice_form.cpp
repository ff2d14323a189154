#include "shell/choice_form.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "shell/accessibility.h"
#include "shell/navigation.h"
#include "shell/sessions.h"

namespace marvane {

ChoiceForm::ChoiceForm() : FormWindow(forms::ChoiceDesign()) {
  connect(Button("Command1"), &QPushButton::clicked, this, &ChoiceForm::Command1_Click);
  connect(Button("Command2"), &QPushButton::clicked, this, &ChoiceForm::Command2_Click);
  connect(Button("Command3"), &QPushButton::clicked, this, &ChoiceForm::Command3_Click);
  connect(Button("Command4"), &QPushButton::clicked, this, &ChoiceForm::Command4_Click);
  connect(Button("Command5"), &QPushButton::clicked, this, &ChoiceForm::Command5_Click);
  connect(Button("Inomplete"), &QPushButton::clicked, this, &ChoiceForm::Inomplete_Click);
  connect(Button("openSession"), &QPushButton::clicked, this, &ChoiceForm::openSession_Click);
  connect(Button("reopenLast"), &QPushButton::clicked, this, &ChoiceForm::reopenLast_Click);
  auto* recent = qobject_cast<QComboBox*>(Control("recentSessions"));
  connect(recent, &QComboBox::activated, this, &ChoiceForm::recentSessions_Activated);
  // Arrow keys and the wheel would open the session they pass; the list
  // opens a session only once chosen in its drop-down.
  recent->installEventFilter(this);
  StyleAsMessage(Label("sessionMessage"));
  sessions::AddOpenShortcut(*this);
}

void ChoiceForm::Form_Load() {
  Label("sessionMessage")->setVisible(false);
  auto* recent = qobject_cast<QComboBox*>(Control("recentSessions"));
  recent->clear();
  recent->setPlaceholderText(QStringLiteral("Recent sessions"));
  for (const QString& path : sessions::RecentSessions()) {
    recent->addItem(QFileInfo(path).fileName(), path);
    recent->setItemData(recent->count() - 1, path, Qt::ToolTipRole);
  }
  recent->setCurrentIndex(-1);
  recent->setVisible(recent->count() > 0);
  QPushButton* reopen = Button("reopenLast");
  const std::optional<sessions::LastWork> last = sessions::FindLastWork();
  if (last) {
    reopen->setText(QStringLiteral("Reopen last work: %1, %2")
                        .arg(last->caption, last->when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
  }
  reopen->setVisible(last.has_value());
}

void ChoiceForm::Command1_Click() { SwitchForm("Quant", this); }
void ChoiceForm::Command2_Click() { SwitchForm("QuantZ", this); }
void ChoiceForm::Command3_Click() { SwitchForm("Mixed2", this); }
void ChoiceForm::Command4_Click() { SwitchForm("Mixed3", this); }
void ChoiceForm::Command5_Click() { SwitchForm("Quant3", this); }
void ChoiceForm::Inomplete_Click() { SwitchForm("Incomplete", this); }

void ChoiceForm::openSession_Click() {
  Tell({});
  sessions::OpenChosenFile(this);
}

void ChoiceForm::reopenLast_Click() {
  Tell({});
  Tell(sessions::OpenLastWork(this));
}

void ChoiceForm::recentSessions_Activated(int index) {
  auto* recent = qobject_cast<QComboBox*>(Control("recentSessions"));
  const QString path = recent->itemData(index).toString();
  recent->setCurrentIndex(-1);
  Tell({});
  if (!path.isEmpty()) Tell(sessions::Open(path, this));
}

bool ChoiceForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) return true;
  if (event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Home:
      case Qt::Key_End:
        // Alt+Down still opens the drop-down.
        return !(static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier);
      default:
        break;
    }
  }
  return FormWindow::eventFilter(watched, event);
}

void ChoiceForm::Tell(const QString& problem) {
  QLabel* message = Label("sessionMessage");
  message->setText(problem);
  message->setVisible(!problem.isEmpty());
  if (!problem.isEmpty()) AnnounceAlert(message);
}

}  // namespace marvane
