#include "qt/QtBoxes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "seams/Translate.h"

namespace kadeno {

QString BoxText(const std::string& text) {
  QString q = QString::fromStdString(text);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return q;
}

namespace {

QString TitleOf(const std::optional<std::string>& title) {
  return QString::fromStdString(title.value_or(kProgramName));
}

// Qt names its standard buttons in English; a catalog that translates a name renames the
// button, and English keeps Qt's own names untouched.
void Rename(QAbstractButton* button, const char* english, const std::string& translated) {
  if (translated != english) button->setText(QString::fromStdString(translated));
}

QPushButton* AddButton(QMessageBox& box, QMessageBox::StandardButton which) {
  QPushButton* button = box.addButton(which);
  switch (which) {
    case QMessageBox::Ok:
      // TRANSLATORS: A box's button.
      Rename(button, "OK", Tr("OK"));
      break;
    case QMessageBox::Cancel:
      // TRANSLATORS: A box's button.
      Rename(button, "Cancel", Tr("Cancel"));
      break;
    case QMessageBox::Yes:
      // TRANSLATORS: A box's button; "&" marks its access key, which must differ from No's.
      Rename(button, "&Yes", Tr("&Yes"));
      break;
    case QMessageBox::No:
      // TRANSLATORS: A box's button; "&" marks its access key, which must differ from Yes's.
      Rename(button, "&No", Tr("&No"));
      break;
    default:
      break;
  }
  return button;
}

}  // namespace

QtMessageBox::QtMessageBox(const std::string& prompt, int style,
                           const std::optional<std::string>& title, QWidget* parent)
    : QMessageBox(parent), buttons_(Box::ButtonsOf(style)) {
  setWindowTitle(TitleOf(title));
  // Help pages and scores are plain text; a "<" in them must not turn into markup.
  setTextFormat(Qt::PlainText);
  setText(BoxText(prompt));
  switch (Box::IconOf(style)) {
    case Box::IconQuestion:
      setIcon(QMessageBox::Question);
      break;
    case Box::IconExclamation:
      setIcon(QMessageBox::Warning);
      break;
    case Box::IconInformation:
      setIcon(QMessageBox::Information);
      break;
    default:
      setIcon(QMessageBox::NoIcon);
      break;
  }
  QPushButton* first = nullptr;
  QPushButton* cancel = nullptr;
  switch (buttons_) {
    case Box::OkCancel:
      first = AddButton(*this, QMessageBox::Ok);
      cancel = AddButton(*this, QMessageBox::Cancel);
      break;
    case Box::YesNoCancel:
      first = AddButton(*this, QMessageBox::Yes);
      AddButton(*this, QMessageBox::No);
      cancel = AddButton(*this, QMessageBox::Cancel);
      break;
    case Box::YesNo:
      first = AddButton(*this, QMessageBox::Yes);
      AddButton(*this, QMessageBox::No);
      break;
    default:
      buttons_ = Box::Ok;
      first = AddButton(*this, QMessageBox::Ok);
      break;
  }
  // The first button is the default, as the classic boxes have it: Enter pages the help
  // forward with Yes.
  setDefaultButton(first);
  setEscapeButton(cancel ? cancel
                         : (buttons_ == Box::Ok ? first : static_cast<QPushButton*>(nullptr)));
}

bool QtMessageBox::MayBeDismissed() const { return buttons_ != Box::YesNo; }

Answer QtMessageBox::AnswerGiven() const {
  switch (standardButton(clickedButton())) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      break;
  }
  // Closed some other way (the window system, the end of the program).
  if (buttons_ == Box::Ok) return Answer::Ok;
  return buttons_ == Box::YesNo ? Answer::No : Answer::Cancel;
}

void QtMessageBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !MayBeDismissed()) {
    // Qt would take No for the escape button; the question wants a real answer.
    event->accept();
    return;
  }
  QMessageBox::keyPressEvent(event);
}

void QtMessageBox::closeEvent(QCloseEvent* event) {
  if (!MayBeDismissed()) {
    event->ignore();
    return;
  }
  QMessageBox::closeEvent(event);
}

QtInputBox::QtInputBox(const std::string& prompt, const std::optional<std::string>& title,
                       const std::string& defaultText, QWidget* parent)
    : QInputDialog(parent) {
  setWindowTitle(TitleOf(title));
  setInputMode(QInputDialog::TextInput);
  setLabelText(BoxText(prompt));
  setTextValue(QString::fromStdString(defaultText));
  if (const std::string ok = Tr("OK"); ok != "OK") setOkButtonText(QString::fromStdString(ok));
  if (const std::string cancel = Tr("Cancel"); cancel != "Cancel") {
    setCancelButtonText(QString::fromStdString(cancel));
  }
  // A screen reader lands in the field first; named by the prompt, it reads the question
  // there, once. The label is the field's own (its buddy), so it is not read again as a
  // loose text of the box, and the box has no description that would repeat it. The value
  // offered is all selected when the box shows, and read out as it is selected.
  auto* field = findChild<QLineEdit*>();
  if (field) field->setAccessibleName(BoxText(prompt));
  if (auto* label = findChild<QLabel*>()) {
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);  // the prompts are long sentences
    label->setBuddy(field);
  }
}

}  // namespace kadeno
