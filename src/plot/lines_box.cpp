#include "plot/lines_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "plot/panel_parts.h"
#include "shell/qt_text.h"

namespace marvane {

LinesBox::LinesBox(QWidget* parent) : QGroupBox(QStringLiteral("Lines"), parent) {
  setObjectName(QStringLiteral("linesBox"));
  moderators_ = new QComboBox(this);
  moderators_->setObjectName(QStringLiteral("moderators"));
  moderators_->addItems({QStringLiteral("as on the form"), QStringLiteral("mean ± k SD"), QStringLiteral("typed values")});
  moderators_->setAccessibleName(QStringLiteral("moderator values of the lines"));
  auto line = [this](const char* name, const char* accessible, const QString& placeholder, const QString& text = {}) {
    QLineEdit* e = MakeLineEdit(name, accessible, this, text);
    e->setPlaceholderText(placeholder);
    connect(e, &QLineEdit::textChanged, this, [this] {
      if (onChanged) onChanged();
    });
    return e;
  };
  sdMultiple_ = line("sdMultiple", "multiple k of the SD", {}, QStringLiteral("1"));
  values_ = line("moderatorValues", "typed values of Z", QStringLiteral("-1, 0, 1"));
  valuesV_ = line("moderatorValuesV", "typed values of V", QStringLiteral("-1, 1"));
  meanX_ = line("meanX", "mean of X", QStringLiteral("0"));
  meanZ_ = line("meanZ", "mean of Z", QStringLiteral("0"));
  meanV_ = line("meanV", "mean of V", QStringLiteral("0"));
  for (QLineEdit* e : {meanX_, meanZ_, meanV_}) {
    e->setToolTip(QStringLiteral("Empty for a centred predictor. With means, the weights must be those of the fit "
                                 "of the predictors as measured."));
  }

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("&Moderators"), moderators_);
  form->addRow(QStringLiteral("k (SDs)"), sdMultiple_);
  form->addRow(QStringLiteral("Values of Z"), values_);
  form->addRow(QStringLiteral("Values of V"), valuesV_);
  auto* means = new QHBoxLayout;
  for (const auto& [text, box] : {std::pair{"X", meanX_}, std::pair{"Z", meanZ_}, std::pair{"V", meanV_}}) {
    means->addWidget(new QLabel(QLatin1String(text), this));
    means->addWidget(box);
  }
  form->addRow(QStringLiteral("Means"), means);
  connect(moderators_, &QComboBox::currentIndexChanged, this, [this] {
    Enable();
    if (onChanged) onChanged();
  });
  Enable();
}

void LinesBox::SetProbe(const Probe& probe) {
  groups_ = probe.family.moderators.empty();
  twoModerators_ = probe.family.moderators.size() > 1;
  Enable();
}

void LinesBox::Enable() {
  const auto choice = static_cast<ModeratorChoice>(moderators_->currentIndex());
  moderators_->setEnabled(!groups_);
  sdMultiple_->setEnabled(!groups_ && choice == ModeratorChoice::MeanSd);
  values_->setEnabled(!groups_ && choice == ModeratorChoice::Typed);
  valuesV_->setEnabled(twoModerators_ && choice == ModeratorChoice::Typed);
  meanZ_->setEnabled(!groups_);
  meanV_->setEnabled(twoModerators_);
}

void LinesBox::FillInput(LineChoices& c) const {
  c.moderators = static_cast<ModeratorChoice>(moderators_->currentIndex());
  c.sdMultiple = Std(sdMultiple_->text());
  c.values = Std(values_->text());
  c.valuesV = Std(valuesV_->text());
  c.meanX = Std(meanX_->text());
  c.meanZ = Std(meanZ_->text());
  c.meanV = Std(meanV_->text());
}

}  // namespace marvane
