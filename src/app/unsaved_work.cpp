#include "app/unsaved_work.h"

#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "app/message_box.h"

namespace decor {

CloseAnswer askToSaveBeforeClosing() {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kMessageCaption), QStringLiteral("报价还没有保存，是否保存？"),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  box.setWindowModality(Qt::ApplicationModal);
  box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
  box.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return CloseAnswer::Save;
    case QMessageBox::Discard:
      return CloseAnswer::DontSave;
    default:
      return CloseAnswer::Cancel;
  }
}

UnsavedWork::UnsavedWork(QObject& owner, std::function<bool()> unsaved, std::function<void()> saveAs)
    : QObject(&owner), unsaved_(std::move(unsaved)), saveAs_(std::move(saveAs)) {}

bool UnsavedWork::mayLose(std::function<void()> afterSaving) {
  if (!unsaved_()) return true;
  switch (askToSaveBeforeClosing()) {
    case CloseAnswer::DontSave:
      return true;
    case CloseAnswer::Save:
      afterSaving_ = std::move(afterSaving);
      saveAs_();
      return false;
    case CloseAnswer::Cancel:
      return false;
  }
  return false;
}

void UnsavedWork::saveEnded(bool written) {
  // Taken out first: what follows may close the window, and with it this object.
  std::function<void()> next = std::exchange(afterSaving_, nullptr);
  if (written && next) next();
}

}  // namespace decor
