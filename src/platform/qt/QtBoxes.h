// The two modal boxes of the program as Qt widgets: a message box with the classic button
// sets and results, and an input box. Both are what a screen reader meets most, so they
// carry their texts in the accessibility tree (the message box as an alert).
#pragma once

#include <QInputDialog>
#include <QMessageBox>
#include <optional>
#include <string>

#include "seams/WindowServices.h"

namespace kadeno {

// Box texts are lines joined by CR LF; Qt wants LF alone.
QString BoxText(const std::string& text);

class QtMessageBox : public QMessageBox {
  Q_OBJECT

 public:
  // style: a button set plus an icon, as Box:: has them. No title shows "Kadeno".
  QtMessageBox(const std::string& prompt, int style, const std::optional<std::string>& title,
               QWidget* parent = nullptr);
  // The answer after exec(): the button chosen, or what a close of the box means.
  Answer AnswerGiven() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Escape and the close box answer Cancel where there is one, and OK on a box that
  // has nothing else; a Yes/No question waits for one of its two answers.
  bool MayBeDismissed() const;
  int buttons_;
};

class QtInputBox : public QInputDialog {
  Q_OBJECT

 public:
  QtInputBox(const std::string& prompt, const std::optional<std::string>& title,
             const std::string& defaultText, QWidget* parent = nullptr);
};

}  // namespace kadeno
